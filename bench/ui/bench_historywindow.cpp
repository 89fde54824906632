// The history window over a full table of 262,144 records. Targets: opening on the level
// summary under 300 ms; any page switch under 0.5 s (the entire listing is the longest).
// Needs Qt (a full build with -DQUORLET_BENCH=ON); runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include "bench/ui/qt_bench_main.h"

#include <QApplication>
#include <QWidget>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_fullhistory.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "app/stats/FHistory.h"

namespace {

using namespace quorlet;

// A program folder without "stats.dat", so opening keeps the generated table.
void FreshFolder() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / ("quorlet-bench-history-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        ::setenv("QUORLET_HOME", p.c_str(), 1);
        return p.string() + "/";
    }();
    Options.LastPath = path;
    UiHooks.ShowMessageBox = [](const std::string&) {};
}

void BM_OpenOnLevelSummary(benchmark::State& state) {
    FreshFolder();
    bench::MakeFullHistory();
    QWidget main;
    THistory history(&main);
    for (auto _ : state) {
        UiHooks.ShowHistoryWindow(15);
        QApplication::processEvents();
        state.PauseTiming();
        history.ExitBtnClick();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenOnLevelSummary)->Unit(benchmark::kMillisecond);

// From the level summary to the page of the given outline item.
void BM_PageSwitch(benchmark::State& state) {
    FreshFolder();
    bench::MakeFullHistory();
    Options.doShowEquals = true;
    QWidget main;
    THistory history(&main);
    UiHooks.ShowHistoryWindow(15);
    const int item = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        history.SelectItem(15);
        QApplication::processEvents();
        state.ResumeTiming();
        history.SelectItem(item);
        QApplication::processEvents();
    }
    history.ExitBtnClick();
}
BENCHMARK(BM_PageSwitch)->Arg(16)->Arg(17)->Arg(18)->Arg(21)->Arg(23)->Arg(24)->Arg(25)->Arg(27)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
