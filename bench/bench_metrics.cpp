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

// Target 2 us: mines placed (the draws of PlaceMines), the board numbered into HiddenBoard and
// its 3BV computed, as the board loops do it.
void BM_ExpertBoardPlacedNumbered3BV(benchmark::State& state) {
    UseExpert();
    TMineBits mines;
    const long before = allocations.load();
    for (auto _ : state) {
        DrawMines(mines, 99);
        WriteNumbers(mines);
        benchmark::DoNotOptimize(Count3BV(mines));
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ExpertBoardPlacedNumbered3BV);

// The parts of one board, to see where the time goes.
void BM_ExpertDrawMines(benchmark::State& state) {
    UseExpert();
    TMineBits mines;
    for (auto _ : state) {
        DrawMines(mines, 99);
        benchmark::DoNotOptimize(mines);
    }
}
BENCHMARK(BM_ExpertDrawMines);

void BM_ExpertWriteNumbers(benchmark::State& state) {
    UseExpert();
    TMineBits mines;
    DrawMines(mines, 99);
    for (auto _ : state) {
        WriteNumbers(mines);
        benchmark::DoNotOptimize(HiddenBoard);
    }
}
BENCHMARK(BM_ExpertWriteNumbers);

// Over fresh boards, as the headline does: a few hundred boards cycled again and again are
// learnt by the branch predictor and read about twice too fast. 16384 boards (2 MB) are more
// than it can learn and still stay in the cache.
void BM_ExpertCount3BV(benchmark::State& state) {
    UseExpert();
    std::vector<TMineBits> boards(16384);
    for (auto& b : boards)
        DrawMines(b, 99);
    size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Count3BV(boards[next++ % boards.size()]));
}
BENCHMARK(BM_ExpertCount3BV);

// The layer form, run once on the board that is played: Openings and WorkBoard as well.
void BM_ExpertCalc3BV(benchmark::State& state) {
    UseExpert();
    std::vector<TBoardLayer> boards(256);
    for (auto& b : boards) {
        GenerateRandomBoard(99);
        b = HiddenBoard;
    }
    size_t next = 0;
    const long before = allocations.load();
    for (auto _ : state) {
        HiddenBoard = boards[next++ % boards.size()];
        benchmark::DoNotOptimize(Calc3BV());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ExpertCalc3BV);

// The board a first click keeps: relocation, visible layer, numbers, Calc3BV.
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

// Target 200 us: both passes.
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

// Target 5 ms: normal play when no board reaches the minimum. The loop of the first click as it
// runs (1001 boards judged by their mines), the kept board written out, then its measurements.
void BM_WorstExpertFirstClickBoards(benchmark::State& state) {
    UseExpert();
    TMineBits mines;
    const long before = allocations.load();
    for (auto _ : state) {
        for (int n = 0; n < 1001; ++n) {
            DrawBoardForClick(mines, 15, 8);
            benchmark::DoNotOptimize(Count3BV(mines));
        }
        KeepBoard(mines);
        CalcZiNi();
        benchmark::DoNotOptimize(CountIslands());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_WorstExpertFirstClickBoards)->Unit(benchmark::kMillisecond);

// The whole first-click step through a search that never succeeds (1000 boards). Its few
// allocations are the step's log line and captions, not the board loop's.
void BM_ExpertFirstClickFailedSearch(benchmark::State& state) {
    UseExpert();
    Options.doApprox3BV = true;
    Options.se3BVValue = 0;
    Options.seAttemptsValue = 1;
    const long before = allocations.load();
    for (auto _ : state) {
        WaitingFirstClick = 1;
        GameTimerEnabled = 0;
        GenerateFirstClickBoard(15, 8, {});
        benchmark::DoNotOptimize(Board3BV);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ExpertFirstClickFailedSearch)->Unit(benchmark::kMillisecond);

// Target 3 s on one core. Its allocations are the table's text, once per run.
void BM_ExpertDistributionMillion(benchmark::State& state) {
    UseExpert();
    const long before = allocations.load();
    for (auto _ : state)
        Calc3BVDistributionExpert(1000000);
    ReportAllocations(state, before);
}
BENCHMARK(BM_ExpertDistributionMillion)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
} // namespace quorlet
