// The counters refresh during play with a usual 13-row template, the grid of the counters
// window filled: under 1 ms per tick. Needs Qt; runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "core/FData.h"
#include "app/stats/FCounters.h"
#include "stats/counters.h"
#include "bench/ui/qt_bench_main.h"

namespace {

using namespace quorlet;

void BM_RefreshCountersIntoTheGrid(benchmark::State& state) {
    ResetGlobals();
    Options.doShowCounters = true;
    Options.doCalculateCounters = true;
    // Every formula evaluated, board facts included (the costliest refresh).
    Options.doShow3BVAfterGameStart = true;
    Options.widthCr1 = 60;
    Options.widthCr2 = 60;
    CountersTemplateLines = {
        "Time|TIME",    "Est Time|TIMEEST",  "3BV|BBBVDONE/BBBV", "3BV/s|BBBV/TIMEREAL", "IOS|IOS",
        "RQP|RQP",      "Left|LCLK",         "Right|RCLK",        "Double|DCLK",         "Clicks|TOTALCLK",
        "Eff|TOTALEFF", "Openings|OPENINGS", "Games|TOTALGAMES"};
    TCounters counters;
    for (auto _ : state)
        RefreshCounters();
    state.counters["rows"] = counters.RowCount();
}
BENCHMARK(BM_RefreshCountersIntoTheGrid)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
