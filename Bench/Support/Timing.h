// A plain timing loop for the figures a benchmark prints as ratios, whatever Google
// Benchmark's reporter does.
#pragma once

#include <chrono>

// The mean time of one call of `f` over `calls` calls, in nanoseconds.
template <typename F>
double nanosecondsPerCall(F f, int calls) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / calls;
}
