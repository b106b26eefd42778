// Timing and reporting shared by the benchmark programs: a fine clock, medians, result rows.
#pragma once
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

// Microseconds from a fixed origin, from the performance counter.
inline double NowMicroseconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One measured figure and its baseline, each a series of repetitions in one unit.
struct Figure {
    std::string name;      // what was measured
    std::string baseline;  // what it is compared with
    std::string unit;
    std::vector<double> measured, base;
};

// A result row for scripts/bench.sh, tab-separated:
// ROW, figure, median, min, max, baseline, its median, min, max, unit, repetitions, ratio.
inline void PrintFigure(const Figure& f)
{
    double m = Median(f.measured), b = Median(f.base);
    auto lo = [](const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); };
    auto hi = [](const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); };
    printf("ROW\t%s\t%.2f\t%.2f\t%.2f\t%s\t%.2f\t%.2f\t%.2f\t%s\t%zu\t%.2f\n", f.name.c_str(), m, lo(f.measured),
           hi(f.measured), f.baseline.c_str(), b, lo(f.base), hi(f.base), f.unit.c_str(), f.measured.size(),
           b > 0 ? m / b : 0.0);
    fflush(stdout);
}

// A note for the reader of the run, printed under the table.
inline void PrintNote(const std::string& text)
{
    printf("NOTE\t%s\n", text.c_str());
    fflush(stdout);
}
