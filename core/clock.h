// The game clock: hundredths counted as delivered 10 ms ticks, and the tick routine the
// main window's timer drives.
#pragma once

#include <cstdint>

#include "core/FData.h"

namespace quorlet {

void SetClock(uint16_t seconds, uint8_t hundredths);

// Enables the periodic timer (GameTimerEnabled and the UI hook); the clock is left alone.
void EnableGameTimer();
void DisableGameTimer();

// Clock to 0.00 and the timer on, unless the timer already runs.
void StartGameClock();
// Disables the timer during playback; ends the game unless the first click is still pending.
void StopGameClock();
// Clock := stamp of the last recorded video event; unchanged when nothing was recorded.
void SetClockFromLastEvent();

// One 10 ms tick (the body of the main window's timer handler).
void GameClockTick();

// The level's forced-new-game limit in seconds, or -1 for Custom.
int LevelTimeLimit(uint8_t level);

} // namespace quorlet
