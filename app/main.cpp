#include <QApplication>

#include "app/FMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quorlet::TMain mainWindow;
    mainWindow.show();
    return app.exec();
}
