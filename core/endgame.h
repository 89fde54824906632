// The end of a game: loss, win, the rankability rule and what a finished game triggers.
#pragma once

#include <cstdint>

namespace quorlet {

// The loss at a cell (a mine opened or the clock ran out).
void GameLost(uint8_t column, uint8_t row);
// The time-out loss: as GameLost(0, 0) but never taken back by infinite lives.
void GameLostByTimeout();
// The game-won test and what follows; nothing unless the board is solved.
void GameWon();

// True when the game may not enter the history and the records (Custom, non-standard size,
// or a cheat option on).
bool IsGameUnranked();
// True when none of the cheat options is on (the size is not looked at).
bool IsGameClean();

// The end-of-game stamp text from Now: day.HH:MM:SS:mmm.
void SetGameEndStamp();

} // namespace quorlet
