// WideString operations. Capacities follow one rule: Assign and Append grow
// to new length + 30 when the text does not fit; every other operation
// allocates its result exactly for its content.
#include "core/WideString.h"

#include <stdlib.h>
#include <string.h>

namespace {

const int kDefaultCapacity = 30;
const int kGrowthSlack = 30;
const int kIntTextCapacity = 15;

// memmove: a source may lie inside the destination string's own buffer.
void CopyChars(wchar_t* destination, const wchar_t* source, int count)
{
    memmove(destination, source, static_cast<size_t>(count) * sizeof(wchar_t));
}

// A null text pointer is taken as the empty text.
const wchar_t* OrEmpty(const wchar_t* text)
{
    return text ? text : L"";
}

} // namespace

WideString::WideString() : capacity(kDefaultCapacity), buffer(new wchar_t[kDefaultCapacity]), length(0)
{
    buffer[0] = L'\0';
}

WideString::WideString(const wchar_t* text)
    : capacity(lstrlenW(text) + 1), buffer(new wchar_t[capacity]), length(capacity - 1)
{
    CopyChars(buffer, OrEmpty(text), length + 1);
}

WideString::WideString(const WideString& other)
    : capacity(other.capacity), buffer(new wchar_t[other.capacity]), length(other.length)
{
    CopyChars(buffer, other.buffer, length + 1);
}

WideString::WideString(WithCapacity request)
    : capacity(request.capacity), buffer(new wchar_t[request.capacity]), length(0)
{
    buffer[0] = L'\0';
}

WideString& WideString::operator=(const WideString& other)
{
    Assign(other.CStr());
    return *this;
}

WideString::~WideString()
{
    delete[] buffer;
}

WideString WideString::Copied(const wchar_t* text, int count)
{
    WideString result(WithCapacity{count + 1});
    CopyChars(result.buffer, text, count);
    result.buffer[count] = L'\0';
    result.length = count;
    return result;
}

WideString WideString::FromAnsi(const char* text)
{
    int required = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    WideString result(WithCapacity{required > 0 ? required : 1});
    MultiByteToWideChar(CP_ACP, 0, text, lstrlenA(text) + 1, result.buffer, result.capacity);
    result.buffer[result.capacity - 1] = L'\0';
    result.length = lstrlenW(result.buffer);
    return result;
}

WideString WideString::FromInt(int value)
{
    WideString result(WithCapacity{kIntTextCapacity});
    if (_itow_s(value, result.buffer, kIntTextCapacity, 10) != 0)
        lstrcpyW(result.buffer, L"error");
    result.length = lstrlenW(result.buffer);
    return result;
}

void WideString::Assign(const wchar_t* text)
{
    text = OrEmpty(text);
    int newLength = lstrlenW(text);
    if (newLength + 1 > capacity) {
        // The text cannot be this buffer: it would fit in it.
        delete[] buffer;
        capacity = newLength + kGrowthSlack;
        buffer = new wchar_t[capacity];
    }
    if (text != buffer)
        CopyChars(buffer, text, newLength + 1);
    length = newLength;
}

void WideString::Append(const wchar_t* text)
{
    text = OrEmpty(text);
    int added = lstrlenW(text);
    int newLength = length + added;
    if (newLength + 1 > capacity) {
        int newCapacity = newLength + kGrowthSlack;
        wchar_t* grown = new wchar_t[newCapacity];
        CopyChars(grown, buffer, length);
        CopyChars(grown + length, text, added + 1);
        delete[] buffer; // freed only now: text may point into it
        buffer = grown;
        capacity = newCapacity;
    } else {
        CopyChars(buffer + length, text, added);
        buffer[newLength] = L'\0';
    }
    length = newLength;
}

bool WideString::SetAt(int index, wchar_t character)
{
    if (index < 0 || index >= length)
        return false;
    buffer[index] = character;
    if (character == L'\0')
        length = index;
    return true;
}

WideString WideString::Concat(const wchar_t* text) const
{
    text = OrEmpty(text);
    int added = lstrlenW(text);
    WideString result(WithCapacity{length + added + 1});
    CopyChars(result.buffer, buffer, length);
    CopyChars(result.buffer + length, text, added + 1);
    result.length = length + added;
    return result;
}

WideString Concat(const wchar_t* text, const WideString& string)
{
    return WideString(text).Concat(string.CStr());
}

WideString WideString::Left(int count) const
{
    if (count < 0 || count > length)
        return Copied(L"", 0);
    return Copied(buffer, count);
}

WideString WideString::Right(int count) const
{
    if (count < 0 || count > length)
        return Copied(L"", 0);
    return Copied(buffer + length - count, count);
}

WideString WideString::Mid(int start) const
{
    if (start < 0 || start >= length)
        return Copied(L"", 0);
    return Copied(buffer + start, length - start);
}

WideString WideString::Trim() const
{
    WideString result(WithCapacity{length + 1});
    int start = 0;
    while (start < length && buffer[start] == L' ')
        ++start;
    int end = length;
    while (end > start && buffer[end - 1] == L' ')
        --end;
    CopyChars(result.buffer, buffer + start, end - start);
    result.buffer[end - start] = L'\0';
    result.length = end - start;
    return result;
}

WideString WideString::ToUpper() const
{
    WideString result(WithCapacity{capacity});
    for (int i = 0; i <= length; ++i) {
        wchar_t c = buffer[i];
        result.buffer[i] = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    }
    result.length = length;
    return result;
}

int WideString::Find(const WideString& part) const
{
    // A plain search: an empty part is found at 0, also in an empty text.
    for (int start = 0; start + part.length <= length; ++start) {
        if (memcmp(buffer + start, part.buffer, static_cast<size_t>(part.length) * sizeof(wchar_t)) == 0)
            return start;
    }
    return -1;
}

int WideString::ReverseFind(wchar_t character) const
{
    for (int i = length - 1; i >= 0; --i) {
        if (buffer[i] == character)
            return i;
    }
    return -1;
}

wchar_t* WideString::CStr(bool duplicate) const
{
    if (!duplicate)
        return buffer;
    wchar_t* copy = new wchar_t[length + 1];
    CopyChars(copy, buffer, length + 1);
    return copy;
}
