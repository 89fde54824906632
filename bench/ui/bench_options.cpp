// The options dialog: Apply (transfer, save, read back, texts) must stay under 200 ms and opening
// the dialog on a page under 150 ms. Needs Qt; runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/FMain.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "app/settings/FOptions.h"
#include "bench/ui/qt_bench_main.h"

namespace {

using namespace quorlet;

class TOptionsBench {
  public:
    TOptionsBench() {
        static int n = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("quorlet-bench-options-" + std::to_string(::getpid()) + "-" + std::to_string(++n));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        ::setenv("QUORLET_HOME", path_.c_str(), 1);
        ResetGlobals();
        ResetUiHooks();
        UiHooks.ShowMessageBox = [](const std::string&) {};
        main = std::make_unique<TMain>();
        main->show();
        options = std::make_unique<TOptions_window>();
        QCoreApplication::processEvents();
    }
    ~TOptionsBench() {
        options.reset();
        main.reset();
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::unique_ptr<TMain> main;
    std::unique_ptr<TOptions_window> options;

  private:
    std::filesystem::path path_;
};

void BM_OptionsApply(benchmark::State& state) {
    TOptionsBench b;
    for (auto _ : state) {
        state.PauseTiming();
        UiHooks.ShowOptionsWindow(1);
        state.ResumeTiming();
        b.options->ApplyBtnClick();
    }
}
BENCHMARK(BM_OptionsApply)->Unit(benchmark::kMillisecond);

void BM_OptionsOpenOnAPage(benchmark::State& state) {
    TOptionsBench b;
    int page = 0;
    for (auto _ : state) {
        UiHooks.ShowOptionsWindow(page % 10 + 1);
        QCoreApplication::processEvents();
        state.PauseTiming();
        b.options->CancelBtnClick();
        ++page;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OptionsOpenOnAPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
