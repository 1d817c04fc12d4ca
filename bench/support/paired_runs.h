#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace rv::bench {

template <class Work>
double Milliseconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// One round per benchmark iteration: `first` and `second` each run once, which goes first
// alternating, so that a change of load on the machine falls on both. Each returns the
// milliseconds of its timed part. Reports the median time of each ("<name>_ms") and the median of
// the rounds' ratios ("<first>/<second>"); register with UseManualTime() and five or more
// Iterations().
template <class First, class Second>
void PairedRounds(benchmark::State& state, const std::string& firstName, First first,
                  const std::string& secondName, Second second) {
    std::vector<double> firstTimes, secondTimes, ratios;
    for (auto _ : state) {
        double a = 0, b = 0;
        if (ratios.size() % 2 == 0) {
            a = first();
            b = second();
        } else {
            b = second();
            a = first();
        }
        state.SetIterationTime(a / 1000);
        firstTimes.push_back(a);
        secondTimes.push_back(b);
        ratios.push_back(a / b);
    }
    state.counters[firstName + "_ms"] = Median(firstTimes);
    state.counters[secondName + "_ms"] = Median(secondTimes);
    state.counters[firstName + "/" + secondName] = Median(ratios);
}

}  // namespace rv::bench
