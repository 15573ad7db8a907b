// WideString: the program's one text type. Owns a NUL-terminated UTF-16
// buffer with a 32-bit capacity and length, and hands that buffer straight to
// the wide-character Win32 functions. No sharing, no small-string buffer:
// every operation that yields another text builds a new string, and only
// Assign, Append and SetAt change a string in place.
#pragma once

#include <windows.h>

class WideString {
public:
    WideString();
    WideString(const wchar_t* text);
    WideString(const WideString& other);
    WideString& operator=(const WideString& other);
    ~WideString();

    static WideString FromAnsi(const char* text);
    static WideString FromInt(int value);

    // In-place changes. Assign and Append grow to exactly the new length + 30.
    void Assign(const wchar_t* text);
    void Append(const wchar_t* text);
    bool SetAt(int index, wchar_t character);

    // New strings; the source is unchanged. Out-of-range arguments give "".
    WideString Concat(const wchar_t* text) const;
    WideString Left(int count) const;
    WideString Right(int count) const;
    WideString Mid(int start) const;
    WideString Trim() const;
    WideString ToUpper() const;

    int Find(const WideString& part) const;
    int ReverseFind(wchar_t character) const;

    // Without duplicate: the own buffer, valid until the next change. With
    // duplicate: a new[] copy of length + 1 characters owned by the caller.
    wchar_t* CStr(bool duplicate = false) const;
    int Length() const { return length; }

    // Puts the text on the clipboard as CF_UNICODETEXT, replacing what is
    // there. False when any step fails (the clipboard held open by another
    // program among them); the clipboard is then left as it was or empty.
    bool CopyToClipboard() const;
    int Capacity() const { return capacity; }

private:
    // An empty string with a buffer of exactly the given capacity (at least 1).
    struct WithCapacity {
        int capacity;
    };
    explicit WideString(WithCapacity request);
    // A new string holding count characters of text, capacity count + 1.
    static WideString Copied(const wchar_t* text, int count);

    int capacity;
    wchar_t* buffer;
    int length;
};

// The given text followed by the string's text.
WideString Concat(const wchar_t* text, const WideString& string);
