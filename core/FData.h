// The game's global state: every subsystem reads and writes these directly on the GUI thread.
// This file is the one home of mutable globals. Each group below belongs to one topic;
// add new globals to the group of their topic (or a new group) and reset them in ResetGlobals.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/optionsset.h"

namespace quorlet {

// ---- Board model -------------------------------------------------------------------------

// One byte per cell; the value is also the index of the cell's picture in the skin.
using TCellState = uint8_t;

enum : TCellState {
    csCovered = 9,
    csQuestion = 10,
    csBlasted = 11,
    csWrongMark = 12,
    csMine = 13,
    csPressedQuestion = 14,
    csFlag = 15,
    csPressedCovered = 16,
    csReserved = 17,
};

constexpr int kMaxColumns = 30;
constexpr int kMaxRows = 30;

// Indexed [column][row]; a board uses the first LastColumn+1 columns and LastRow+1 rows.
template <typename T> using TLayer = std::array<std::array<T, kMaxRows>, kMaxColumns>;
using TBoardLayer = TLayer<TCellState>;
using TWorkLayer = TLayer<int32_t>;

extern TBoardLayer HiddenBoard;
extern TBoardLayer VisibleBoard;
extern TBoardLayer DrawnBoard;
extern TWorkLayer WorkBoard;

enum : uint8_t { glBeginner = 0, glIntermediate = 1, glExpert = 2, glCustom = 3 };

extern uint8_t GameLevel;
extern uint8_t LastColumn;
extern uint8_t LastRow;
extern uint16_t MineCount;

// Game-state flags (0 or 1).
extern uint8_t WaitingFirstClick;
extern uint8_t GameOver;
extern uint8_t LeftDown;
extern uint8_t RightDown;
extern uint8_t MiddleDown;
extern uint8_t ChordGuard;
extern uint8_t BoardTouched;
extern uint8_t ReplayMode;
extern uint8_t PreviewReplayMode;
extern uint8_t BossKeyHidden;
extern uint8_t DebugModeFlag;
extern uint8_t DebugWindowOn;
extern uint8_t ReplayVersion;

// Game counters.
extern uint16_t LeftClicks;
extern uint16_t RightClicks;
extern uint16_t DoubleClicks;
extern uint16_t CellsOpenedByLeft;
extern uint16_t FlagsOnMines;
extern uint16_t ChordsThatOpened;
extern uint16_t Solved3BV;
extern uint16_t OpenedOpenings;
extern std::array<uint16_t, 9> OpenedNumberCounts;
extern uint16_t FlagsPlaced;
extern std::array<uint16_t, 9> NumberCellCounts;
extern uint16_t Board3BV;
extern uint8_t Openings;
extern uint8_t Islands;
extern uint16_t GZiNi;
extern uint16_t HZiNi;
extern long double TimeEstimate;
extern long double MousePathLength;
struct TCursorPos {
    uint16_t x = 0;
    uint16_t y = 0;
};
extern TCursorPos LastCursorPos;
extern std::array<uint32_t, 3> LevelGameCounts;
extern std::string BoardString;
extern std::string GameIdText;
extern std::string GameEndStamp;

// ---- Debug log -------------------------------------------------------------------------

// The lines of the debug window, newest first.
extern std::vector<std::string> DebugLogLines;

// ---- Random generator --------------------------------------------------------------------

extern uint32_t RandomSeed;

// ---- Settings ----------------------------------------------------------------------------

extern tOptionsSet Options;

// Puts every global back to its start-of-program value (tests start from here).
void ResetGlobals();

} // namespace quorlet
