// A new game (F2) in the main window, from the menu item to the repainted board: under 20 ms.
// Needs Qt (a full build with -DQUORLET_BENCH=ON); runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QEvent>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "core/FData.h"
#include "core/mouseinput.h"
#include "core/uihooks.h"
#include "bench/ui/qt_bench_main.h"

namespace {

using namespace quorlet;

// Counts the paint events of one widget.
class TPaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void NewGameToRepaintedBoard(benchmark::State& state, void (TMain::*level)()) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorlet-bench-commands-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("QUORLET_HOME", folder.c_str(), 1);
    ResetGlobals();
    ResetUiHooks();
    UiHooks.ShowMessageBox = [](const std::string&) {};
    auto w = std::make_unique<TMain>();
    w->show();
    ((*w).*level)();
    QCoreApplication::processEvents();
    TPaintCounter counter;
    w->box->installEventFilter(&counter);
    for (auto _ : state) {
        state.PauseTiming();
        // A game under way: the first click has opened part of the board.
        BoardMouseDown(TMouseSender::Board, mbLeft, 5 * 16 + 8, 5 * 16 + 8);
        BoardMouseUp(TMouseSender::Board, mbLeft, 5 * 16 + 8, 5 * 16 + 8);
        w->RedrawChangedCells();
        QCoreApplication::processEvents();
        counter.paints = 0;
        state.ResumeTiming();
        w->NewBtn->trigger();
        while (counter.paints == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    w->box->removeEventFilter(&counter);
    w.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

void BM_NewGameBeginner(benchmark::State& state) {
    NewGameToRepaintedBoard(state, &TMain::BeginnerBtnClick);
}
BENCHMARK(BM_NewGameBeginner)->Unit(benchmark::kMillisecond);

void BM_NewGameExpert(benchmark::State& state) {
    NewGameToRepaintedBoard(state, &TMain::ExpertBtnClick);
}
BENCHMARK(BM_NewGameExpert)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
