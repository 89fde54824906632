// The yardstick of the real start-up measurement: a bare Qt main window that paints a plain
// surface of the board's grey, started the same way as the game.
#include <QApplication>
#include <QMainWindow>
#include <QPalette>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);
    window.resize(160, 220);
    window.show();
    return app.exec();
}
