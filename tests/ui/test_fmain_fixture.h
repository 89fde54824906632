// The main window under test: opened on a fresh program folder, message boxes recorded,
// and helpers that read what the window shows.
#pragma once

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "testutil.h"

namespace quorlet {

class MainWindowTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
    }
    void TearDown() override {
        window.reset();
        EngineTest::TearDown();
    }
    TMain& Open(const QString& argument = {}) {
        window = std::make_unique<TMain>(argument);
        window->show();
        return *window;
    }
    // The board image as shown on screen, cell (c, r).
    QImage GrabCell(int c, int r) {
        return window->box->grab(QRect(c * kCellSize, r * kCellSize, kCellSize, kCellSize))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage GrabGlyph(TImageView* led, int i) {
        return led->grab(QRect(i * kLedWidth, 0, kLedWidth, kLedHeight)).toImage().convertToFormat(QImage::Format_RGB32);
    }
    static bool SamePixels(const QImage& a, const QImage& b) {
        return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    }
    QPoint CellCentre(int c, int r) const { return QPoint(c * kCellSize + 8, r * kCellSize + 8); }
    // Left clicks on the board, as a player makes them, on safe cells until the game is won.
    void WinGameByClicks() {
        QTest::mouseClick(window->box, Qt::LeftButton, {}, CellCentre(3, 3));
        for (int guard = 0; !GameOver && guard < 100; ++guard) {
            bool clicked = false;
            for (int r = 0; r <= LastRow && !clicked; ++r)
                for (int c = 0; c <= LastColumn && !clicked; ++c)
                    if (VisibleBoard[c][r] == csCovered && HiddenBoard[c][r] != csMine) {
                        QTest::mouseClick(window->box, Qt::LeftButton, {}, CellCentre(c, r));
                        clicked = true;
                    }
            if (!clicked) break;
        }
    }

    std::unique_ptr<TMain> window;
    std::vector<std::string> messages;
};

} // namespace quorlet
