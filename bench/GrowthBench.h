// What 1000 enumerations leave behind in this process: handles, GDI and USER
// objects and private bytes before and after.
#pragma once

namespace twk_bench {

void BenchGrowth(int calls);

} // namespace twk_bench
