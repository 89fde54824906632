#include <QApplication>

#include <exception>

#include "app/FMain.h"
#include "core/debuglog.h"
#include "settings/options.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    try {
        // Provisional title: the main window sets the real one during its creation.
        QApplication::setApplicationName(QStringLiteral("warning"));
        const QStringList args = QApplication::arguments();
        quorlet::TMain mainWindow(args.size() > 1 ? args.at(1) : QString());
        if (!mainWindow.StartedUp()) return 0;
        // The other windows are created here, in their fixed order, as they join.
        quorlet::RestoreWindowPositions();
        mainWindow.show();
        return app.exec();
    } catch (...) {
        quorlet::DebugLog("application initialization failed");
        quorlet::SaveDebugLog();
        return 1;
    }
}
