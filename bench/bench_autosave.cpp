// The automatic-saving decision at a game's end: under 1 ms for the default template; a
// template file of the largest size read stays far from stalling the game's end.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/FData.h"
#include "core/autosave.h"

namespace {

using namespace quorlet;

// A Beginner game lost at 40 %: every rule is read, none saves.
void SetUpLostGame() {
    ResetGlobals();
    Options.LastPath = "/nonexistent-quorlet-bench/";
    Options.doCond = true;
    GameLevel = glBeginner;
    GameClock = {7, 30};
    Board3BV = 20;
    Solved3BV = 8;
}

void BM_DefaultTemplateDecision(benchmark::State& state) {
    SetUpLostGame();
    SetDefaultAutosaveTemplate();
    for (auto _ : state)
        AutoSaveReplayByTemplate();
}
BENCHMARK(BM_DefaultTemplateDecision)->Unit(benchmark::kMicrosecond);

// The largest file read (1 MiB) of rules that all fail on their last clause.
void BM_LargestTemplateDecision(benchmark::State& state) {
    SetUpLostGame();
    AutosaveTemplateLines.clear();
    std::size_t bytes = 0;
    while (bytes < kMaxAutosaveTemplateBytes) {
        for (const char* line : {"mode=1 and time<100 and 3bv>1 and completion=100",
                                 "<mode>_<time>_3BV=<3bv>_3BVs=<3bv/s>_<name>", "PATH=replays"}) {
            AutosaveTemplateLines.emplace_back(line);
            bytes += AutosaveTemplateLines.back().size() + 2;
        }
    }
    for (auto _ : state)
        AutoSaveReplayByTemplate();
    state.counters["rules"] = static_cast<double>(AutosaveTemplateLines.size() / 3);
}
BENCHMARK(BM_LargestTemplateDecision)->Unit(benchmark::kMillisecond);

} // namespace
