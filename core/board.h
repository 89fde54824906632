// The cell rules: opening, flood, chord, marks and pressed previews over the board layers of FData.
// Every routine takes column first, then row; a neighbour at -1 wraps to 255 and is outside the board.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "core/FData.h"

namespace quorlet {

struct TNeighbourStep {
    int8_t dc;
    int8_t dr;
};

// The one order of the 8 neighbours. It decides the flood's recursion order and where a chord
// with a wrong flag stops, so every walk over neighbours must use it (through ForEachNeighbour).
inline constexpr std::array<TNeighbourStep, 8> NeighbourOrder{{
    {-1, -1},
    {1, -1},
    {0, -1},
    {-1, 1},
    {1, 1},
    {0, 1},
    {-1, 0},
    {1, 0},
}};

// True when the cell lies on the board of LastColumn+1 by LastRow+1 cells. The layer bounds are
// checked too, so a bad size from a file can never index past the layers.
inline bool InBoard(uint8_t column, uint8_t row) {
    return column <= LastColumn && row <= LastRow && column < kMaxColumns && row < kMaxRows;
}

inline bool IsNumberState(TCellState state) {
    return state <= 8;
}

// Calls visit(column, row) for each neighbour inside the board, in NeighbourOrder.
// When visit returns bool, false stops the walk; the result is false when the walk was stopped.
template <typename Visit> bool ForEachNeighbour(uint8_t column, uint8_t row, Visit&& visit) {
    for (const TNeighbourStep& step : NeighbourOrder) {
        const auto c = static_cast<uint8_t>(column + step.dc);
        const auto r = static_cast<uint8_t>(row + step.dr);
        if (!InBoard(c, r)) continue;
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&, uint8_t, uint8_t>, bool>) {
            if (!visit(c, r)) return false;
        } else {
            visit(c, r);
        }
    }
    return true;
}

// Mines on HiddenBoard among the neighbours (0..8).
TCellState CountAdjacentMines(uint8_t column, uint8_t row);
// Flags on VisibleBoard among the neighbours (0..8).
TCellState CountAdjacentFlags(uint8_t column, uint8_t row);
// Flags on VisibleBoard inside the board.
uint16_t CountFlags();
// MineCount - CountFlags(); negative when over-flagged.
int16_t MinesLeft();

// Numbers every safe HiddenBoard cell, then sets Board3BV.
void ComputeNumbers();

// Flood from an opened zero: opens covered / pressed-covered neighbours, recursing into zeros.
// Marks and opened cells stay; only OpenedNumberCounts changes.
void OpenAround(uint8_t column, uint8_t row);
enum class TOpenCellResult : uint8_t {
    Nothing, // an opened number, or a cell outside the board
    Marked,  // a flag (stays) or a question mark (back to covered): nothing opened
    Mine,    // the game was lost here (GameLost)
    Opened,  // the cell opened: the caller runs the game-won test
};
// Left release without a chord; the caller has counted the click.
TOpenCellResult OpenCell(uint8_t column, uint8_t row);
// The chord; true when it opened at least one cell. A mine under a neighbour loses the game there.
bool ChordOpen(uint8_t column, uint8_t row);
// Right press: covered -> flag -> question mark (or covered) -> covered, with the flag counters.
void CycleMark(uint8_t column, uint8_t row);

// Single press preview: covered -> pressed covered, question mark -> pressed question mark.
void PressCell(uint8_t column, uint8_t row);
// Press preview of the cell and its neighbours (centre first); question marks are pressed too
// only when pressQuestionMarks is set (the mouse moves with left and right both held).
void PressAround(uint8_t column, uint8_t row, bool pressQuestionMarks);
// Undoes every press preview inside the board.
void ReleasePressedCells();

// All 900 cells of VisibleBoard covered.
void ClearBoard();
// Sets BoardTouched once a cell inside the board is neither covered nor pressed covered.
void MarkBoardTouched();
bool IsBoardSolved();
bool IsNoFlagGame();
bool HasHiddenZeroNeighbour(uint8_t column, uint8_t row);
bool HasVisibleZeroNeighbour(uint8_t column, uint8_t row);

// Sets the standard size of a standard level (Custom keeps its size).
void SetLevelSize(uint8_t level);
// The board side of a new game: clock stopped at 0, level size, covered board, per-game counters
// and button flags cleared, WaitingFirstClick set.
void ResetBoardForNewGame();

} // namespace quorlet
