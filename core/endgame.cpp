#include "core/endgame.h"

#include <cstdio>
#include <string>

#include "core/FData.h"
#include "core/autosave.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/mouseinput.h"
#include "core/newgame.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "stats/chatformat.h"
#include "stats/counters.h"
#include "stats/highscores.h"
#include "stats/gamerecord.h"
#include "stats/historyfile.h"

namespace quorlet {

namespace {

struct TLevelSize {
    uint8_t lastColumn;
    uint8_t lastRow;
    uint16_t mines;
};

constexpr TLevelSize kLevelSizes[3] = {{7, 7, 10}, {15, 15, 40}, {29, 15, 99}};

bool IsMarkOrQuestion(TCellState state) {
    return state == csFlag || state == csQuestion || state == csPressedQuestion;
}

void RequestRedraw() {
    if (UiHooks.RequestRedraw) UiHooks.RequestRedraw();
}

void ShowCountersAtEnd(bool onFinish) {
    if (!Options.doShowCounters && (Options.doCountersOnEnd || onFinish)) ShowCountersWindow();
}

void SetSaveReplayItems(bool enabled) {
    if (UiHooks.SetSaveReplayEnabled) UiHooks.SetSaveReplayEnabled(enabled);
}

void RevealBoard(uint8_t column, uint8_t row) {
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            TCellState& shown = VisibleBoard[c][r];
            const bool mine = HiddenBoard[c][r] == csMine;
            if (IsMarkOrQuestion(shown) && !mine)
                shown = csWrongMark;
            else if (shown == csCovered && mine)
                shown = csMine;
        }
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            TCellState& shown = VisibleBoard[c][r];
            const bool mine = HiddenBoard[c][r] == csMine;
            if (mine && shown != csFlag)
                shown = csMine;
            else if (IsMarkOrQuestion(shown) && !mine)
                shown = csWrongMark;
        }
    if (column < kMaxColumns && row < kMaxRows) VisibleBoard[column][row] = csBlasted;
}

// At most `percent` of the board's 3BV solved; a board without 3BV is never cleared.
bool ClearanceDue() {
    if (!Options.doBoardClearance || Board3BV == 0) return false;
    return uint32_t{Solved3BV} * 100u <= uint32_t{Options.seClearanceCompl} * Board3BV;
}

void LoseGame(uint8_t column, uint8_t row, bool timeout) {
    // A time-out is final: infinite lives must not re-cover the top-left cell.
    if (!timeout && Options.doInfiniteLives && !ReplayMode) {
        if (column < kMaxColumns && row < kMaxRows) VisibleBoard[column][row] = csCovered;
        DebugLog(UIText("0010"));
        return;
    }
    DisableGameTimer();
    GameOver = 1;
    VideoPlaybackIndex = VideoEventCount;
    LeftDown = RightDown = MiddleDown = ChordGuard = 0;
    NewGameFace = imf4;
    RevealBoard(column, row);
    UpdateNow();
    SetGameEndStamp();
    if (UiHooks.SetCountersColour) UiHooks.SetCountersColour(-1);
    if (ReplayMode) {
        RefreshCounters();
        if (Options.cbBlastedCopyTemplate) CopyBlastedGameInfo();
        RequestRedraw();
        return;
    }

    DebugLog(UIText("0009") + " time=" + CounterValueText("|TIME") + "/" + CounterValueText("|TIMEEST") +
             " 3bv=" + std::to_string(Solved3BV) + "/" + std::to_string(Board3BV) +
             " 3bv/s=" + CounterValueText("|BBBVDONE/TIMEREAL"));
    DebugLog("");
    SetSaveReplayItems(!IsGameUnranked() || IsGameClean());
    AutoSaveReplayByTemplate();
    // The counters and the blasted-game copy read this game, so they go before the clearance.
    RefreshCounters();
    ShowCountersAtEnd(false);
    if (Options.cbBlastedCopyTemplate) CopyBlastedGameInfo();
    if (ClearanceDue()) NewGameCommand();
    RequestRedraw();
}

// A full table keeps its end slot: the game is neither stored nor counted.
bool HasFreeHistorySlot() {
    if (FindFreeHistorySlot() < kHistoryCapacity) return true;
    DebugLog("# history table full: game not stored");
    return false;
}

} // namespace

bool IsGameUnranked() {
    if (GameLevel > glExpert) return true;
    const TLevelSize& size = kLevelSizes[GameLevel];
    if (LastColumn != size.lastColumn || LastRow != size.lastRow || MineCount != size.mines) return true;
    return !IsGameClean();
}

bool IsGameClean() {
    const tOptionsSet& o = Options;
    return !(o.doDisableTimer || o.doAutoFlag || o.doDisableGroupOpen || o.doDisableRightClicks ||
             o.doInfiniteLives || o.doShowProbabilities || o.doShowMinesPos || o.doShow3BVAfterGameStart ||
             o.doApprox3BV || o.doApprox3BV2 || o.doMustHave7 || o.doMustHave8);
}

void SetGameEndStamp() {
    char millis[8];
    std::snprintf(millis, sizeof millis, "%03u", static_cast<unsigned>(Now.milliseconds % 1000));
    GameEndStamp =
        std::to_string(Now.day) + "." + FormatClockTime(Now.hour, Now.minute, Now.second) + ":" + millis;
}

void GameLost(uint8_t column, uint8_t row) {
    LoseGame(column, row, false);
}

void GameLostByTimeout() {
    LoseGame(0, 0, true);
}

void GameWon() {
    if (!IsBoardSolved()) return;
    StopGameClock();
    // The time is the stamp of the release that won, not the clock at this test.
    SetClockFromLastEvent();
    if (Options.doFillFlags)
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                if (HiddenBoard[c][r] == csMine) VisibleBoard[c][r] = csFlag;
    NewGameFace = imf3;
    DisableGameTimer();
    RequestRedraw();
    if (ReplayMode) {
        if (UiHooks.DrawTimer) UiHooks.DrawTimer();
    } else {
        DebugLog(UIText("0007") + " " + FormatGameTime(GameClock.seconds, GameClock.hundredths) + " " +
                 UIText("0008") + " 3BV=" + std::to_string(Board3BV) +
                 " 3BV/S=" + CounterValueText("|BBBV/TIMEREAL"));
    }
    UpdateNow();
    SetGameEndStamp();
    const bool ranked = !IsGameUnranked();
    const bool store = !ReplayMode && ranked && HasFreeHistorySlot();
    if (store) ++LevelGameCounts[GameLevel];
    RefreshCounters();
    if (ReplayMode) return;

    ShowCountersAtEnd(Options.doCountersOnFinish);
    if (Options.cbFinishedCopyTemplate) CopyFinishedGameInfo();
    if (ranked || IsGameClean()) {
        SetSaveReplayItems(true);
        AutoSaveReplayByTemplate();
    }
    if (ranked) AppendHistoryRecord();
    if (store) {
        const uint32_t slot = FindFreeHistorySlot();
        GameHistory[slot] = CurrentGameRecord();
        ComposeHighScoreNotice(static_cast<int32_t>(slot));
    }
}

} // namespace quorlet
