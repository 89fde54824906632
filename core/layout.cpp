#include "core/layout.h"

#include <algorithm>
#include <cstdlib>

#include "core/FData.h"

namespace quorlet {

TMainLayout ComputeMainLayout(int columns, int rows, bool showIDText, int nameLabelHeight) {
    TMainLayout l;
    l.pBox = {9, 52, columns * 16 + 6, rows * 16 + 6};
    l.pMain = {0, 0, l.pBox.left + l.pBox.width + 9, l.pBox.top + l.pBox.height + 9};
    l.pInfo = {kInfoLeft, kInfoTop, l.pBox.width, kInfoHeight};
    l.box = {3, 3, l.pBox.width - 6, l.pBox.height - 6};
    l.pBombs = {kBombsLeft, kLedPanelTop, kLedPanelWidth, kLedPanelHeight};
    l.pTimer = {l.pInfo.width - kLedPanelWidth - 8, kLedPanelTop, kLedPanelWidth, kLedPanelHeight};
    l.bNewGame = {l.pInfo.width / 2 - 13, kFaceTop, kFaceSize, kFaceSize};
    l.NameLabel = {6, l.pMain.height + 6, l.pBox.width + 6, nameLabelHeight};
    l.clientWidth = l.pMain.width;
    l.clientHeight = l.pMain.height + (showIDText ? nameLabelHeight + 12 : 0);
    return l;
}

int LedGlyphIndex(char c) {
    if (c == ' ') return 0;
    if (c == '-') return 1;
    if (c >= '1' && c <= '9') return c - '1' + 3;
    return 2;
}

namespace {

std::array<char, 3> ThreeDigits(int n) {
    return {static_cast<char>('0' + n / 100 % 10), static_cast<char>('0' + n / 10 % 10),
            static_cast<char>('0' + n % 10)};
}

} // namespace

std::array<char, 3> MineCounterText(int minesLeft) {
    auto text = ThreeDigits(std::abs(minesLeft) % 1000);
    if (minesLeft < 0) text[0] = '-';
    return text;
}

TTimerDisplay TimerDisplay(uint16_t seconds, uint8_t hundredths, bool showTenths, bool recorderStyle) {
    TTimerDisplay d;
    if (!showTenths) {
        const int n = seconds + (hundredths > 0 ? 1 : 0);
        d.text = ThreeDigits(std::min(n, 999));
        return d;
    }
    int v = seconds * 100 + hundredths + (recorderStyle ? 100 : 0);
    if (v < 1000) {
        d.text = ThreeDigits(v);
        d.dotAfter = 1;
    } else if (v <= 9990) {
        if (v % 10 > 0) v += 10;
        d.text = ThreeDigits(v / 10);
        d.dotAfter = 2;
    } else {
        // Whole seconds rounded up, capped so 999.01 never shows as 1000.
        d.text = ThreeDigits(std::min((v + 99) / 100, 999));
    }
    return d;
}

THintColour ProbabilityHintColour(int column, int row) {
    if (column < 0 || row < 0 || column > LastColumn || row > LastRow) return THintColour::None;
    if (VisibleBoard[column][row] <= 8) return THintColour::None;
    int covered = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr) {
            const int c = column + dc, r = row + dr;
            if ((dc || dr) && c >= 0 && r >= 0 && c <= LastColumn && r <= LastRow &&
                VisibleBoard[c][r] == csCovered)
                ++covered;
        }
    const int v = covered * HiddenBoard[column][row];
    const int w = 8 * covered;
    return v < w ? THintColour::Green : v == w ? THintColour::Yellow : THintColour::Red;
}

} // namespace quorlet
