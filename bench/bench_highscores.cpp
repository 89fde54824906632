// The new-record notice, the six high-score pages and the chat reports over a full table of
// 262,144 records. Targets: the notice's ten tests under 20 ms after a win; all six pages
// under 200 ms; any chat report under 50 ms.
#include <benchmark/benchmark.h>

#include "core/FData.h"
#include "full_history.h"
#include "stats/chatreports.h"
#include "stats/highscores.h"

namespace quorlet {
namespace {

template <typename F> void Run(benchmark::State& state, F&& work) {
    FillFullTable();
    LevelGameCounts = {kHistoryCapacity / 3, kHistoryCapacity / 3, kHistoryCapacity / 3};
    Options.doIRCtype = 2;
    for (auto _ : state)
        benchmark::DoNotOptimize(work());
}

void NoticeTests(benchmark::State& state) {
    Run(state, [] { return HighScoreNoticeItems(kHistoryCapacity - 1, GameHistory[kHistoryCapacity - 1].level); });
}
void AllSixPages(benchmark::State& state) {
    Run(state, [] {
        size_t n = 0;
        for (int page = 1; page <= kHighScorePages; ++page)
            n += HighScorePage(page).cells[3][1].size();
        return n;
    });
}
void LastGameReport(benchmark::State& state) {
    Run(state, [] { return BuildLastGameReport(kHistoryCapacity - 1); });
}
void TimeRecordsReport(benchmark::State& state) {
    Run(state, [] { return BuildRecordsReport(true); });
}
void AveragesReport(benchmark::State& state) {
    Run(state, [] { return BuildAveragesReport(); });
}
void TodayReport(benchmark::State& state) {
    Run(state, [] { return BuildTodayReport(glExpert); });
}

BENCHMARK(NoticeTests)->Unit(benchmark::kMillisecond);
BENCHMARK(AllSixPages)->Unit(benchmark::kMillisecond);
BENCHMARK(LastGameReport)->Unit(benchmark::kMillisecond);
BENCHMARK(TimeRecordsReport)->Unit(benchmark::kMillisecond);
BENCHMARK(AveragesReport)->Unit(benchmark::kMillisecond);
BENCHMARK(TodayReport)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorlet
