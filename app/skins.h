// The pictures of the main window, drawn once at start-up: two cell skins (one picture per
// cell state), two LED digit sets and the faces of the new-game button.
#pragma once

#include <QImage>

#include <array>

namespace quorlet {

constexpr int kCellSize = 16;
constexpr int kCellPictures = 18;
constexpr int kLedWidth = 13;
constexpr int kLedHeight = 23;
constexpr int kLedGlyphs = 12;
constexpr int kFacePicture = 26;

struct TSkins {
    // im0 and im2: indexed by the skin number, then the cell state.
    std::array<std::array<QImage, kCellPictures>, 2> cells;
    // imN0 and ImN1: indexed by the LED skin, then LedGlyphIndex.
    std::array<std::array<QImage, kLedGlyphs>, 2> leds;
    // imf0 (pressed) .. imf4 (lost).
    std::array<QImage, 5> faces;
};

// Built on first use; needs a QGuiApplication.
const TSkins& Skins();

} // namespace quorlet
