#include "bench/BenchFigures.h"

#include <windows.h>

#include <algorithm>
#include <stdio.h>

namespace twk_bench {

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Figures::Median() const
{
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double Figures::Min() const
{
    return *std::min_element(values.begin(), values.end());
}

double Figures::Max() const
{
    return *std::max_element(values.begin(), values.end());
}

void PrintFiguresHeader(const char* unit)
{
    printf("  %-52s %9s %9s %9s %6s\n", "", (std::string("median ") + unit).c_str(),
           (std::string("min ") + unit).c_str(), (std::string("max ") + unit).c_str(), "count");
}

void PrintFiguresRow(const std::string& label, const Figures& figures)
{
    if (figures.Empty()) {
        printf("  %-52s not measured\n", label.c_str());
        return;
    }
    printf("  %-52s %9.2f %9.2f %9.2f %6d\n", label.c_str(), figures.Median(), figures.Min(), figures.Max(),
           figures.Count());
}

std::string LoadAverage()
{
    HANDLE file = CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "not available";
    char text[128] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    std::string load(text, read);
    while (!load.empty() && (load.back() == '\n' || load.back() == '\r'))
        load.pop_back();
    return load;
}

} // namespace twk_bench
