// The main of every benchmark program: Google Benchmark's run between two readings of the load
// average, then each benchmark that names a target (the counters "target_ms" and, for memory,
// "target_MiB" beside "peak_MiB") beside its target, as a ratio; none on a busy machine.
#pragma once

#include <fstream>

namespace quorlet::bench {

// Above this one-minute load average the machine is busy: its figures give no ratio.
inline constexpr double kBusyLoad = 2.0;

// The one-minute load average.
inline double LoadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

// Sets a benchmark's targets: its time per iteration in milliseconds and, when not 0, the peak of
// its memory above what it started with.
#define QUORLET_BENCH_TARGET_MS "target_ms"
#define QUORLET_BENCH_PEAK_MIB "peak_MiB"
#define QUORLET_BENCH_TARGET_MIB "target_MiB"

int RunBenchmarks(int argc, char** argv);

// Resident memory now and the highest since the last ResetPeakResident, in MiB (the reset
// returns freed memory to the system first).
double ResidentMiB();
double PeakResidentMiB();
void ResetPeakResident();

} // namespace quorlet::bench
