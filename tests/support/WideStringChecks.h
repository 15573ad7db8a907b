// The invariants every WideString must keep after every operation.
#pragma once

#include "core/WideString.h"

#include <gtest/gtest.h>

#include <wchar.h>

namespace twk_test {

inline void ExpectSoundWideString(const WideString& s)
{
    ASSERT_NE(s.CStr(), nullptr);
    EXPECT_GE(s.Length(), 0);
    EXPECT_LE(s.Length() + 1, s.Capacity());
    EXPECT_EQ(s.CStr()[s.Length()], L'\0');
    EXPECT_EQ(static_cast<int>(wcslen(s.CStr())), s.Length());
}

} // namespace twk_test
