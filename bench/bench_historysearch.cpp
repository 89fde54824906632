// The history window's search page and the CSV export over a full table of 262,144 records.
// Targets: SEARCH over the whole table under 200 ms; SORT by any key under 1 s; the CSV export
// (about 30 MB in two files) under 2 s.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench_fullhistory.h"
#include "stats/historycsv.h"
#include "stats/historysearch.h"

namespace quorlet {
namespace {

void BM_SearchWholeTable(benchmark::State& state) {
    bench::MakeFullHistory();
    THistoryGrid sgs;
    const THistorySearchFilter every; // all levels and styles, no range
    for (auto _ : state)
        SearchHistory(sgs, every);
    state.counters["rows"] = sgs.RowCount();
}
BENCHMARK(BM_SearchWholeTable)->Unit(benchmark::kMillisecond);

// Sorts the whole table's results by the key of the given index; each run starts from the
// search order.
void BM_SortWholeTable(benchmark::State& state) {
    bench::MakeFullHistory();
    const std::string key = SearchSortKeys().at(static_cast<size_t>(state.range(0)));
    state.SetLabel(key);
    THistoryGrid sgs;
    for (auto _ : state) {
        state.PauseTiming();
        SearchHistory(sgs, THistorySearchFilter{});
        state.ResumeTiming();
        benchmark::DoNotOptimize(SortSearchResults(sgs, key));
    }
}
BENCHMARK(BM_SortWholeTable)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

void BM_HistoryCsvExport(benchmark::State& state) {
    bench::MakeFullHistory();
    char folder[] = "/tmp/quorlet-bench-csv-XXXXXX";
    if (!::mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    Options.LastPath = std::string(folder) + "/";
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteHistoryCsv());
    std::remove((Options.LastPath + "stats_csv.csv").c_str());
    std::remove((Options.LastPath + "stats_csv.html").c_str());
    ::rmdir(folder);
}
BENCHMARK(BM_HistoryCsvExport)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorlet
