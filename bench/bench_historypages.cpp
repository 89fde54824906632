// History pages and their HTML report over a full table of 262,144 records, and again with
// every game on Expert. Targets: each ranking page, also with equals on, under 100 ms; each
// review and the activity page under 100 ms; the entire page under 100 ms; the whole
// statistics HTML report under 1 s, written as a stream with a peak under 64 MiB above the table.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/main/benchrun.h"
#include "bench_fullhistory.h"
#include "stats/historyhtml.h"
#include "stats/historypages.h"

namespace quorlet {
namespace {

// Draws one outline page, as the window's dispatch does, into a grid kept between runs.
void Page(benchmark::State& state, int item, bool showEquals, bool allExpert = false) {
    bench::MakeFullHistory(allExpert);
    Options.doShowEquals = showEquals;
    THistoryGrid sg;
    for (auto _ : state) {
        DrawHistoryGridPage(sg, item);
        benchmark::DoNotOptimize(sg.RowCount());
    }
    state.counters["rows"] = sg.RowCount();
    state.counters[QUORLET_BENCH_TARGET_MS] = 100;
}

void BM_LevelSummaryExp(benchmark::State& s) { Page(s, 15, false); }
void BM_TimeRankingExp(benchmark::State& s) { Page(s, 16, false); }
void BM_TimeRankingExpEquals(benchmark::State& s) { Page(s, 16, true); }
void BM_3BVsRankingExp(benchmark::State& s) { Page(s, 17, false); }
void BM_3BVsRankingExpEquals(benchmark::State& s) { Page(s, 17, true); }
void BM_TimeRankingAllExpertEquals(benchmark::State& s) {
    Page(s, 16, true, true);
}
void BM_3BVsRankingAllExpertEquals(benchmark::State& s) {
    Page(s, 17, true, true);
}
void BM_TimesReviewExp(benchmark::State& s) { Page(s, 18, false); }
void BM_3BVsReviewExp(benchmark::State& s) { Page(s, 19, false); }
void BM_3BVReviewExp(benchmark::State& s) { Page(s, 20, false); }
void BM_TotalActivity(benchmark::State& s) { Page(s, 24, false); }
void BM_EntireStatistics(benchmark::State& s) { Page(s, 25, false); }

BENCHMARK(BM_LevelSummaryExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeRankingExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeRankingExpEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVsRankingExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVsRankingExpEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeRankingAllExpertEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVsRankingAllExpertEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimesReviewExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVsReviewExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVReviewExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotalActivity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntireStatistics)->Unit(benchmark::kMillisecond);

// The whole report, from a fresh grid each time as a first export is; the peak is the highest
// resident memory of the runs above what the program held before them (the table included).
void Report(benchmark::State& state, bool allExpert) {
    bench::MakeFullHistory(allExpert);
    Options.doShowEquals = true; // the longest rankings
    char folder[] = "/tmp/quorlet-bench-html-XXXXXX";
    if (!::mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    Options.LastPath = std::string(folder) + "/";
    const std::string file = Options.LastPath + "report.html";
    bench::ResetPeakResident();
    const double before = bench::ResidentMiB();
    for (auto _ : state) {
        THistoryGrid sg;
        benchmark::DoNotOptimize(ExportStatisticsHtml(file, sg));
        state.PauseTiming();
        sg = THistoryGrid();
        state.ResumeTiming();
    }
    state.counters[QUORLET_BENCH_PEAK_MIB] = bench::PeakResidentMiB() - before;
    state.counters[QUORLET_BENCH_TARGET_MIB] = 64;
    state.counters[QUORLET_BENCH_TARGET_MS] = 1000;
    std::remove(file.c_str());
    ::rmdir(folder);
}
void BM_StatisticsHtmlReport(benchmark::State& s) {
    Report(s, false);
}
void BM_StatisticsHtmlReportAllExpert(benchmark::State& s) {
    Report(s, true);
}
BENCHMARK(BM_StatisticsHtmlReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatisticsHtmlReportAllExpert)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorlet
