// The whole program against its neighbours on one desktop, in alternating
// rounds of one run: a bare window program from its start to its text,
// TWK64.exe from its start to its result, Wine's taskkill from its start to
// the target's exit, and the termination engine alone in this process.
#pragma once

#include <string>

namespace twk_bench {

// Measures `rounds` rounds and prints the table for the desktop named by
// `desktop` (for example "quiet"). Copies of the fixture are made in
// `directory`.
void BenchStartToResult(const std::wstring& directory, const char* desktop, int rounds);

} // namespace twk_bench
