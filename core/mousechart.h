// The mouse path chart of a game video: the options and the recorded events turned into
// drawing primitives (fills, the path, the held-button stretches, the press dots). The window
// paints them in order on the board image.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quorlet {

// The chart's 14 colours as 0xRRGGBB, by the options' colour index.
extern const std::array<uint32_t, 14> kChartColours;
// The colour of an index; an index past the table takes the first colour.
uint32_t ChartColour(uint8_t index);

struct TChartPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const TChartPoint&) const = default;
};

// One polyline in one colour (the path, or a stretch while a button was held).
struct TChartLine {
    uint32_t colour = 0;
    std::vector<TChartPoint> points;
};

struct TChartDot {
    uint32_t colour = 0;
    TChartPoint at;
};

struct TMouseChart {
    // The whole board image black, then (when set) grey 16 x 16 squares on the cells whose
    // column + row is odd, or every cell drawn with its darkened picture.
    bool fillBlack = false;
    bool checkerboard = false;
    bool darkenCells = false;
    // Empty when the path is off.
    TChartLine path;
    std::vector<TChartLine> stretches;
    // Drawn as filled circles in the box (x - 2, y - 2) .. (x + 2, y + 2), in this order.
    std::vector<TChartDot> dots;
};

// The chart of events [0, count) of VideoEvents by the MOUSE_CHART options. While a video is
// prepared for playback VideoEventCount is its last event's index, so count is one more then;
// a live game's count is VideoEventCount itself.
TMouseChart BuildMouseChart();
TMouseChart BuildMouseChart(uint32_t count);

// The chart command's condition: false (with the log line while the clock runs) unless the
// game is over, the board is solved, or a video is played and paused.
bool MouseChartAllowed();

} // namespace quorlet
