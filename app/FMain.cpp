#include "app/FMain.h"

#include <QLabel>

namespace quorlet {

TMain::TMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Minesweeper Quorlet"));
    auto* placeholder = new QLabel(QStringLiteral("Minesweeper Quorlet"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    resize(260, 320);
}

} // namespace quorlet
