#pragma once
// Wall-clock timing of repeated runs for the benchmark programs. On a shared machine a single
// time says more about the neighbours than about the code, so targets are ratios of two
// measurements taken in turns in the same run (against a floor, or at ten times the size): the
// neighbours' load then falls on both alike, and medians of many turns drop the bursts.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
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
    double best = 0;
    double median = 0;
};

inline Timing summarize(std::vector<double> runs) {
    if (runs.empty()) return {-1, -1};
    std::sort(runs.begin(), runs.end());
    return {runs.front(), runs[runs.size() / 2]};
}

// Writes a buffer far larger than the processor's caches, so that what a run touches first comes
// from memory, as a page does in a browser where other work ran since the user last acted on it.
// Without it a page that fits the caches would run from them and one ten times the size would
// not, and the growth between them would measure the caches rather than the work.
inline void evictCaches() {
    static std::vector<unsigned char> buffer(64 << 20);
    for (std::size_t i = 0; i < buffer.size(); i += 64) buffer[i] = static_cast<unsigned char>(buffer[i] + 1);
}

// Milliseconds of step; prepare runs untimed before it, and then the caches are emptied.
inline double timed(const std::function<void()>& prepare, const std::function<void()>& step) {
    prepare();
    evictCaches();
    const double start = nowMs();
    step();
    return nowMs() - start;
}

// prepare runs untimed before each timed run of step.
inline Timing measure(int repeats, const std::function<void()>& prepare, const std::function<void()>& step) {
    std::vector<double> runs;
    for (int i = 0; i < repeats; ++i) runs.push_back(timed(prepare, step));
    return summarize(runs);
}

inline Timing measure(int repeats, const std::function<void()>& step) {
    return measure(repeats, [] {}, step);
}

// Two measurements in turns, each run returning its own milliseconds (negative: it failed and is
// left out). The order swaps every turn, so that neither always runs in the other's wake.
struct Paired {
    Timing first;
    Timing second;
    double turnRatio = 0;  // the median over the turns of the second's time over the first's
    // Of the medians; 0 when either is missing.
    double medianRatio() const { return first.median > 0 && second.median > 0 ? second.median / first.median : 0; }
};

inline double medianOf(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Both measurements of one turn, the one that goes first swapping from turn to turn, so that
// neither always runs on caches and a processor clock the other left behind.
inline std::pair<double, double> bothInTurn(int turn, const std::function<double()>& first,
                                            const std::function<double()>& second) {
    if (turn % 2 == 0) {
        const double x = first();
        return {x, second()};
    }
    const double y = second();
    return {first(), y};
}

inline Paired measurePaired(int turns, const std::function<double()>& first, const std::function<double()>& second) {
    std::vector<double> a, b, ratios;
    for (int turn = 0; turn < turns; ++turn) {
        const auto [x, y] = bothInTurn(turn, first, second);
        if (x >= 0) a.push_back(x);
        if (y >= 0) b.push_back(y);
        if (x > 0 && y >= 0) ratios.push_back(y / x);
    }
    return {summarize(a), summarize(b), medianOf(ratios)};
}

// An operation on a page and on one ten times the size. Each turn times ten runs on the smaller
// page and one on the larger, in swapping order: both halves of a turn then take about as long and
// are interrupted alike, where a single run ten times longer would be interrupted more often.
struct Growth {
    Timing small;    // single runs
    Timing large;
    double growth;   // median over the turns of the larger run's time over a tenth of the ten smaller
};

inline Growth measureGrowth(int turns, const std::function<double()>& small, const std::function<double()>& large) {
    std::vector<double> smalls, larges, ratios;
    const auto tenSmall = [&] {
        double sum = 0;
        for (int i = 0; i < 10; ++i) {
            const double ms = small();
            smalls.push_back(ms);
            sum += ms;
        }
        return sum;
    };
    for (int turn = 0; turn < turns; ++turn) {
        const auto [ten, one] = bothInTurn(turn, tenSmall, large);
        larges.push_back(one);
        if (ten > 0) ratios.push_back(10 * one / ten);
    }
    return {summarize(smalls), summarize(larges), medianOf(ratios)};
}

// A pair as two lines "what  best  median", the second with the ratio of the medians and the
// median of the turns' own ratios: taken within a turn, where both ran under much the same load,
// and so the steadier of the two on a busy machine.
inline void printPaired(const char* firstWhat, const char* secondWhat, const Paired& p, const char* unit = "ms") {
    const int decimals = unit[0] == 'm' ? 3 : 0;
    std::printf("  %-52s %10.*f %10.*f %s\n", firstWhat, decimals, p.first.best, decimals, p.first.median, unit);
    std::printf("  %-52s %10.*f %10.*f %s  x%.2f (turns x%.2f)\n", secondWhat, decimals, p.second.best, decimals,
                p.second.median, unit, p.medianRatio(), p.turnRatio);
}

}  // namespace quorin::bench
