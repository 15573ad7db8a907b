// Holds one COM interface pointer and releases it when the holder goes, so
// that every early return of a sequence of COM calls releases what it got.
#pragma once

template <typename T> class ComHolder {
public:
    ComHolder() : pointer(nullptr) {}
    ~ComHolder()
    {
        if (pointer)
            pointer->Release();
    }
    ComHolder(const ComHolder&) = delete;
    ComHolder& operator=(const ComHolder&) = delete;

    // Where a creating call stores the new interface.
    void** Out() { return reinterpret_cast<void**>(&pointer); }
    T* operator->() const { return pointer; }

private:
    T* pointer;
};
