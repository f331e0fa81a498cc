#pragma once
// Timing that a shared, noisy machine can be trusted with: a warm-up, the cases of a comparison
// taken in turn within each run, every case repeated until it takes as long as the longest one
// (and at least about 200 ms), so that all of them see the same stretch of the machine's load,
// and the median of the runs, taken of each case and of the ratios between cases run by run.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace bench {

// The performance counter in seconds: the difference of two readings is the time between them.
inline double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline constexpr double kShortestCase = 0.2;
inline constexpr int kRuns = 9;

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One case of a comparison: `prepare` (untimed) sets up each call of `measured` (timed).
struct Case {
    std::function<void()> prepare;
    std::function<void()> measured;
};

inline double TimeCalls(const Case& c, int calls) {
    double total = 0;
    for (int i = 0; i < calls; ++i) {
        if (c.prepare) c.prepare();
        const double start = Seconds();
        c.measured();
        total += Seconds() - start;
    }
    return total;
}

// Seconds per call, by case and run.
struct Timings {
    std::vector<std::vector<double>> perRun;

    double Median(size_t c) const { return bench::Median(perRun[c]); }
    // The median over the runs of case `a`'s time over case `b`'s in the same run.
    double MedianRatio(size_t a, size_t b) const {
        std::vector<double> ratios;
        for (size_t run = 0; run < perRun[a].size(); ++run) ratios.push_back(perRun[a][run] / perRun[b][run]);
        return bench::Median(ratios);
    }
};

inline Timings TimeInTurn(const std::vector<Case>& cases, int runs = kRuns) {
    std::vector<double> once;
    for (const Case& c : cases) {
        TimeCalls(c, 1);  // warm-up
        once.push_back(std::max(TimeCalls(c, 1), 1e-6));
    }
    const double length = std::max(kShortestCase, *std::max_element(once.begin(), once.end()));
    std::vector<int> calls;
    for (const double each : once) calls.push_back(std::max(1, static_cast<int>(std::ceil(length / each))));
    Timings timings;
    timings.perRun.resize(cases.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < cases.size(); ++i) {
            timings.perRun[i].push_back(TimeCalls(cases[i], calls[i]) / calls[i]);
        }
    }
    return timings;
}

}  // namespace bench
