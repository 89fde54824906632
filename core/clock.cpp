#include "core/clock.h"

#include <algorithm>

#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/newgame.h"
#include "core/playback.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

uint16_t ClampToBoard(int value, uint8_t lastIndex) {
    const int most = lastIndex * 16 + 15;
    return static_cast<uint16_t>(std::clamp(value, 0, most));
}

void CallHook(const std::function<void()>& hook) {
    if (hook) hook();
}

} // namespace

void SetClock(uint16_t seconds, uint8_t hundredths) {
    GameClock.seconds = seconds;
    GameClock.hundredths = hundredths;
}

void EnableGameTimer() {
    GameTimerEnabled = 1;
    if (UiHooks.SetGameTimer) UiHooks.SetGameTimer(true);
}

void DisableGameTimer() {
    GameTimerEnabled = 0;
    if (UiHooks.SetGameTimer) UiHooks.SetGameTimer(false);
}

void StartGameClock() {
    if (GameTimerEnabled) return;
    SetClock(0, 0);
    EnableGameTimer();
}

void StopGameClock() {
    if (ReplayMode) DisableGameTimer();
    if (!WaitingFirstClick) {
        GameOver = 1;
        DisableGameTimer();
    }
}

void SetClockFromLastEvent() {
    // Nothing recorded: there is no last event to read.
    if (VideoEventCount == 0 || VideoEventCount > kVideoSlots) return;
    const TVideoEvent& last = VideoEvents[VideoEventCount - 1];
    SetClock(last.seconds, last.hundredths);
}

int LevelTimeLimit(uint8_t level) {
    switch (level) {
    case glBeginner: return Options.doFNGB;
    case glIntermediate: return Options.doFNGI;
    case glExpert: return Options.doFNGE;
    default: return -1;
    }
}

void GameClockTick() {
    if (Options.doDisableTimer) return;
    // A tick queued before the timer was disabled.
    if (!GameTimerEnabled) return;
    if (!ReplayMode && !BoardTouched) {
        NewGameCommand();
        // The new game's timer is off; going on would sample and advance its clock.
        return;
    }
    if (Options.doForcedNewGame && !ReplayMode) {
        const int limit = LevelTimeLimit(GameLevel);
        if (limit >= 0 && GameClock.seconds >= limit) {
            NewGameCommand();
            return;
        }
    }
    if (Options.doClipCursor && !ReplayMode) CallHook(UiHooks.ConfineCursorToBoard);
    if (GameClock.seconds > 998) {
        StopGameClock();
        DebugLog("you are too slow. sorry, game is over");
        GameLostByTimeout();
        // The game is over: no sample after the loss, and the LED stays at 999.
        return;
    }
    if (ReplayMode) {
        PlaybackTick();
        return;
    }

    int cx = 0;
    int cy = 0;
    if (UiHooks.BoardCursorPos) UiHooks.BoardCursorPos(cx, cy);
    const uint16_t x = ClampToBoard(cx, LastColumn);
    const uint16_t y = ClampToBoard(cy, LastRow);

    if (GameClock.hundredths < 99) {
        ++GameClock.hundredths;
        const uint8_t refresh = Options.CounterRefresh ? Options.CounterRefresh : 10;
        if (Options.doCalculateCounters && GameClock.hundredths % refresh == 0) RefreshCounters();
        RecordMouseMove(x, y);
        if (Options.doTimer && (GameClock.seconds <= 9 || GameClock.hundredths % 10 == 0) &&
            (Options.doShowTenths || GameClock.hundredths <= 1))
            CallHook(UiHooks.DrawTimer);
    } else {
        GameClock.hundredths = 0;
        if (GameClock.seconds < 999) {
            ++GameClock.seconds;
            if (Options.doBeepIfTimeExceedsValues && LevelTimeLimit(GameLevel) == GameClock.seconds)
                CallHook(UiHooks.Beep);
        }
        RefreshCounters();
        RecordMouseMove(x, y);
        if (Options.doTimer) CallHook(UiHooks.DrawTimer);
    }
}

} // namespace quorlet
