#include <QApplication>

#include <exception>

#include "app/FMain.h"
#include "app/programwindows.h"
#include "app/uihooks_qt.h"
#include "core/debuglog.h"
#include "kit/KitStartup.h"
#include "platform/warmup.h"

int main(int argc, char* argv[]) {
    quorlet::TWarmUp fonts(quorlet::ReadFontConfiguration);
    QApplication app(argc, argv);
    quorlet::TWarmUp sessionBus(quorlet::ConnectSessionBus);
    try {
        // Provisional title: the main window sets the real one during its creation.
        QApplication::setApplicationName(QStringLiteral("warning"));
        // Message box and clipboard first: start-up may already need them.
        quorlet::InstallQtUiHooks();
        // The kit's objects before the main window; freed after the windows are gone.
        quorlet::TKitStartupScope kitStartup;
        const QStringList args = QApplication::arguments();
        fonts.Wait();
        // The windows in their fixed order; the main window is on screen, at its saved place,
        // before the others are built, and no input is handled until they all exist.
        quorlet::TProgramWindows windows(args.size() > 1 ? args.at(1) : QString(),
                                         quorlet::TMain::TStartupPaint::PaintFirst);
        if (!windows.StartedUp()) return 0;
        windows.mainWindow->show();
        return app.exec();
    } catch (...) {
        quorlet::DebugLog("application initialization failed");
        quorlet::SaveDebugLog();
        return 1;
    }
}
