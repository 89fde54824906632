// Every window of the program, created in the program's fixed order and freed in reverse.
// The entry builds one; tests build one to see the windows exactly as the player gets them.
#pragma once

#include <QString>

#include "app/FMain.h"

#include <memory>

namespace quorlet {

class Tdebug;
class TAbout;
class TOptions_window;
class THistory;
class TCounters;
class TLocal_High_Scores;
class TDebug_Command;
class TProgressBar;
class Tlhs_gain;
class Tcustom_board_size;
class TMult;
class TFormula;

struct TProgramWindows {
    // `firstArgument` is the command line's first argument (a video to play, or DEBUGMODE).
    // When the main window refuses to start (another instance runs), only it and the debug
    // window exist. With `PaintFirst` the main window is shown at its saved place and painted,
    // and the history and the command line read, before the other windows are built.
    explicit TProgramWindows(const QString& firstArgument = {},
                             TMain::TStartupPaint paint = TMain::TStartupPaint::AllSteps);
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    bool StartedUp() const;

    // In the order of creation: the members go in reverse, as the windows on the entry's stack
    // were freed.
    std::unique_ptr<TMain> mainWindow;
    std::unique_ptr<Tdebug> debugWindow;
    std::unique_ptr<TAbout> aboutBox;
    std::unique_ptr<TOptions_window> optionsWindow;
    std::unique_ptr<THistory> historyWindow;
    std::unique_ptr<TCounters> counters;
    std::unique_ptr<TLocal_High_Scores> localHighScores;
    std::unique_ptr<TDebug_Command> debugCommandBox;
    std::unique_ptr<TProgressBar> progressBar;
    std::unique_ptr<Tlhs_gain> highScoreNotice;
    std::unique_ptr<Tcustom_board_size> customBoard;
    std::unique_ptr<TMult> multiplayerWindow;
    std::unique_ptr<TFormula> formulaEditor;
};

} // namespace quorlet
