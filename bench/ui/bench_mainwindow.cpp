// The main window's drawing and start-up: the partial redraw after a click on Expert must stay
// under 1 ms, the full redraw under 5 ms, and start-up to the first painted board under 500 ms.
// Needs Qt (a full build with -DQUORLET_BENCH=ON); runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include "bench/ui/qt_bench_main.h"

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

namespace {

using namespace quorlet;

class TFolder {
  public:
    TFolder() {
        static int n = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("quorlet-bench-main-" + std::to_string(::getpid()) + "-" + std::to_string(++n));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        ::setenv("QUORLET_HOME", path_.c_str(), 1);
    }
    ~TFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

  private:
    std::filesystem::path path_;
};

// Counts the paint events of one widget.
class TPaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

std::unique_ptr<TMain> OpenMain() {
    ResetGlobals();
    ResetUiHooks();
    UiHooks.ShowMessageBox = [](const std::string&) {};
    auto w = std::make_unique<TMain>();
    w->show();
    QCoreApplication::processEvents();
    return w;
}

// From an empty program folder: the main window's whole start-up until the board's first
// paint (the Qt application and its platform plugin already exist, so the process start is
// left out: bench/startup measures a real start beside a bare Qt window). Registered first, so its
// first run also draws the skins.
void BM_StartUpToFirstPaintedBoard(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<TFolder>();
        ResetGlobals();
        ResetUiHooks();
        UiHooks.ShowMessageBox = [](const std::string&) {};
        TPaintCounter counter;
        state.ResumeTiming();
        auto w = std::make_unique<TMain>();
        w->box->installEventFilter(&counter);
        w->show();
        while (counter.paints == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        w->box->removeEventFilter(&counter);
        w->close();
        w.reset();
        folder.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstPaintedBoard)->Unit(benchmark::kMillisecond)->Iterations(20);

// One left click in the middle of an Expert board: the first click opens the board's start.
void BM_RedrawChangedCellsAfterOneClickOnExpert(benchmark::State& state) {
    TFolder folder;
    auto w = OpenMain();
    w->ExpertBtnClick();
    TBoardLayer before{};
    int changed = 0;
    // A click that opens an opening is the largest partial redraw: take the first seed whose
    // board opens at least 60 cells.
    for (uint32_t seed = 1; seed < 200 && changed < 60; ++seed) {
        w->NewBtnClick();
        RandomSeed = seed;
        BoardMouseDown(TMouseSender::Board, mbLeft, 14 * 16 + 8, 8 * 16 + 8);
        BoardMouseUp(TMouseSender::Board, mbLeft, 14 * 16 + 8, 8 * 16 + 8);
        changed = 0;
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r) {
                before[c][r] = csCovered;
                changed += VisibleBoard[c][r] != csCovered;
            }
    }
    for (auto _ : state) {
        state.PauseTiming();
        DrawnBoard = before;
        state.ResumeTiming();
        w->RedrawChangedCells();
    }
    state.counters["cells"] = changed;
}
BENCHMARK(BM_RedrawChangedCellsAfterOneClickOnExpert)->Unit(benchmark::kMicrosecond);

// The commonest case: one cell changed (a flag), with the counters and overlays redrawn.
void BM_RedrawChangedCellsOneCellOnExpert(benchmark::State& state) {
    TFolder folder;
    auto w = OpenMain();
    w->ExpertBtnClick();
    bool flag = false;
    for (auto _ : state) {
        flag = !flag;
        VisibleBoard[5][5] = flag ? TCellState{csFlag} : TCellState{csCovered};
        w->RedrawChangedCells();
    }
}
BENCHMARK(BM_RedrawChangedCellsOneCellOnExpert)->Unit(benchmark::kMicrosecond);

void BM_RedrawBoardExpert(benchmark::State& state) {
    TFolder folder;
    auto w = OpenMain();
    w->ExpertBtnClick();
    for (auto _ : state)
        w->RedrawBoard();
}
BENCHMARK(BM_RedrawBoardExpert)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
