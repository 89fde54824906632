#include <QApplication>

#include <exception>

#include "app/FMain.h"
#include "app/FProgressBar.h"
#include "app/Fdebug.h"
#include "app/firstpaint.h"
#include "app/uihooks_qt.h"
#include "core/debuglog.h"
#include "kit/KitStartup.h"
#include "app/settings/FAbout.h"
#include "app/settings/FMultiplayer.h"
#include "app/settings/FOptions.h"
#include "app/settings/Fcustom_board_size.h"
#include "app/settings/Fdebug_command.h"
#include "settings/options.h"
#include "app/stats/FCounters.h"
#include "app/stats/FFormula.h"
#include "app/stats/FHistory.h"
#include "app/stats/Flhs_gain.h"
#include "app/stats/Flocal_high_scores.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    try {
        // Provisional title: the main window sets the real one during its creation.
        QApplication::setApplicationName(QStringLiteral("warning"));
        // Message box and clipboard first: start-up may already need them.
        quorlet::InstallQtUiHooks();
        // The kit's objects before the main window; freed after the windows are gone.
        quorlet::TKitStartupScope kitStartup;
        const QStringList args = QApplication::arguments();
        // The windows in their fixed order; the main window is on screen, at its saved place,
        // before the others are built, and no input is handled until they all exist.
        quorlet::TMain mainWindow(args.size() > 1 ? args.at(1) : QString(), nullptr,
                                  quorlet::TMain::TStartupPaint::PaintFirst);
        if (!mainWindow.StartedUp()) return 0;
        quorlet::RestoreWindowPositions();
        quorlet::ShowAndAwaitFirstPaint(&mainWindow);
        mainWindow.FinishStartup();
        quorlet::Tdebug debugWindow(&mainWindow);
        quorlet::TAbout aboutBox;
        quorlet::TOptions_window optionsWindow;
        quorlet::THistory historyWindow(&mainWindow);
        quorlet::TCounters counters;
        quorlet::RestoreWindowPositions();
        quorlet::TLocal_High_Scores localHighScores;
        quorlet::TDebug_Command debugCommandBox(&debugWindow);
        // Places itself, and plays the command line's video when one was named.
        quorlet::TProgressBar progressBar(&mainWindow);
        quorlet::Tlhs_gain highScoreNotice;
        quorlet::Tcustom_board_size customBoard;
        quorlet::TMult multiplayerWindow(&mainWindow);
        quorlet::TFormula formulaEditor;
        return app.exec();
    } catch (...) {
        quorlet::DebugLog("application initialization failed");
        quorlet::SaveDebugLog();
        return 1;
    }
}
