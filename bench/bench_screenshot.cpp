// Screenshot encoding and the mouse chart's primitives: a 1920 x 1080 capture must encode
// under 300 ms; the chart of 100,000 events is part of a draw that must stay under 100 ms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/FData.h"
#include "core/mousechart.h"
#include "core/screenshot.h"

namespace {

using namespace quorlet;

void BM_EncodeJpegFullHdCapture(benchmark::State& state) {
    const int w = 1920, h = 1080;
    // A desktop-like picture: flat areas with gradients and sharp edges.
    std::vector<uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint8_t>((x / 64) % 2 ? 200 : x % 256);
            p[1] = static_cast<uint8_t>(y % 256);
            p[2] = static_cast<uint8_t>(((x ^ y) & 8) ? 255 : 30);
        }
    std::string jpeg;
    for (auto _ : state) {
        EncodeJpeg(rgb.data(), w, h, static_cast<std::size_t>(w) * 3, jpeg);
        benchmark::DoNotOptimize(jpeg.data());
    }
    state.counters["bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_EncodeJpegFullHdCapture)->Unit(benchmark::kMillisecond);

void BM_MouseChartOf100000Events(benchmark::State& state) {
    ResetGlobals();
    Options.ShowMousePath = Options.ShowDownState = Options.ShowLeftCl = Options.ShowRightCl = true;
    Options.ShowDoubleCl = Options.DoChangeLayout = Options.mpShowCells = true;
    VideoEventCount = 100000;
    for (uint32_t i = 0; i < VideoEventCount; ++i) {
        TVideoEvent& e = VideoEvents[i];
        e = {};
        e.x = static_cast<uint16_t>((i * 7) % 480);
        e.y = static_cast<uint16_t>((i * 13) % 256);
        e.leftPress = i % 10 == 0;
        e.leftRelease = i % 10 == 3;
        e.rightPress = i % 50 == 5;
        e.rightRelease = i % 50 == 6;
    }
    for (auto _ : state) {
        const TMouseChart chart = BuildMouseChart();
        benchmark::DoNotOptimize(chart.path.points.data());
    }
}
BENCHMARK(BM_MouseChartOf100000Events)->Unit(benchmark::kMillisecond);

} // namespace
