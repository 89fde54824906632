// Playback speed. Target: one playback tick at the fastest speed (41, a 2 ms interval) well under
// 2 ms, engine only (no window repaints). The video is a whole Expert game recorded through the
// board's own mouse routines and the clock tick.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/mouseinput.h"
#include "core/playback.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "stats/counters.h"

namespace quorlet {
namespace {

int cursorX = 0;
int cursorY = 0;

void Move(int c, int r) {
    cursorX = c * 16 + 5;
    cursorY = r * 16 + 5;
    BoardMouseMove(TMouseSender::Board, cursorX, cursorY);
}

void Ticks(int n) {
    for (int i = 0; i < n && !GameOver; ++i)
        GameClockTick();
}

void Click(int c, int r) {
    Move(c, r);
    Ticks(3);
    BoardMouseDown(TMouseSender::Board, mbLeft, cursorX, cursorY);
    Ticks(2);
    BoardMouseUp(TMouseSender::Board, mbLeft, cursorX, cursorY);
}

// A won Expert game, every safe cell clicked in turn, then prepared as a preview at speed 41.
void RecordExpertGame() {
    ResetGlobals();
    ResetUiHooks();
    UiHooks.BoardCursorPos = [](int& x, int& y) {
        x = cursorX;
        y = cursorY;
    };
    // A counters window with usual rows is refreshed during playback as in a live game.
    Options.doCalculateCounters = 1;
    CountersWindowCreated = 1;
    CountersTemplateLines = {
        "Time|TIME", "3BV|BBBVDONE",      "@ / |BBBV",       "3BV/s|BBBV/TIMEREAL",   "Est|TIMEEST",
        "RQP|RQP",   "IOS|IOS",           "Clicks|TOTALCLK", "Eff|BBBV/TOTALCLK*100", "ZiNi|GZINI",
        "Path|PATH", "Openings|OPENINGS", "Islands|ISLANDS"};
    RandomSeed = 20261210u;
    GameLevel = glExpert;
    ResetBoardForNewGame();
    ClearVideoEvents();
    Click(15, 8);
    for (int c = 0; c <= LastColumn && !GameOver; ++c)
        for (int r = 0; r <= LastRow && !GameOver; ++r)
            if (HiddenBoard[c][r] != csMine && VisibleBoard[c][r] == csCovered) Click(c, r);
    PlaybackSpeed = kFastestSpeed;
    PreviewLastGame();
}

// Mean time of one tick over the whole game (Restart outside the timing).
void BM_PlaybackTickSpeed41(benchmark::State& state) {
    RecordExpertGame();
    const uint32_t events = VideoEventCount + 1;
    int64_t ticks = 0;
    // Per tick of the game its best time over the runs (a preempted run says nothing about
    // the tick), then the slowest tick of the game.
    std::vector<double> best;
    for (auto _ : state) {
        state.PauseTiming();
        RestartPlayback();
        state.ResumeTiming();
        for (std::size_t i = 0; GameTimerEnabled; ++i) {
            const auto start = std::chrono::steady_clock::now();
            GameClockTick();
            const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
            if (i >= best.size()) best.push_back(took.count());
            best[i] = std::min(best[i], took.count());
            ++ticks;
        }
    }
    const double worst = best.empty() ? 0 : *std::max_element(best.begin(), best.end());
    state.counters["events"] = events;
    state.counters["ticks/game"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kAvgIterations);
    state.counters["s/tick"] = benchmark::Counter(static_cast<double>(ticks),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["worst_us"] = worst;
    state.counters["won"] = NewGameFace == imf3;
}
BENCHMARK(BM_PlaybackTickSpeed41)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorlet
