// Saving and opening a video file must stay under 20 ms each for a 100,000-event video (a game
// of over 16 minutes with the mouse moving all along).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/qvf.h"
#include "core/random.h"
#include "core/video.h"

namespace {

constexpr uint32_t kEvents = 100000;

std::filesystem::path BenchFolder() {
    auto folder =
        std::filesystem::temp_directory_path() / ("quorlet-bench-qvf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

// An Expert board with a long video of moves and a click every half second.
void SetUpLongGame() {
    using namespace quorlet;
    ResetGlobals();
    GameLevel = glExpert;
    SetLevelSize(glExpert);
    RandomSeed = 99;
    uint16_t placed = 0;
    while (placed < MineCount) {
        TCellState& cell = HiddenBoard[Random(30)][Random(16)];
        if (cell != csMine) cell = csMine, ++placed;
    }
    ComputeNumbers();
    Options.UserIDText = "Bench Player";
    WaitingFirstClick = 0;
    for (uint32_t i = 0; i < kEvents; ++i) {
        SetClock(static_cast<uint16_t>(i / 100), static_cast<uint8_t>(i % 100));
        const auto x = static_cast<uint16_t>(i % 480), y = static_cast<uint16_t>(i / 7 % 256);
        if (i % 50 == 0)
            RecordLeftPress(x, y);
        else if (i % 50 == 1)
            RecordLeftRelease(x, y);
        else
            RecordMouseMove(x, y);
    }
}

void BM_SaveReplay100kEvents(benchmark::State& state) {
    const auto folder = BenchFolder();
    SetUpLongGame();
    const std::string path = (folder / "long.qvf").string();
    for (auto _ : state)
        benchmark::DoNotOptimize(quorlet::SaveReplayFile(path));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveReplay100kEvents)->Unit(benchmark::kMillisecond);

void BM_LoadReplay100kEvents(benchmark::State& state) {
    const auto folder = BenchFolder();
    SetUpLongGame();
    const std::string path = (folder / "long.qvf").string();
    quorlet::SaveReplayFile(path);
    for (auto _ : state) {
        if (!quorlet::LoadReplayFile(path)) state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(quorlet::VideoEventCount);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadReplay100kEvents)->Unit(benchmark::kMillisecond);

} // namespace
