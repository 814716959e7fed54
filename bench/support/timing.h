#pragma once
// Wall-clock timing of repeated runs for the benchmark programs.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace quorin::bench {

inline double nowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

struct Timing {
    double best;
    double median;
};

// prepare runs untimed before each timed run of step.
inline Timing measure(int repeats, const std::function<void()>& prepare, const std::function<void()>& step) {
    std::vector<double> runs;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        const double start = nowMs();
        step();
        runs.push_back(nowMs() - start);
    }
    std::sort(runs.begin(), runs.end());
    return {runs.front(), runs[runs.size() / 2]};
}

inline Timing measure(int repeats, const std::function<void()>& step) {
    return measure(repeats, [] {}, step);
}

}  // namespace quorin::bench
