#pragma once

// Timing and printing shared by the benchmark programs: every figure is the
// median of repeated runs, printed against its target when it has one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using Stopwatch = std::chrono::steady_clock;

inline double ms_since(Stopwatch::time_point start)
{
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline void print(const char *what, const std::vector<double> &times, const char *target = nullptr, double limit = 0)
{
    const double value = median(times);
    std::printf("%-50s %9.3f ms   %-12s %-6s (median of %zu, least %.3f)\n", what, value, target ? target : "",
                target ? (value < limit ? "ok" : "MISSED") : "", times.size(), *std::min_element(times.begin(), times.end()));
}
