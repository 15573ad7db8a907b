// ProcessSnapshot::Enumerate beside the bare system calls that give the same
// entries, on the same processes, in alternating rounds: what the snapshot
// costs above the calls it cannot avoid, and how both grow with the number
// of processes.
#pragma once

#include "bench/BenchFigures.h"

#include <string>
#include <vector>

namespace twk_bench {

struct EnumerateLevel {
    int wanted;
    bool reached; // false: `problem` says why, and nothing was measured
    std::string problem;
    int listed;        // entries of the last Enumerate
    bool identical;    // the raw calls gave Enumerate's entries exactly
    Figures enumerate; // microseconds per listed process
    Figures rawNull;   // the raw calls, image path by the null module handle
    Figures rawFirst;  // the raw calls, image path by the first module
};

// Measures the processes running now (`rounds` rounds of each).
void MeasureEnumerate(EnumerateLevel& level, int rounds);

void PrintEnumerateLevels(const std::vector<EnumerateLevel>& levels, int rounds);

} // namespace twk_bench
