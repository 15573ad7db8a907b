// Line 1 of the progress window as the test process computes it: a window
// made from the same template 120, so with the same font and width.
#pragma once

#include <windows.h>

#include <string>

namespace twk_test {

// The cleaned argument fitted into line 1 (its own font and width).
std::wstring ExpectedLine1(const std::wstring& argument);

// The width of text in line 1's font, and the width of line 1 itself.
int WidthInLine1Font(const std::wstring& text);
int Line1Width();

} // namespace twk_test
