#include "core/mousechart.h"

#include <algorithm>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"

namespace quorlet {

const std::array<uint32_t, 14> kChartColours = {
    0xFFFFFF, // white
    0x00FFFF, // aqua
    0xFFFF00, // yellow
    0x00FF00, // lime
    0xC0C0C0, // silver
    0x008080, // teal
    0x808080, // gray
    0x008000, // green
    0xFF0000, // red
    0x800080, // purple
    0xFF00FF, // fuchsia
    0x800000, // maroon
    0x0000FF, // blue
    0x000080, // navy
};

uint32_t ChartColour(uint8_t index) {
    return index < kChartColours.size() ? kChartColours[index] : kChartColours[0];
}

namespace {

TChartPoint At(const TVideoEvent& e) {
    return TChartPoint{e.x, e.y};
}

bool AnyRelease(const TVideoEvent& e) {
    return e.leftRelease || e.rightRelease || e.middleRelease;
}

} // namespace

TMouseChart BuildMouseChart() {
    // The live buffer's slot at VideoEventCount is still zero: drawing it would add a stray
    // line to (0, 0).
    const uint64_t count = ReplayMode ? uint64_t{VideoEventCount} + 1 : VideoEventCount;
    return BuildMouseChart(static_cast<uint32_t>(std::min<uint64_t>(count, kVideoSlots)));
}

TMouseChart BuildMouseChart(uint32_t count) {
    count = std::min<uint32_t>(count, kVideoSlots);
    TMouseChart chart;
    if (Options.DoChangeLayout) {
        chart.fillBlack = true;
        chart.checkerboard = !Options.DarkenBoard && Options.mpShowCells;
        chart.darkenCells = Options.DarkenBoard;
    }
    if (Options.ShowMousePath && count > 0) {
        chart.path.colour = ChartColour(Options.mPathColor);
        chart.path.points.reserve(count);
        for (uint32_t i = 0; i < count; ++i)
            chart.path.points.push_back(At(VideoEvents[i]));
    }
    if (Options.ShowDownState) {
        // The stretch being drawn is always the last one; a stretch of one point draws nothing.
        bool open = false;
        auto close = [&] {
            if (open && chart.stretches.back().points.size() < 2) chart.stretches.pop_back();
            open = false;
        };
        for (uint32_t i = 0; i < count; ++i) {
            const TVideoEvent& e = VideoEvents[i];
            if (open) chart.stretches.back().points.push_back(At(e));
            const bool press = e.middlePress || e.rightPress || e.leftPress;
            if (press) {
                const uint8_t colour = e.middlePress ? Options.mpDColor
                                       : e.rightPress ? Options.mpRColor
                                                      : Options.mpLColor;
                close();
                chart.stretches.push_back(TChartLine{ChartColour(colour), {At(e)}});
                open = true;
            }
            if (AnyRelease(e)) close();
        }
        close();
    }
    const struct {
        bool on;
        uint8_t TVideoEvent::*flag;
        uint8_t colour;
    } dotKinds[] = {
        {Options.ShowDoubleCl, &TVideoEvent::middlePress, Options.mpDColor},
        {Options.ShowRightCl, &TVideoEvent::rightPress, Options.mpRColor},
        {Options.ShowLeftCl, &TVideoEvent::leftPress, Options.mpLColor},
    };
    for (const auto& kind : dotKinds) {
        if (!kind.on) continue;
        for (uint32_t i = 0; i < count; ++i)
            if (VideoEvents[i].*kind.flag) chart.dots.push_back(TChartDot{ChartColour(kind.colour), At(VideoEvents[i])});
    }
    return chart;
}

bool MouseChartAllowed() {
    if (GameTimerEnabled) {
        DebugLog("mouse chart can be shown only on game end or pause");
        return false;
    }
    return GameOver || IsBoardSolved() || ReplayMode;
}

} // namespace quorlet
