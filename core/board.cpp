#include "core/board.h"

#include <algorithm>

#include "core/clock.h"
#include "core/endgame.h"
#include "core/metrics.h"

namespace quorlet {

namespace {

// Visits every cell inside the board, clipped to the layers.
template <typename Visit> void ForEachBoardCell(Visit&& visit) {
    const int columns = std::min<int>(LastColumn, kMaxColumns - 1);
    const int rows = std::min<int>(LastRow, kMaxRows - 1);
    for (int c = 0; c <= columns; ++c)
        for (int r = 0; r <= rows; ++r)
            visit(static_cast<uint8_t>(c), static_cast<uint8_t>(r));
}

bool IsCoveredState(TCellState state) {
    return state == csCovered || state == csPressedCovered;
}

void DecrementNotBelowZero(uint16_t& counter) {
    if (counter > 0) --counter;
}

// Shows the hidden number of a cell the player opened himself and credits the solved 3BV:
// a zero that starts an unopened opening counts once (then floods), a number counts when
// it borders no opening. Cells opened by the flood never come here.
void OpenByPlayer(uint8_t column, uint8_t row) {
    const TCellState number = HiddenBoard[column][row];
    VisibleBoard[column][row] = number;
    ++OpenedNumberCounts[number];
    if (number == 0) {
        if (!HasVisibleZeroNeighbour(column, row)) {
            ++Solved3BV;
            ++OpenedOpenings;
        }
        OpenAround(column, row);
    } else if (!HasHiddenZeroNeighbour(column, row)) {
        ++Solved3BV;
    }
}

} // namespace

TCellState CountAdjacentMines(uint8_t column, uint8_t row) {
    TCellState mines = 0;
    ForEachNeighbour(column, row, [&](uint8_t c, uint8_t r) {
        if (HiddenBoard[c][r] == csMine) ++mines;
    });
    return mines;
}

TCellState CountAdjacentFlags(uint8_t column, uint8_t row) {
    TCellState flags = 0;
    ForEachNeighbour(column, row, [&](uint8_t c, uint8_t r) {
        if (VisibleBoard[c][r] == csFlag) ++flags;
    });
    return flags;
}

uint16_t CountFlags() {
    uint16_t flags = 0;
    ForEachBoardCell([&](uint8_t c, uint8_t r) {
        if (VisibleBoard[c][r] == csFlag) ++flags;
    });
    return flags;
}

int16_t MinesLeft() {
    return static_cast<int16_t>(static_cast<int>(MineCount) - CountFlags());
}

void ComputeNumbers() {
    ForEachBoardCell([](uint8_t c, uint8_t r) {
        if (HiddenBoard[c][r] != csMine) HiddenBoard[c][r] = CountAdjacentMines(c, r);
    });
    Board3BV = Calc3BV();
}

void OpenAround(uint8_t column, uint8_t row) {
    ForEachNeighbour(column, row, [](uint8_t c, uint8_t r) {
        const TCellState number = HiddenBoard[c][r];
        if (!IsCoveredState(VisibleBoard[c][r]) || !IsNumberState(number)) return;
        VisibleBoard[c][r] = number;
        ++OpenedNumberCounts[number];
        if (number == 0) OpenAround(c, r);
    });
}

TOpenCellResult OpenCell(uint8_t column, uint8_t row) {
    if (!InBoard(column, row)) return TOpenCellResult::Nothing;
    TCellState& shown = VisibleBoard[column][row];
    if (shown == csFlag) return TOpenCellResult::Marked;
    if (shown == csQuestion || shown == csPressedQuestion) {
        shown = csCovered;
        return TOpenCellResult::Marked;
    }
    const TCellState hidden = HiddenBoard[column][row];
    if (hidden == csMine) {
        GameLost(column, row);
        return TOpenCellResult::Mine;
    }
    // A board not yet numbered has nothing to show.
    if (IsNumberState(shown) || !IsNumberState(hidden)) return TOpenCellResult::Nothing;
    ++CellsOpenedByLeft;
    OpenByPlayer(column, row);
    return TOpenCellResult::Opened;
}

bool ChordOpen(uint8_t column, uint8_t row) {
    if (!InBoard(column, row)) return false;
    if (Options.doDisableGroupOpen || !IsNumberState(VisibleBoard[column][row]) ||
        CountAdjacentFlags(column, row) != HiddenBoard[column][row])
        return false;
    bool opened = false;
    ForEachNeighbour(column, row, [&](uint8_t c, uint8_t r) {
        const TCellState shown = VisibleBoard[c][r];
        if (!IsCoveredState(shown) && shown != csQuestion && shown != csPressedQuestion) return true;
        const TCellState hidden = HiddenBoard[c][r];
        if (hidden == csMine) {
            GameLost(c, r);
            return false;
        }
        if (IsNumberState(hidden)) {
            OpenByPlayer(c, r);
            opened = true;
        }
        return true;
    });
    return opened;
}

void CycleMark(uint8_t column, uint8_t row) {
    if (!InBoard(column, row)) return;
    TCellState& shown = VisibleBoard[column][row];
    const bool mine = HiddenBoard[column][row] == csMine;
    switch (shown) {
    case csCovered:
        shown = csFlag;
        ++FlagsPlaced;
        if (mine) ++FlagsOnMines;
        break;
    case csMine:
        if (!Options.doShowMinesPos) break;
        shown = csFlag;
        ++FlagsPlaced;
        ++FlagsOnMines;
        break;
    case csFlag:
        DecrementNotBelowZero(FlagsPlaced);
        if (mine) DecrementNotBelowZero(FlagsOnMines);
        if (Options.doShowMinesPos)
            shown = mine ? csMine : csCovered;
        else
            shown = Options.doMarks ? csQuestion : csCovered;
        break;
    case csQuestion: shown = csCovered; break;
    default: break;
    }
}

void PressCell(uint8_t column, uint8_t row) {
    if (!InBoard(column, row)) return;
    TCellState& shown = VisibleBoard[column][row];
    if (shown == csCovered)
        shown = csPressedCovered;
    else if (shown == csQuestion)
        shown = csPressedQuestion;
}

void PressAround(uint8_t column, uint8_t row, bool pressQuestionMarks) {
    if (!InBoard(column, row)) return;
    auto press = [pressQuestionMarks](uint8_t c, uint8_t r) {
        TCellState& shown = VisibleBoard[c][r];
        if (shown == csCovered)
            shown = csPressedCovered;
        else if (pressQuestionMarks && shown == csQuestion)
            shown = csPressedQuestion;
    };
    press(column, row);
    ForEachNeighbour(column, row, press);
}

void ReleasePressedCells() {
    ForEachBoardCell([](uint8_t c, uint8_t r) {
        TCellState& shown = VisibleBoard[c][r];
        if (shown == csPressedCovered)
            shown = csCovered;
        else if (shown == csPressedQuestion)
            // Also with doMarks off: a mark left from before the option changed must not stay pressed.
            shown = csQuestion;
    });
}

void ClearBoard() {
    for (auto& column : VisibleBoard)
        column.fill(csCovered);
}

void MarkBoardTouched() {
    ForEachBoardCell([](uint8_t c, uint8_t r) {
        if (!IsCoveredState(VisibleBoard[c][r])) BoardTouched = 1;
    });
}

bool IsBoardSolved() {
    if (Solved3BV < Board3BV) return false;
    bool solved = true;
    ForEachBoardCell([&](uint8_t c, uint8_t r) {
        if (HiddenBoard[c][r] != csMine && !IsNumberState(VisibleBoard[c][r])) solved = false;
    });
    return solved;
}

bool IsNoFlagGame() {
    return RightClicks == 0;
}

bool HasHiddenZeroNeighbour(uint8_t column, uint8_t row) {
    return !ForEachNeighbour(column, row, [](uint8_t c, uint8_t r) { return HiddenBoard[c][r] != 0; });
}

bool HasVisibleZeroNeighbour(uint8_t column, uint8_t row) {
    return !ForEachNeighbour(column, row, [](uint8_t c, uint8_t r) { return VisibleBoard[c][r] != 0; });
}

void SetLevelSize(uint8_t level) {
    switch (level) {
    case glBeginner: LastColumn = 7, LastRow = 7, MineCount = 10; break;
    case glIntermediate: LastColumn = 15, LastRow = 15, MineCount = 40; break;
    case glExpert: LastColumn = 29, LastRow = 15, MineCount = 99; break;
    default: break;
    }
}

void ResetBoardForNewGame() {
    // Not StopGameClock: that leaves the timer running while WaitingFirstClick is still set.
    DisableGameTimer();
    SetClock(0, 0);
    SetLevelSize(GameLevel);
    ClearBoard();
    LeftClicks = RightClicks = DoubleClicks = CellsOpenedByLeft = FlagsOnMines = 0;
    ChordsThatOpened = Solved3BV = FlagsPlaced = OpenedOpenings = 0;
    OpenedNumberCounts = {};
    MousePathLength = 0;
    LeftDown = RightDown = MiddleDown = ChordGuard = 0;
    BoardTouched = GameOver = ReplayMode = PreviewReplayMode = 0;
    WaitingFirstClick = 1;
}

} // namespace quorlet
