#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/layout.h"
#include "kit/KitTimer.h"
#include "settings/settingsfile.h"
#include "testutil.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

TEST_F(MainWindowTest, OpensWithTheProgramTitleOnACoveredBeginnerBoard) {
    TMain& w = Open();
    EXPECT_TRUE(w.StartedUp());
    EXPECT_EQ(w.windowTitle().toStdString(), "Minesweeper Quorlet");
    EXPECT_EQ(w.box->size(), QSize(128, 128));
    EXPECT_TRUE(w.BeginnerBtn->isChecked());
    EXPECT_EQ(WaitingFirstClick, 1);
    for (auto [c, r] : {std::pair{0, 0}, {7, 7}, {3, 5}})
        EXPECT_TRUE(SamePixels(GrabCell(c, r), Skins().cells[0][csCovered])) << c << "," << r;
    // The mine counter shows 010.
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 0), Skins().leds[0][LedGlyphIndex('0')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 1), Skins().leds[0][LedGlyphIndex('1')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 2), Skins().leds[0][LedGlyphIndex('0')]));
    EXPECT_TRUE(SamePixels(w.bNewGame->grab().toImage(), Skins().faces[imf1]));
}

TEST_F(MainWindowTest, OnlyChangedCellsArePaintedFromTheVisibleBoard) {
    TMain& w = Open();
    VisibleBoard[1][0] = 3;
    VisibleBoard[2][2] = csFlag;
    w.RedrawChangedCells();
    EXPECT_TRUE(SamePixels(GrabCell(1, 0), Skins().cells[0][3]));
    EXPECT_TRUE(SamePixels(GrabCell(2, 2), Skins().cells[0][csFlag]));
    EXPECT_EQ(DrawnBoard[1][0], 3);
    // A cell changed behind DrawnBoard's back is not repainted by the partial redraw.
    DrawnBoard[4][4] = VisibleBoard[4][4] = 5;
    w.RedrawChangedCells();
    EXPECT_TRUE(SamePixels(GrabCell(4, 4), Skins().cells[0][csCovered]));
    w.RedrawBoard();
    EXPECT_TRUE(SamePixels(GrabCell(4, 4), Skins().cells[0][5]));
}

TEST_F(MainWindowTest, SecondSkinPaintsItsOwnPictures) {
    TMain& w = Open();
    Options.skinNumber = 1;
    w.RedrawBoard();
    EXPECT_TRUE(SamePixels(GrabCell(0, 0), Skins().cells[1][csCovered]));
    EXPECT_FALSE(SamePixels(Skins().cells[0][csCovered], Skins().cells[1][csCovered]));
}

TEST_F(MainWindowTest, MineCounterShowsOverFlaggingWithAMinus) {
    TMain& w = Open();
    for (int c = 0; c < 8; ++c)
        VisibleBoard[c][0] = VisibleBoard[c][1] = csFlag; // 16 flags, 10 mines
    w.RedrawChangedCells();
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 0), Skins().leds[0][LedGlyphIndex('-')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 1), Skins().leds[0][LedGlyphIndex('0')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 2), Skins().leds[0][LedGlyphIndex('6')]));
}

TEST_F(MainWindowTest, TimerLedShowsTheClockWithItsDot) {
    TMain& w = Open();
    Options.doShowTenths = true;
    GameClock = {9, 99};
    w.DrawTimer();
    const QImage led = w.iTimer->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 1), Skins().leds[0][LedGlyphIndex('9')]) ==
                false); // dot drawn over it
    EXPECT_EQ(led.pixelColor(12, 21), QColor(0xFF, 0, 0));
    EXPECT_EQ(led.pixelColor(13, 22), QColor(0xFF, 0, 0));
    Options.doShowTenths = false;
    GameClock = {41, 50};
    w.DrawTimer();
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 0), Skins().leds[0][LedGlyphIndex('0')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 1), Skins().leds[0][LedGlyphIndex('4')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 2), Skins().leds[0][LedGlyphIndex('2')]));
}

TEST_F(MainWindowTest, LevelItemsSetTheSizeTheLayoutAndTheStartUpLevel) {
    TMain& w = Open();
    struct Case {
        QAction* item;
        int lastColumn, lastRow, mines;
        uint8_t level;
    };
    const Case cases[] = {{w.ExpertBtn, 29, 15, 99, glExpert},
                          {w.IntermediateBtn, 15, 15, 40, glIntermediate},
                          {w.BeginnerBtn, 7, 7, 10, glBeginner}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->text().toStdString());
        c.item->trigger();
        EXPECT_EQ(LastColumn, c.lastColumn);
        EXPECT_EQ(LastRow, c.lastRow);
        EXPECT_EQ(MineCount, c.mines);
        EXPECT_EQ(Options.doStartUpMode, c.level);
        EXPECT_TRUE(c.item->isChecked());
        // The name line as high as the name needs on this board (two lines on Beginner).
        const int nameHeight = w.NameLabel->height();
        EXPECT_GE(nameHeight, kNameLabelHeight);
        EXPECT_LE(w.lnamelabel->heightForWidth(w.lnamelabel->width()), w.lnamelabel->height());
        const TMainLayout l =
            ComputeMainLayout(c.lastColumn + 1, c.lastRow + 1, Options.ShowIDText, nameHeight);
        EXPECT_EQ(w.box->size(), QSize(l.box.width, l.box.height));
        EXPECT_EQ(w.centralWidget()->size(), QSize(l.clientWidth, l.clientHeight));
        EXPECT_EQ(w.pTimer->x(), l.pTimer.left);
        EXPECT_EQ(w.bNewGame->x(), l.bNewGame.left);
        EXPECT_TRUE(SamePixels(GrabCell(c.lastColumn, c.lastRow), Skins().cells[0][csCovered]));
    }
}

TEST_F(MainWindowTest, NewGameCoversTheBoardAndResetsTheGame) {
    TMain& w = Open();
    VisibleBoard[0][0] = 2;
    GameOver = 1;
    LeftClicks = 5;
    NewGameFace = imf4;
    GameClock = {12, 34};
    w.NewBtnClick();
    EXPECT_EQ(VisibleBoard[0][0], csCovered);
    EXPECT_EQ(GameOver, 0);
    EXPECT_EQ(WaitingFirstClick, 1);
    EXPECT_EQ(LeftClicks, 0);
    EXPECT_EQ(GameClock.seconds, 0);
    EXPECT_FALSE(w.timer->Enabled());
    EXPECT_TRUE(SamePixels(GrabCell(0, 0), Skins().cells[0][csCovered]));
    EXPECT_TRUE(SamePixels(w.bNewGame->grab().toImage(), Skins().faces[imf1]));
}

TEST_F(MainWindowTest, SmileyClickStartsANewGame) {
    TMain& w = Open();
    VisibleBoard[3][3] = 1;
    QTest::mousePress(w.bNewGame, Qt::LeftButton, {}, QPoint(13, 13));
    EXPECT_TRUE(SamePixels(w.bNewGame->grab().toImage(), Skins().faces[0]));
    QTest::mouseRelease(w.bNewGame, Qt::LeftButton, {}, QPoint(13, 13));
    EXPECT_EQ(VisibleBoard[3][3], csCovered);
}

TEST_F(MainWindowTest, EngineFaceAndRedrawRequestsReachTheWindow) {
    TMain& w = Open();
    NewGameFace = imf4;
    VisibleBoard[0][0] = csBlasted;
    ASSERT_TRUE(UiHooks.RequestRedraw);
    UiHooks.RequestRedraw();
    EXPECT_TRUE(SamePixels(w.bNewGame->grab().toImage(), Skins().faces[imf4]));
    EXPECT_TRUE(SamePixels(GrabCell(0, 0), Skins().cells[0][csBlasted]));
    UiHooks.SetGameTimer(true);
    EXPECT_TRUE(w.timer->Enabled());
    EXPECT_EQ(w.timer->Interval(), 10u);
    UiHooks.SetGameTimer(false);
    EXPECT_FALSE(w.timer->Enabled());
}

TEST_F(MainWindowTest, ClickOnTheBoardReachesTheEngine) {
    TMain& w = Open();
    QTest::mousePress(w.box, Qt::LeftButton, {}, CellCentre(3, 3));
    EXPECT_EQ(VisibleBoard[3][3], csPressedCovered);
    EXPECT_TRUE(SamePixels(w.bNewGame->grab().toImage(), Skins().faces[imf2]));
    QTest::mouseRelease(w.box, Qt::LeftButton, {}, CellCentre(3, 3));
    EXPECT_EQ(WaitingFirstClick, 0);
    EXPECT_TRUE(VisibleBoard[3][3] <= 8);
    EXPECT_TRUE(SamePixels(GrabCell(3, 3), Skins().cells[0][VisibleBoard[3][3]]));
    EXPECT_TRUE(w.timer->Enabled());
    EXPECT_TRUE(SamePixels(w.bNewGame->grab().toImage(), Skins().faces[imf1]));
}

TEST_F(MainWindowTest, RightClickFlagsACellAndTheCounterDrops) {
    TMain& w = Open();
    QTest::mousePress(w.box, Qt::RightButton, {}, CellCentre(2, 1));
    QTest::mouseRelease(w.box, Qt::RightButton, {}, CellCentre(2, 1));
    EXPECT_EQ(VisibleBoard[2][1], csFlag);
    EXPECT_TRUE(SamePixels(GrabCell(2, 1), Skins().cells[0][csFlag]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 2), Skins().leds[0][LedGlyphIndex('9')]));
}

TEST_F(MainWindowTest, TimerTickAdvancesTheClockAndTheLed) {
    TMain& w = Open();
    Options.doTimer = true;
    QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(0, 0));
    ASSERT_TRUE(w.timer->Enabled());
    GameClock = {41, 99};
    w.timerTimer();
    EXPECT_EQ(GameClock.seconds, 42);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 1), Skins().leds[0][LedGlyphIndex('4')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 2), Skins().leds[0][LedGlyphIndex('2')]));
}

TEST_F(MainWindowTest, FirstArgumentDebugModeInAnyCase) {
    Open(QStringLiteral("debugmode"));
    EXPECT_EQ(DebugModeFlag, 1);
    EXPECT_TRUE(StartupVideoFile.empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, FirstArgumentFilesByTheirEnding) {
    const std::string video = Home() + "game.QvF";
    const std::string text = Home() + "notes.txt";
    std::ofstream(video) << "x";
    std::ofstream(text) << "x";
    struct Case {
        std::string argument;
        uint8_t replayMode;
        bool kept;
        std::size_t messages;
    };
    const Case cases[] = {{video, 1, true, 0}, {text, 0, false, 1}, {Home() + "missing.qvf", 0, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        messages.clear();
        ResetGlobals();
        Open(QString::fromStdString(c.argument));
        EXPECT_EQ(ReplayMode, c.replayMode);
        EXPECT_EQ(!StartupVideoFile.empty(), c.kept);
        ASSERT_EQ(messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(messages[0], "File \"" + text + "\"\r\n\r\nis not a Quorlet Video File (.QVF)");
        }
        window.reset();
    }
}

TEST_F(MainWindowTest, ASecondInstanceIsRefusedAndSavesNothing) {
    TMain& first = Open();
    ASSERT_TRUE(first.StartedUp());
    ASSERT_TRUE(Options.doProhibitMultInstances);
    {
        TMain second;
        EXPECT_FALSE(second.StartedUp());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("Minesweeper Quorlet already running.", 0), 0u);
        second.close();
    }
    EXPECT_FALSE(std::filesystem::exists(Home() + "quorlet.dat"));
    EXPECT_FALSE(std::filesystem::exists(Home() + "/_debug_protocol_last.txt"));
    first.close();
    EXPECT_TRUE(std::filesystem::exists(Home() + "quorlet.dat"));
    EXPECT_TRUE(std::filesystem::exists(Home() + "/_debug_protocol_last.txt"));
}

TEST_F(MainWindowTest, AnInstanceThatAllowsCompanyIsNotFoundByTheTest) {
    TMain& first = Open();
    Options.doProhibitMultInstances = false;
    first.close();
    window.reset();
    TMain& company = Open();
    ASSERT_TRUE(company.StartedUp());
    EXPECT_EQ(company.windowTitle().toStdString(), "Minesweeper Quorlet ");
    // A later start that prohibits company still starts beside it.
    Options.doProhibitMultInstances = true;
    SaveSettings();
    {
        TMain later;
        EXPECT_TRUE(later.StartedUp());
        EXPECT_EQ(later.windowTitle().toStdString(), "Minesweeper Quorlet");
        EXPECT_TRUE(messages.empty());
        later.close();
    }
}

TEST_F(MainWindowTest, CursorPictureOfTheProgramFolderReplacesTheBuiltInOne) {
    const QImage builtIn = Open().Cur->pixmap().toImage();
    window.reset();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    struct Case {
        const char* content; // null: a real 8 x 8 picture
        QSize size;
    };
    const Case cases[] = {{nullptr, QSize(8, 8)}, {"not a bitmap", builtIn.size()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "picture");
        if (c.content)
            std::ofstream(Home() + "cursor.bmp") << c.content;
        else
            ASSERT_TRUE(picture.save(QString::fromStdString(Home() + "cursor.bmp")));
        // As at a real start: the folder is known only once start-up has found it.
        Options.LastPath.clear();
        const QImage shown = Open().Cur->pixmap().toImage();
        EXPECT_EQ(shown.size(), c.size);
        if (c.content) {
            EXPECT_EQ(shown, builtIn);
        }
        window.reset();
    }
}

TEST_F(MainWindowTest, NarrowBoardMenuFitsTheWindow) {
    TMain& w = Open();
    EXPECT_LE(w.menuBar()->sizeHint().width(), w.centralWidget()->width());
    w.ExpertBtn->trigger();
    EXPECT_EQ(w.HelpMnu->title().toStdString(), "Help");
    EXPECT_EQ(w.OptionsMnu->title().toStdString(), "Options");
}

} // namespace
} // namespace quorlet
