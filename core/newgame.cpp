#include "core/newgame.h"

#include <algorithm>
#include <functional>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"
#include "core/mouseinput.h"
#include "core/sysinfo.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

template <typename Hook, typename... Args> void Call(const Hook& hook, Args&&... args) {
    if (hook) hook(std::forward<Args>(args)...);
}

// The steps the new game and the level items share, before and after their own.
void ClearForNewGame() {
    ResetBoardForNewGame();
    ReplayPlayerName.clear();
    GameTimerInterval = 10;
    Call(UiHooks.SetGameTimerInterval, uint32_t{10});
    Call(UiHooks.SetMainCaption, ApplicationTitle());
    Call(UiHooks.ShowReplayCursor, false);
    Call(UiHooks.HideProgressBarWindow);
}

void ShowNewBoard() {
    ClearVideoEvents();
    NewGameFace = imf1;
    Call(UiHooks.RedrawBoard);
}

} // namespace

std::string ApplicationTitle() {
    return Options.doProhibitMultInstances ? "Minesweeper Quorlet" : "Minesweeper Quorlet ";
}

void NewGameCommand() {
    static const char* const kLevelNames[] = {"beginner", "intermediate", "expert", "custom"};
    ClearForNewGame();
    Call(UiHooks.ReloadInterface);
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
    ShowNewBoard();
    DebugLog("");
    DebugLog("data clearance done for " + std::string(kLevelNames[std::min<int>(GameLevel, glCustom)]) +
             " board " + std::to_string(LastColumn + 1) + "x" + std::to_string(LastRow + 1) + ", " +
             std::to_string(MineCount) + " mines");
    ResetCountersWindow();
    LogMemoryUsage();
}

void SelectLevelCommand(uint8_t level) {
    static const char* const kLogTexts[] = {"beginner mode selected", "intermediate mode selected",
                                            "expert mode selected"};
    if (level > glExpert) return;
    GameLevel = level;
    // The start-up level follows the last choice.
    Options.doStartUpMode = level;
    ClearForNewGame();
    Call(UiHooks.ReloadInterface);
    ShowNewBoard();
    ResetCountersWindow();
    DebugLog(kLogTexts[level]);
    LogMemoryUsage();
}

void ResetCountersWindow() {
    Call(UiHooks.SetCountersColour, int32_t{-1});
    Call(UiHooks.SetCountersColumnWidths, int32_t{Options.widthCr1}, int32_t{Options.widthCr2});
    RefreshCounters();
    Call(UiHooks.SetSaveReplayEnabled, false);
}

} // namespace quorlet
