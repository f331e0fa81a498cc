#pragma once
// Timing that a shared, noisy machine can be trusted with: a warm-up, timed cases long enough to
// measure (repeated until they take at least about 200 ms), the cases of a comparison taken in
// turn, and the median of five or more timings of each.
#include <windows.h>

#include <algorithm>
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
inline constexpr int kRuns = 5;

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

// Seconds per call of each case, as the median of `runs` timings taken in turn with the other
// cases, after one untimed warm-up call of each. Each timing repeats the call until the case
// takes at least kShortestCase.
inline std::vector<double> MedianSecondsPerCall(const std::vector<Case>& cases, int runs = kRuns) {
    std::vector<int> calls;
    for (const Case& c : cases) {
        TimeCalls(c, 1);
        const double once = std::max(TimeCalls(c, 1), 1e-6);
        calls.push_back(std::max(1, static_cast<int>(kShortestCase / once + 0.999)));
    }
    std::vector<std::vector<double>> timings(cases.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < cases.size(); ++i) timings[i].push_back(TimeCalls(cases[i], calls[i]) / calls[i]);
    }
    std::vector<double> medians;
    for (const std::vector<double>& each : timings) medians.push_back(Median(each));
    return medians;
}

}  // namespace bench
