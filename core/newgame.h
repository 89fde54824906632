// The new-game and level commands: every path that starts a new game (the new-game button,
// the level items, the end of a game, a refused video, the clock) runs these, and the main
// window only repaints through the hooks they call.
#pragma once

#include <cstdint>
#include <string>

namespace quorlet {

// The application title: "Minesweeper Quorlet", with a trailing blank when several instances
// are allowed (the single-instance test looks for the exact title only).
std::string ApplicationTitle();

// The new-game button: clock stopped at 0 with the 10 ms interval, the title reset, playback
// ended (cursor and bar hidden), the layout for the level, the counters window shown or hidden
// by doShowCounters, a covered board of the level's size, the per-game counters, button flags
// and video cleared, then the board repainted and the counters reset. Logs the clearance.
void NewGameCommand();

// A level item (glBeginner, glIntermediate or glExpert): as a new game, but the level becomes
// the start-up level too, and the counters window keeps its state.
void SelectLevelCommand(uint8_t level);

// The counters window's colour, column widths and values reset; the save items disabled.
void ResetCountersWindow();

} // namespace quorlet
