// Board generation and metrics speed. Targets: an Expert board placed, numbered and its 3BV
// computed in 2 us; CalcZiNi on Expert in 200 us; the worst Expert first click (1001 boards)
// in 5 ms; a 1,000,000-board Expert distribution table in 3 s. "allocs" counts heap allocations
// per iteration: the board loops must make none.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/FData.h"
#include "core/board.h"
#include "core/generation.h"
#include "core/metrics.h"
#include "core/zini.h"

namespace {

std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace quorlet {
namespace {

void UseExpert() {
    ResetGlobals();
    GameLevel = glExpert;
    SetLevelSize(glExpert);
    RandomSeed = 20261210u;
}

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations.load() - before),
                                                  benchmark::Counter::kAvgIterations);
}

// The distribution tables' board: placed, numbered from the mines outward, 3BV.
void BM_ExpertRandomBoardAnd3BV(benchmark::State& state) {
    UseExpert();
    const long before = allocations.load();
    for (auto _ : state) {
        GenerateRandomBoard(99);
        benchmark::DoNotOptimize(Calc3BV());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ExpertRandomBoardAnd3BV);

// The first click's board: placement with the visible layer, relocation, ComputeNumbers (3BV).
void BM_ExpertBoardForClick(benchmark::State& state) {
    UseExpert();
    const long before = allocations.load();
    for (auto _ : state) {
        GenerateBoardForClick(15, 8);
        benchmark::DoNotOptimize(Board3BV);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ExpertBoardForClick);

void BM_CalcZiNiExpert(benchmark::State& state) {
    UseExpert();
    // A spread of boards; each iteration puts back the WorkBoard that Calc3BV left for it.
    struct TSnapshot {
        TBoardLayer hidden;
        TWorkLayer work;
    };
    std::vector<TSnapshot> boards(64);
    for (auto& b : boards) {
        GenerateBoardForClick(15, 8);
        b.hidden = HiddenBoard;
        b.work = WorkBoard;
    }
    size_t next = 0;
    const long before = allocations.load();
    for (auto _ : state) {
        const TSnapshot& b = boards[next++ % boards.size()];
        HiddenBoard = b.hidden;
        WorkBoard = b.work;
        CalcZiNi();
        benchmark::DoNotOptimize(GZiNi + HZiNi);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_CalcZiNiExpert)->Unit(benchmark::kMicrosecond);

// Normal play when no board reaches the minimum: 1001 boards, then the measurements.
void BM_WorstExpertFirstClickBoards(benchmark::State& state) {
    UseExpert();
    const long before = allocations.load();
    for (auto _ : state) {
        for (int n = 0; n < 1001; ++n)
            GenerateBoardForClick(15, 8);
        CalcZiNi();
        benchmark::DoNotOptimize(CountIslands());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_WorstExpertFirstClickBoards)->Unit(benchmark::kMillisecond);

// The whole first-click step through a search that never succeeds (1000 boards).
void BM_ExpertFirstClickFailedSearch(benchmark::State& state) {
    UseExpert();
    Options.doApprox3BV = true;
    Options.se3BVValue = 0;
    Options.seAttemptsValue = 1;
    for (auto _ : state) {
        WaitingFirstClick = 1;
        GameTimerEnabled = 0;
        GenerateFirstClickBoard(15, 8, {});
        benchmark::DoNotOptimize(Board3BV);
    }
}
BENCHMARK(BM_ExpertFirstClickFailedSearch)->Unit(benchmark::kMillisecond);

void BM_ExpertDistributionMillion(benchmark::State& state) {
    UseExpert();
    for (auto _ : state)
        Calc3BVDistributionExpert(1000000);
}
BENCHMARK(BM_ExpertDistributionMillion)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
} // namespace quorlet
