// Benchmarks that run two or three cases in turn in every round, so that the machine's
// load falls alike on each: a round's time and the median of many.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

// The milliseconds that Run takes.
template <class F> double TimeMs(const F& Run)
{
    const auto start = std::chrono::steady_clock::now();
    Run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    const size_t n = Values.size();
    return n == 0 ? 0.0 : (n % 2 == 1 ? Values[n / 2] : 0.5 * (Values[n / 2 - 1] + Values[n / 2]));
}
