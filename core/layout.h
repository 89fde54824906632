// The main window's display arithmetic, free of Qt so it is tested directly: the panel layout
// for a board size, the LED texts of the mine counter and the clock, and the colour of the
// probability hint.
#pragma once

#include <array>
#include <cstdint>

namespace quorlet {

// ---- Window layout ----

struct TRectI {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TRectI&) const = default;
};

// Fixed parts of the form: the information strip above the board and its LED panels.
constexpr int kInfoLeft = 9;
constexpr int kInfoTop = 9;
constexpr int kInfoHeight = 34;
constexpr int kLedPanelWidth = 43; // three 13-pixel glyphs inside a 2-pixel bevel
constexpr int kLedPanelHeight = 27;
constexpr int kLedPanelTop = 4;
constexpr int kBombsLeft = 8;
constexpr int kFaceSize = 26;
constexpr int kFaceTop = 4;
constexpr int kNameLabelHeight = 16;

struct TMainLayout {
    TRectI pMain, pInfo, pBox, box, pBombs, pTimer, bNewGame, NameLabel;
    int clientWidth = 0;
    int clientHeight = 0;
};

// Layout for a board of columns x rows cells; the name line counts only when shown.
TMainLayout ComputeMainLayout(int columns, int rows, bool showIDText, int nameLabelHeight = kNameLabelHeight);

// ---- LED counters ----

// Index of a character's glyph: " " 0, "-" 1, "1".."9" 3..11, anything else (also "0") 2.
int LedGlyphIndex(char c);

// Three characters for the mines left; a negative count shows "-" first (-5 is "-05").
std::array<char, 3> MineCounterText(int minesLeft);

struct TTimerDisplay {
    std::array<char, 3> text{};
    // 0 no dot, 1 after the first glyph, 2 after the second.
    int dotAfter = 0;
    bool operator==(const TTimerDisplay&) const = default;
};

// What the clock shows; never more than 999.
TTimerDisplay TimerDisplay(uint16_t seconds, uint8_t hundredths, bool showTenths, bool recorderStyle);

// ---- Probability hint ----

enum class THintColour { None, Green, Yellow, Red };

// Colour of the hint square on cell (column, row) from the board layers; None outside the
// board and on a cell that shows a number.
THintColour ProbabilityHintColour(int column, int row);

} // namespace quorlet
