// The main window's openers of the secondary windows and the custom board's start. Each opener
// does its own steps (the clock, a new game, the counters window) and then calls the window's
// show entry in UiHooks; a window that does not exist yet is only logged.
#include <QAction>
#include <QApplication>
#include <QImage>

#include <functional>
#include <string>
#include <utility>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/newgame.h"
#include "core/sysinfo.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "settings/FCap.h"
#include "settings/customboard.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

template <typename... TArgs>
void OpenWindow(const std::function<void(TArgs...)>& entry, const char* window, TArgs... args) {
    if (entry)
        entry(args...);
    else
        DebugLog(std::string(window) + " window is not there yet");
}

} // namespace

void TMain::WireCommands() {
    const std::pair<QAction*, void (TMain::*)()> commands[] = {
        {CustomBtn, &TMain::CustomBtnClick},           {HighScoresBtn, &TMain::HighScoresBtnClick},
        {StatisticsBtn, &TMain::StatisticsBtnClick},   {PreferencesBtn, &TMain::PreferencesBtnClick},
        {LanguageBtn, &TMain::LanguageBtnClick},       {AboutBtn, &TMain::AboutBtnClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
    // After each level item's own handler: a check mark never moves without the level.
    for (QAction* a : {BeginnerBtn, IntermediateBtn, ExpertBtn, CustomBtn})
        connect(a, &QAction::triggered, this, [this] { SyncLevelChecks(); });
    // The panels around the smiley take its press and release pictures too.
    for (TBevelPanel* panel : {pInfo, pBombs, pTimer}) {
        panel->OnLeftPress = [this] { SetFaceImage(0); };
        panel->OnLeftRelease = [this] { SetFaceImage(1); };
    }
}

void TMain::InstallCommandHooks() {
    // The automatic saving's "<BOARD>" runs whatever the board-save item runs.
    UiHooks.SaveBoardCommand = [] {
        if (TMain* m = MainWindow()) m->btnSaveBoard->trigger();
    };
}

void TMain::SyncLevelChecks() {
    BeginnerBtn->setChecked(GameLevel == glBeginner);
    IntermediateBtn->setChecked(GameLevel == glIntermediate);
    ExpertBtn->setChecked(GameLevel == glExpert);
    CustomBtn->setChecked(GameLevel == glCustom);
}

void TMain::CustomBtnClick() {
    StopGameClock();
    NewBtnClick();
    BoardTouched = 0;
    HideCountersWindow();
    HideProgressBarWindow();
    ReplayMode = PreviewReplayMode = 0;
    // The dialog places itself, takes the level's values, lists the presets and shows.
    OpenWindow(UiHooks.ShowCustomBoardWindow, "custom board");
    HideCountersWindow();
}

void TMain::HighScoresBtnClick() {
    StopGameClock();
    HideCountersWindow();
    OpenWindow<int32_t>(UiHooks.ShowHighScoresWindow, "high scores", 1);
}

void TMain::StatisticsBtnClick() {
    StopGameClock();
    HideProgressBarWindow();
    HideCountersWindow();
    const int32_t item = GameLevel == glBeginner ? 1 : GameLevel == glIntermediate ? 8 : 15;
    OpenWindow<int32_t>(UiHooks.ShowHistoryWindow, "statistics", item);
}

void TMain::PreferencesBtnClick() {
    StopGameClock();
    NewBtnClick();
    const QPoint corner = pos();
    Options.posMainX = corner.x();
    Options.posMainY = corner.y();
    HideCountersWindow();
    OpenWindow<int32_t>(UiHooks.ShowOptionsWindow, "options", 1);
}

void TMain::LanguageBtnClick() {
    StopGameClock();
    NewBtnClick();
    HideCountersWindow();
    OpenWindow<int32_t>(UiHooks.ShowOptionsWindow, "options", 5);
}

void TMain::AboutBtnClick() {
    // F1 opens the box once per run; the menu item keeps working.
    AboutBtn->setShortcut(QKeySequence());
    NewBtnClick();
    HideCountersWindow();
    OpenWindow(UiHooks.ShowAboutWindow, "about");
}

void TMain::MultiplayerBtnClick() {
    StopGameClock();
    HideCountersWindow();
    OpenWindow(UiHooks.ShowMultiplayerWindow, "multiplayer");
}

void TMain::ApplyCustomBoard(int width, int height, int mines) {
    QApplication::setApplicationName(ApplicationTitle());
    setWindowTitle(ApplicationTitle());
    // The one reset of a new game, then the new size over the level's own.
    ResetBoardForNewGame();
    ReplayPlayerName.clear();
    GameTimerInterval = 10;
    if (UiHooks.SetGameTimerInterval) UiHooks.SetGameTimerInterval(10);
    LastColumn = static_cast<uint8_t>(width - 1);
    LastRow = static_cast<uint8_t>(height - 1);
    MineCount = static_cast<uint16_t>(mines);
    ReleasePressedCells();
    WaitingFirstClick = 1;
    ReplayMode = PreviewReplayMode = 0;
    HideProgressBarWindow();
    GameOver = 0;
    ClearBoard();
    ClearVideoEvents();
    show();
    if (const auto level = StandardLevelOf(width, height, mines)) {
        QAction* const items[] = {BeginnerBtn, IntermediateBtn, ExpertBtn};
        items[*level]->trigger();
        return;
    }
    GameLevel = glCustom;
    ReloadInterface();
    SyncLevelChecks();
    box->FillSurface(QColor(0xC0, 0xC0, 0xC0));
    RedrawBoard();
    ResetCountersWindow();
    DebugLog(UIText("0045"));
    DebugLog("data clearance done for custom board " + std::to_string(width) + "x" + std::to_string(height) +
             ", " + std::to_string(mines) + " mines");
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
    LogMemoryUsage();
}

} // namespace quorlet
