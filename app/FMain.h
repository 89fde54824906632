// The main window: the board, the mine counter, the smiley and the clock.
#pragma once

#include <QMainWindow>

namespace quorlet {

class TMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TMain(QWidget* parent = nullptr);
};

} // namespace quorlet
