#include "bench/main/benchrun.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace quorlet::bench {

namespace {

double StatusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string name = field;
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, name.size(), name) == 0) return std::atof(line.c_str() + name.size()) / 1024.0;
    return 0;
}

struct TResult {
    std::string name;
    double ms;
    double targetMs;
    double peakMiB;
    double targetMiB;
};

double Counter(const benchmark::BenchmarkReporter::Run& run, const char* name) {
    const auto it = run.counters.find(name);
    return it == run.counters.end() ? 0 : static_cast<double>(it->second);
}

// The console's table, and the runs that name a target kept for the summary.
class TTargetReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const double target = Counter(run, QUORLET_BENCH_TARGET_MS);
            if (run.error_occurred || target <= 0 || run.run_type != Run::RT_Iteration) continue;
            const double ms = run.GetAdjustedRealTime() *
                              benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                              benchmark::GetTimeUnitMultiplier(run.time_unit);
            results.push_back({run.benchmark_name(), ms, target, Counter(run, QUORLET_BENCH_PEAK_MIB),
                               Counter(run, QUORLET_BENCH_TARGET_MIB)});
        }
    }
    std::vector<TResult> results;
};

} // namespace

double ResidentMiB() {
    return StatusMiB("VmRSS:");
}

double PeakResidentMiB() {
    return StatusMiB("VmHWM:");
}

void ResetPeakResident() {
    // Freed memory goes back first, so the peak counts what the measured code holds.
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const double before = LoadAverage();
    TTargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double after = LoadAverage();
    std::printf("Load average %.2f before, %.2f after\n", before, after);
    if (reporter.results.empty()) return 0;
    if (before > kBusyLoad || after > kBusyLoad) {
        std::printf("The machine was busy (load average above %.0f): no ratio to the targets reported\n",
                    kBusyLoad);
        return 0;
    }
    std::printf("Against the targets (measured / target):\n");
    for (const TResult& r : reporter.results) {
        std::printf("  %-48s %9.2f ms / %6.0f ms = %.2f%s", r.name.c_str(), r.ms, r.targetMs,
                    r.ms / r.targetMs, r.ms <= r.targetMs ? "" : "  MISSED");
        if (r.targetMiB > 0)
            std::printf(";  peak %.1f MiB / %.0f MiB = %.2f%s", r.peakMiB, r.targetMiB,
                        r.peakMiB / r.targetMiB, r.peakMiB <= r.targetMiB ? "" : "  MISSED");
        std::printf("\n");
    }
    return 0;
}

} // namespace quorlet::bench
