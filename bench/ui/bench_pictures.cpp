// The mouse chart drawn over 100,000 events must stay under 100 ms; one whole Shift+F12 (capture,
// encode, write) under Xvfb under 300 ms. Runs offscreen unless a platform is chosen; the
// screenshot figure means something only on xcb (QT_QPA_PLATFORM=xcb xvfb-run -a ...).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/FMain.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "bench/ui/qt_bench_main.h"

namespace {

using namespace quorlet;

std::unique_ptr<TMain> OpenMainInTemporaryFolder(std::filesystem::path& folder) {
    char pattern[] = "/tmp/quorlet-bench-pictures-XXXXXX";
    folder = ::mkdtemp(pattern);
    ::setenv("QUORLET_HOME", folder.c_str(), 1);
    ResetGlobals();
    ResetUiHooks();
    UiHooks.ShowMessageBox = [](const std::string&) {};
    auto w = std::make_unique<TMain>();
    w->show();
    QCoreApplication::processEvents();
    return w;
}

void BM_DrawMousePath100000Events(benchmark::State& state) {
    std::filesystem::path folder;
    auto w = OpenMainInTemporaryFolder(folder);
    w->ExpertBtnClick();
    Options.ShowMousePath = Options.ShowDownState = Options.ShowLeftCl = Options.ShowRightCl = true;
    Options.ShowDoubleCl = Options.DoChangeLayout = Options.mpShowCells = true;
    VideoEventCount = 100000;
    for (uint32_t i = 0; i < VideoEventCount; ++i) {
        TVideoEvent& e = VideoEvents[i];
        e = {};
        // A wandering cursor, a few pixels per event, as recorded games move.
        e.x = static_cast<uint16_t>(240 + 220 * std::sin(i / 700.0) + (i % 5));
        e.y = static_cast<uint16_t>(128 + 110 * std::cos(i / 1100.0) + (i % 3));
        e.leftPress = i % 10 == 0;
        e.leftRelease = i % 10 == 3;
        e.middlePress = i % 50 == 5;
        e.middleRelease = i % 50 == 6;
    }
    for (auto _ : state)
        w->DrawMousePath();
    w.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DrawMousePath100000Events)->Unit(benchmark::kMillisecond);

void BM_FullScreenshot(benchmark::State& state) {
    std::filesystem::path folder;
    auto w = OpenMainInTemporaryFolder(folder);
    for (auto _ : state)
        w->MakeFULLScreenshotBtnClick();
    state.SetLabel(QGuiApplication::platformName().toStdString());
    w.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FullScreenshot)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
