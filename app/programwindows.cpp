#include "app/programwindows.h"

#include "app/FMain.h"
#include "app/FProgressBar.h"
#include "app/Fdebug.h"
#include "app/firstpaint.h"
#include "app/settings/FAbout.h"
#include "app/settings/FMultiplayer.h"
#include "app/settings/FOptions.h"
#include "app/settings/Fcustom_board_size.h"
#include "app/settings/Fdebug_command.h"
#include "app/stats/FCounters.h"
#include "app/stats/FFormula.h"
#include "app/stats/FHistory.h"
#include "app/stats/Flhs_gain.h"
#include "app/stats/Flocal_high_scores.h"
#include "settings/options.h"

namespace quorlet {

TProgramWindows::TProgramWindows(const QString& firstArgument, TMain::TStartupPaint paint) {
    mainWindow = std::make_unique<TMain>(firstArgument, nullptr, paint);
    if (paint == TMain::TStartupPaint::PaintFirst && mainWindow->StartedUp()) {
        RestoreWindowPositions();
        ShowAndAwaitFirstPaint(mainWindow.get());
        mainWindow->FinishStartup();
    }
    debugWindow = std::make_unique<Tdebug>(mainWindow.get());
    if (!mainWindow->StartedUp()) return;
    aboutBox = std::make_unique<TAbout>();
    optionsWindow = std::make_unique<TOptions_window>();
    historyWindow = std::make_unique<THistory>(mainWindow.get());
    counters = std::make_unique<TCounters>();
    RestoreWindowPositions();
    localHighScores = std::make_unique<TLocal_High_Scores>();
    debugCommandBox = std::make_unique<TDebug_Command>(debugWindow.get());
    // Places itself, and plays the command line's video when one was named.
    progressBar = std::make_unique<TProgressBar>(mainWindow.get());
    highScoreNotice = std::make_unique<Tlhs_gain>();
    customBoard = std::make_unique<Tcustom_board_size>();
    multiplayerWindow = std::make_unique<TMult>(mainWindow.get());
    formulaEditor = std::make_unique<TFormula>();
}

// Here, where the window types are complete.
TProgramWindows::~TProgramWindows() = default;

bool TProgramWindows::StartedUp() const {
    return mainWindow && mainWindow->StartedUp();
}

} // namespace quorlet
