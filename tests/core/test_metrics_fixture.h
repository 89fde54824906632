// Small boards as strings for the metrics, ZiNi and generation tests: one line per row,
// one character per column, '*' a mine and anything else a safe cell.
#pragma once

#include <string>

#include "core/FData.h"
#include "core/board.h"

namespace quorlet::test {

// Sets the size from the text, places the mines and runs ComputeNumbers (numbers, Board3BV,
// Openings, WorkBoard). Returns the mine count, which also becomes MineCount.
inline int LoadBoard(const std::string& text) {
    HiddenBoard = {};
    int column = 0, row = 0, width = 0, mines = 0;
    for (char ch : text) {
        if (ch == '\n') {
            ++row;
            column = 0;
            continue;
        }
        HiddenBoard[column][row] = ch == '*' ? csMine : csCovered;
        mines += ch == '*';
        if (++column > width) width = column;
    }
    LastColumn = static_cast<uint8_t>(width - 1);
    LastRow = static_cast<uint8_t>(row);
    MineCount = static_cast<uint16_t>(mines);
    ComputeNumbers();
    return mines;
}

// HiddenBoard as text in the same form, numbers as digits.
inline std::string HiddenText() {
    std::string text;
    for (int r = 0; r <= LastRow; ++r) {
        if (r > 0) text += '\n';
        for (int c = 0; c <= LastColumn; ++c)
            text += HiddenBoard[c][r] == csMine ? '*' : static_cast<char>('0' + HiddenBoard[c][r]);
    }
    return text;
}

} // namespace quorlet::test
