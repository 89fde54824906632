// History and personal-record queries over a full table of 262,144 records.
// Targets: each history query under 2 ms; a page of the 15 top-25 averages under 100 ms;
// the page of the 15 best-of queries under 10 ms.
#include <benchmark/benchmark.h>

#include "core/FData.h"
#include "core/random.h"
#include "stats/queries.h"
#include "stats/records.h"
#include "full_history.h"

namespace quorlet {
namespace {

template <typename F> void Run(benchmark::State& state, F&& query) {
    FillFullTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(query());
}

#define HISTORY_QUERY(Name, ...)                                                                             \
    void Name(benchmark::State& state) {                                                                     \
        Run(state, [] { __VA_ARGS__ });                                                                      \
    }                                                                                                        \
    BENCHMARK(Name)->Unit(benchmark::kMillisecond)

HISTORY_QUERY(BM_CountFlagGames, return CountFlagGames(););
HISTORY_QUERY(BM_CountNoFlagGamesExp, return CountNoFlagGamesExp(););
HISTORY_QUERY(BM_CountGamesExp, return CountGamesExp(););
HISTORY_QUERY(BM_FindBestTimeExp, uint16_t s; uint8_t h; return FindBestTimeExp(s, h););
HISTORY_QUERY(BM_FindBest3BVsExp, uint8_t w; uint8_t h; return FindBest3BVsExp(w, h););
HISTORY_QUERY(BM_FindMin3BVExp, uint16_t v; return FindMin3BVExp(v););
HISTORY_QUERY(BM_FindWorstTimeExp, uint16_t s; uint8_t h; return FindWorstTimeExp(s, h););
HISTORY_QUERY(BM_FindWorst3BVsExp, uint8_t w; uint8_t h; return FindWorst3BVsExp(w, h););
HISTORY_QUERY(BM_FindMax3BVExp, uint16_t v; return FindMax3BVExp(v););
HISTORY_QUERY(BM_AverageTimeExp, uint16_t w; uint8_t h; AverageTimeExp(w, h); return w + h;);
HISTORY_QUERY(BM_Average3BVsExp, uint8_t w; uint8_t h; Average3BVsExp(w, h); return w + h;);
HISTORY_QUERY(BM_Average3BVExp, uint16_t w; uint8_t h; Average3BVExp(w, h); return w + h;);
HISTORY_QUERY(BM_AverageAll3BVs, uint8_t w; uint8_t h; AverageAll3BVs(w, h); return w + h;);
HISTORY_QUERY(BM_FindNextByTimeExp, uint16_t s; uint8_t h; return FindNextByTimeExp(100, 0, s, h););
HISTORY_QUERY(BM_FindNextByTimeMaskedExp, uint16_t s; uint8_t h;
              return FindNextByTimeMaskedExp(100, 0, s, h););
HISTORY_QUERY(BM_FindNextBy3BVsExp, uint8_t w; uint8_t h; return FindNextBy3BVsExp(1, 0, w, h););
HISTORY_QUERY(BM_FindNextBy3BVsMaskedExp, uint8_t w; uint8_t h; return FindNextBy3BVsMaskedExp(1, 0, w, h););
HISTORY_QUERY(BM_MostPlayedLevel, return MostPlayedLevel(););
HISTORY_QUERY(BM_AverageTimeOfDay, return AverageTimeOfDay(););
HISTORY_QUERY(BM_AverageGameDate, return AverageGameDate(););

constexpr TRecordMeasure kMeasures[] = {TRecordMeasure::Time, TRecordMeasure::BBBVs, TRecordMeasure::RQP,
                                        TRecordMeasure::IOS, TRecordMeasure::IOE};
constexpr TRecordSelection kSelections[] = {TRecordSelection::All, TRecordSelection::Flag,
                                            TRecordSelection::NoFlag};

// The high-score window's page as it shows it: all 15 values in one pass.
void BM_BestOfPage(benchmark::State& state) {
    Run(state, [] { return BestRecordPage(2); });
}
BENCHMARK(BM_BestOfPage)->Unit(benchmark::kMillisecond);

void BM_Top25AveragePage(benchmark::State& state) {
    Run(state, [] { return Top25AveragePage(2); });
}
BENCHMARK(BM_Top25AveragePage)->Unit(benchmark::kMillisecond);

// The same pages built from the 15 separate queries.
void BM_BestOfPageByQueries(benchmark::State& state) {
    Run(state, [] {
        int32_t sum = 0;
        for (auto m : kMeasures)
            for (auto s : kSelections)
                sum += BestRecordIndex(2, s, m);
        return sum;
    });
}
BENCHMARK(BM_BestOfPageByQueries)->Unit(benchmark::kMillisecond);

void BM_Top25AveragePageByQueries(benchmark::State& state) {
    Run(state, [] {
        float sum = 0;
        for (auto m : kMeasures)
            for (auto s : kSelections)
                sum += Top25Average(2, s, m);
        return sum;
    });
}
BENCHMARK(BM_Top25AveragePageByQueries)->Unit(benchmark::kMillisecond);

// For comparison only: the page by 25 passes per average with a search over the picks.
void BM_Top25AveragePageByPasses(benchmark::State& state) {
    Run(state, [] {
        float sum = 0;
        for (auto m : kMeasures)
            for (auto s : kSelections)
                sum += Top25AverageByPasses(2, s, m);
        return sum;
    });
}
BENCHMARK(BM_Top25AveragePageByPasses)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace quorlet
