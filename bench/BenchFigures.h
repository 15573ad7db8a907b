// Timing and figures for the benchmarks: a millisecond clock, a series of
// measurements with its median, minimum and maximum, and the printing of
// table rows. A row is printed only for a series that holds measurements.
#pragma once

#include <string>
#include <vector>

namespace twk_bench {

// Milliseconds from an arbitrary start, with sub-millisecond resolution.
double NowMs();

class Figures {
public:
    void Add(double value) { values.push_back(value); }
    bool Empty() const { return values.empty(); }
    int Count() const { return static_cast<int>(values.size()); }
    double Median() const;
    double Min() const;
    double Max() const;

private:
    std::vector<double> values;
};

// "  <label>  <median> <min> <max> <count>" in the given unit; nothing for an
// empty series except a line that says so.
void PrintFiguresHeader(const char* unit);
void PrintFiguresRow(const std::string& label, const Figures& figures);

// The system's load average as Linux reports it (Z:\proc\loadavg under Wine),
// or a note that it cannot be read.
std::string LoadAverage();

} // namespace twk_bench
