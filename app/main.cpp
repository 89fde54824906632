#include <QApplication>

#include <exception>

#include "app/FMain.h"
#include "app/FProgressBar.h"
#include "app/Fdebug.h"
#include "app/uihooks_qt.h"
#include "settings/Fcustom_board_size.h"
#include "core/debuglog.h"
#include "settings/options.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    try {
        // Provisional title: the main window sets the real one during its creation.
        QApplication::setApplicationName(QStringLiteral("warning"));
        // Message box and clipboard first: start-up may already need them.
        quorlet::InstallQtUiHooks();
        const QStringList args = QApplication::arguments();
        // The windows in their fixed order; the others join here as they land.
        quorlet::TMain mainWindow(args.size() > 1 ? args.at(1) : QString());
        quorlet::Tdebug debugWindow(&mainWindow);
        if (!mainWindow.StartedUp()) return 0;
        quorlet::RestoreWindowPositions();
        // Places itself, and plays the command line's video when one was named.
        quorlet::TProgressBar progressBar(&mainWindow);
        quorlet::Tcustom_board_size customBoard;
        mainWindow.show();
        return app.exec();
    } catch (...) {
        quorlet::DebugLog("application initialization failed");
        quorlet::SaveDebugLog();
        return 1;
    }
}
