#include "core/PathString.h"

PathString::PathString(const WideString& text)
{
    WideString trimmed = text.Trim();
    if (trimmed.CStr()[0] == L'"')
        Assign(trimmed.Mid(1).Left(trimmed.Length() - 2).CStr());
    else
        Assign(trimmed.CStr());
}
