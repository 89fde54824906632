// The history window over a full table of 262,144 records. Targets: opening on the level
// summary under 300 ms; any page switch under 0.5 s; F7 (statistics, which reads the whole
// "stats.dat" again) and F6 (high scores) from the key to the painted window under 100 ms.
// Needs Qt (a full build with -DQUORLET_BENCH=ON); runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include "bench/ui/qt_bench_main.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/FMain.h"
#include "app/stats/FHistory.h"
#include "app/stats/Flocal_high_scores.h"
#include "bench/bench_fullhistory.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "stats/historyfile.h"

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
    state.counters[QUORLET_BENCH_TARGET_MS] = 300;
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
    state.counters[QUORLET_BENCH_TARGET_MS] = item == 25 ? 100 : 500;
}
BENCHMARK(BM_PageSwitch)->Arg(16)->Arg(17)->Arg(18)->Arg(21)->Arg(23)->Arg(24)->Arg(25)->Arg(27)
    ->Unit(benchmark::kMillisecond);

// Counts the paint events of one window.
class TPaintWatch : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// The real program's windows over a program folder whose "stats.dat" holds the full history.
struct TProgram {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorlet-bench-keys-" + std::to_string(::getpid()));
    std::unique_ptr<TMain> main;
    std::unique_ptr<THistory> history;
    std::unique_ptr<TLocal_High_Scores> highScores;

    TProgram() {
        std::filesystem::create_directories(folder);
        ::setenv("QUORLET_HOME", folder.c_str(), 1);
        ResetGlobals();
        ResetUiHooks();
        bench::MakeFullHistory();
        bench::WriteHistoryFile((folder / "stats.dat").string(), kHistoryCapacity,
                                [](uint32_t i) -> const TGameRecord& { return GameHistory[i]; });
        UiHooks.ShowMessageBox = [](const std::string&) {};
        main = std::make_unique<TMain>();
        main->show();
        history = std::make_unique<THistory>(main.get());
        highScores = std::make_unique<TLocal_High_Scores>();
        QCoreApplication::processEvents();
    }
    ~TProgram() {
        highScores.reset();
        history.reset();
        main.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

// The menu item of F7 or F6 until `window` has painted, then the window closed again untimed.
template <typename Window>
void KeyToPaintedWindow(benchmark::State& state, QAction* TMain::*key, Window window) {
    TProgram program;
    QWidget* target = window(program);
    TPaintWatch watch;
    target->installEventFilter(&watch);
    for (auto _ : state) {
        watch.painted = false;
        // The key's menu item (offscreen, a key reaches no shortcut of an inactive window).
        (program.main.get()->*key)->trigger();
        QElapsedTimer waited;
        waited.start();
        while (!watch.painted && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!watch.painted) {
            state.SkipWithError("the window never painted");
            break;
        }
        state.PauseTiming();
        target->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    target->removeEventFilter(&watch);
    state.counters[QUORLET_BENCH_TARGET_MS] = 100;
}

void BM_F7ToPaintedHistoryWindow(benchmark::State& state) {
    KeyToPaintedWindow(state, &TMain::StatisticsBtn, [](TProgram& p) -> QWidget* { return p.history.get(); });
}
BENCHMARK(BM_F7ToPaintedHistoryWindow)->Unit(benchmark::kMillisecond);

void BM_F6ToPaintedHighScoresWindow(benchmark::State& state) {
    KeyToPaintedWindow(state, &TMain::HighScoresBtn,
                       [](TProgram& p) -> QWidget* { return p.highScores.get(); });
}
BENCHMARK(BM_F6ToPaintedHighScoresWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
