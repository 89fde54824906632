// Shared helpers for tests that play games through the engine's mouse routines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/mouseinput.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "testutil.h"

namespace quorlet::test {

// A board drawn as rows of '*' (mine) and '.' (safe), all the same length.
inline void LoadBoard(std::string_view rows, uint8_t level = glCustom) {
    std::vector<std::string> lines;
    std::string line;
    for (char ch : rows) {
        if (ch == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else if (ch != ' ') {
            line += ch;
        }
    }
    if (!line.empty()) lines.push_back(line);
    GameLevel = level;
    LastColumn = static_cast<uint8_t>(lines[0].size() - 1);
    LastRow = static_cast<uint8_t>(lines.size() - 1);
    MineCount = 0;
    HiddenBoard = {};
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            VisibleBoard[c][r] = csCovered;
    for (std::size_t r = 0; r < lines.size(); ++r)
        for (std::size_t c = 0; c < lines[r].size(); ++c) {
            const bool mine = lines[r][c] == '*';
            HiddenBoard[c][r] = mine ? csMine : csCovered;
            MineCount += mine;
        }
    ComputeNumbers();
    NumberCellCounts = {};
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            if (HiddenBoard[c][r] <= 8) ++NumberCellCounts[HiddenBoard[c][r]];
}

// A board already generated: the first click is behind us and the clock runs.
inline void StartLoadedGame(std::string_view rows, uint8_t level = glCustom) {
    LoadBoard(rows, level);
    WaitingFirstClick = 0;
    GameOver = 0;
    // The first click opened cells: a tick on an untouched board would start a new game.
    BoardTouched = 1;
    StartGameClock();
}

// Pixel inside a cell, a few pixels off its corner.
inline int Px(int cell) {
    return cell * 16 + 5;
}

inline void Press(TMouseButton b, int c, int r) {
    BoardMouseDown(TMouseSender::Board, b, Px(c), Px(r));
}
inline void Release(TMouseButton b, int c, int r) {
    BoardMouseUp(TMouseSender::Board, b, Px(c), Px(r));
}
inline void Click(TMouseButton b, int c, int r) {
    Press(b, c, r);
    Release(b, c, r);
}

inline void Ticks(int count) {
    for (int i = 0; i < count; ++i)
        GameClockTick();
}

// 8x8 with 10 mines: one opening and four isolated numbers in the top row (3BV 5).
inline constexpr std::string_view kBeginnerBoard = "*.*.*.*.\n"
                                                   "........\n"
                                                   "........\n"
                                                   "........\n"
                                                   "........\n"
                                                   "........\n"
                                                   "........\n"
                                                   "******..\n";

} // namespace quorlet::test
