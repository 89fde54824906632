// History file and counters. Targets: load a full 262,144-record "stats.dat" (12.8 MB) under
// 100 ms, and the start's part of a damaged one of 1 GiB as fast (its copy waits for the window);
// append one record, flushed to the disk, within a few milliseconds (one append per won game);
// evaluate a usual counters template under 1 ms.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/bench_fullhistory.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "stats/counters.h"
#include "stats/historyfile.h"

namespace quorlet {
namespace {

// A fresh folder for the files, removed at exit (a full history is 12.8 MB).
class TBenchFolder {
  public:
    TBenchFolder() {
        char pattern[] = "/tmp/quorlet-bench-stats-XXXXXX";
        if (const char* made = ::mkdtemp(pattern)) path_ = std::string(made) + "/";
    }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;
    ~TBenchFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

const std::string& BenchFolder() {
    static const TBenchFolder folder;
    return folder.path();
}

TGameRecord BenchRecord(uint32_t i) {
    TGameRecord r;
    r.day = static_cast<uint8_t>(1 + i % 28);
    r.month = static_cast<uint8_t>(1 + i % 12);
    r.year = 2026;
    r.hour = static_cast<uint8_t>(i % 24);
    r.level = static_cast<uint8_t>(i % 3);
    r.timeSec = static_cast<uint16_t>(5 + i % 200);
    r.timeHund = static_cast<uint8_t>(i % 100);
    r.bbbv = static_cast<uint16_t>(10 + i % 300);
    r.rightClicks = static_cast<uint16_t>(i % 7);
    r.leftClicks = static_cast<uint16_t>(20 + i % 100);
    r.path = i * 13;
    return r;
}

void WriteFullHistory() {
    bench::WriteHistoryFile(BenchFolder() + "stats.dat", kHistoryCapacity, BenchRecord);
}

void BM_LoadFullHistoryFile(benchmark::State& state) {
    Options.LastPath = BenchFolder();
    WriteFullHistory();
    // Start-up clears the big tables before it loads the history: their pages are mapped by then.
    ClearGameHistory();
    for (auto _ : state) {
        LoadHistoryFile();
        benchmark::DoNotOptimize(GameHistory[kHistoryCapacity - 1].day);
    }
}
BENCHMARK(BM_LoadFullHistoryFile)->Unit(benchmark::kMillisecond);

void BM_AppendHistoryRecord(benchmark::State& state) {
    Options.LastPath = BenchFolder();
    Options.doHistoryLog = true;
    std::remove((BenchFolder() + "stats.dat").c_str());
    GameLevel = glExpert;
    GameClock = {80, 12};
    Board3BV = 160;
    for (auto _ : state)
        benchmark::DoNotOptimize(AppendHistoryRecord());
}
BENCHMARK(BM_AppendHistoryRecord)->Unit(benchmark::kMicrosecond);

// A damaged file of 1 GiB (sparse: its size costs no disk): what the start pays before the window
// shows. The copy and the cut are handed to the window, here a recorder that drops them.
void BM_LoadHugeDamagedHistoryFile(benchmark::State& state) {
    Options.LastPath = BenchFolder();
    const std::string path = BenchFolder() + "stats.dat";
    int deferred = 0;
    UiHooks.RunAfterWindowShown = [&deferred](std::function<void()>) { ++deferred; };
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "not a record";
    }
    std::filesystem::resize_file(path, (uint64_t{1} << 30) + 3);
    ClearGameHistory();
    for (auto _ : state) {
        LoadHistoryFile();
        benchmark::DoNotOptimize(GameHistory[0].day);
    }
    state.counters["deferred copies"] = benchmark::Counter(deferred, benchmark::Counter::kAvgIterations);
    UiHooks.RunAfterWindowShown = nullptr;
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadHugeDamagedHistoryFile)->Unit(benchmark::kMillisecond);

// A won Expert game against a history of 1,000 games.
void BM_EvaluateUsualCountersTemplate(benchmark::State& state) {
    ResetGlobals();
    for (uint32_t i = 0; i < 1000; ++i) {
        GameHistory[i] = BenchRecord(i);
        DeriveRecordFields(GameHistory[i]);
    }
    LevelGameCounts = {334, 333, 333};
    GameLevel = glExpert;
    GameOver = 1;
    GameClock = {80, 12};
    Board3BV = Solved3BV = 160;
    LeftClicks = 200;
    RightClicks = 40;
    CountersWindowCreated = 1;
    CountersTemplateLines = {"Time|TIME",
                             "3BV|BBBVDONE",
                             "@ / |BBBV",
                             "3BV/s|BBBV/TIMEREAL",
                             "Est|TIMEEST",
                             "RQP|RQP",
                             "IOS|IOS",
                             "Clicks|TOTALCLK",
                             "Eff|BBBV/TOTALCLK*100",
                             "ZiNi|GZINI",
                             "Rank|RANKTIME",
                             "Rank 3BV/s|RANKBBBVS",
                             "RPI|RPI",
                             "Path|PATH",
                             "Openings|OPENINGS",
                             "Islands|ISLANDS"};
    for (auto _ : state) {
        RefreshCounters();
        benchmark::DoNotOptimize(CounterValues[0].data());
    }
}
BENCHMARK(BM_EvaluateUsualCountersTemplate)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorlet
