// main() of every benchmark program. Benchmarks are named "<work>/<tool>", one of the tools being
// "ours"; after the usual table this prints, per work, how each reference tool's time compares
// with ours (a ratio above 1 means ours is faster).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            const auto slash = name.rfind('/');
            if (slash == std::string::npos) continue;
            times_[name.substr(0, slash)][name.substr(slash + 1)] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nRatios (reference time / our time; above 1 means ours is faster):\n");
        for (const auto& [work, tools] : times_) {
            const auto ours = tools.find("ours");
            if (ours == tools.end() || ours->second <= 0) continue;
            for (const auto& [tool, time] : tools)
                if (tool != "ours")
                    std::printf("  %-40s %-12s %8.2f\n", work.c_str(), tool.c_str(),
                                time / ours->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
