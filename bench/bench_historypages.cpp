// History pages and their HTML report over a full table of 262,144 records. Targets: each
// ranking page under 0.5 s (aim 100 ms); each review and the activity page under 100 ms; the
// entire page under 1 s; the whole statistics HTML report under 3 s.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench_fullhistory.h"
#include "stats/historyhtml.h"
#include "stats/historypages.h"

namespace quorlet {
namespace {

// Draws one outline page, as the window's dispatch does, into a grid kept between runs.
void Page(benchmark::State& state, int item, bool showEquals) {
    bench::MakeFullHistory();
    Options.doShowEquals = showEquals;
    THistoryGrid sg;
    for (auto _ : state) {
        DrawHistoryGridPage(sg, item);
        benchmark::DoNotOptimize(sg.RowCount());
    }
    state.counters["rows"] = sg.RowCount();
}

void BM_LevelSummaryExp(benchmark::State& s) { Page(s, 15, false); }
void BM_TimeRankingExp(benchmark::State& s) { Page(s, 16, false); }
void BM_TimeRankingExpEquals(benchmark::State& s) { Page(s, 16, true); }
void BM_3BVsRankingExp(benchmark::State& s) { Page(s, 17, false); }
void BM_3BVsRankingExpEquals(benchmark::State& s) { Page(s, 17, true); }
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
BENCHMARK(BM_TimesReviewExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVsReviewExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3BVReviewExp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotalActivity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntireStatistics)->Unit(benchmark::kMillisecond);

void BM_StatisticsHtmlReport(benchmark::State& state) {
    bench::MakeFullHistory();
    Options.doShowEquals = true; // the longest rankings
    char folder[] = "/tmp/quorlet-bench-html-XXXXXX";
    if (!::mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    Options.LastPath = std::string(folder) + "/";
    const std::string file = Options.LastPath + "report.html";
    THistoryGrid sg;
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportStatisticsHtml(file, sg));
    std::remove(file.c_str());
    ::rmdir(folder);
}
BENCHMARK(BM_StatisticsHtmlReport)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorlet
