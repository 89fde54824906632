// Whole games through the main window: clicks on the board until a loss or a win, the
// overlays, the layout numbers and the start-up rules that guard the program folder.
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/layout.h"
#include "kit/KitTimer.h"
#include "testutil.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

bool IsMine(int c, int r) {
    return HiddenBoard[c][r] == csMine;
}

// The first covered cell (a mine or a safe one) in reading order from firstRow up to lastRow
// (-1: the last row), or false when none is left.
bool FindCovered(bool mine, int& column, int& row, int firstRow = 0, int lastRow = -1) {
    for (int r = firstRow; r <= (lastRow < 0 ? LastRow : lastRow); ++r)
        for (int c = 0; c <= LastColumn; ++c)
            if (VisibleBoard[c][r] == csCovered && IsMine(c, r) == mine) {
                column = c;
                row = r;
                return true;
            }
    return false;
}

class MainWindowPlayTest : public MainWindowTest {
  protected:
    void Click(int c, int r, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(window->box, button, {}, CellCentre(c, r));
    }
    bool FaceIs(int face) { return SamePixels(window->bNewGame->grab().toImage(), Skins().faces[face]); }
};

TEST_F(MainWindowPlayTest, OpeningAMineLosesWithTheBlastedCellAndTheLostFace) {
    TMain& w = Open();
    Click(0, 0);
    ASSERT_EQ(WaitingFirstClick, 0);
    ASSERT_EQ(GameOver, 0);
    int c = 0, r = 0;
    ASSERT_TRUE(FindCovered(true, c, r));
    Click(c, r);
    EXPECT_EQ(GameOver, 1);
    EXPECT_FALSE(w.timer->Enabled());
    EXPECT_TRUE(SamePixels(GrabCell(c, r), Skins().cells[0][csBlasted]));
    EXPECT_TRUE(FaceIs(imf4));
    // The board no longer takes clicks, and the smiley starts again.
    const TBoardLayer before = VisibleBoard;
    Click(c == 0 ? 1 : 0, r);
    EXPECT_EQ(VisibleBoard, before);
    QTest::mouseClick(w.bNewGame, Qt::LeftButton, {}, QPoint(13, 13));
    EXPECT_EQ(GameOver, 0);
    EXPECT_TRUE(FaceIs(imf1));
    EXPECT_TRUE(SamePixels(GrabCell(c, r), Skins().cells[0][csCovered]));
}

TEST_F(MainWindowPlayTest, OpeningEverySafeCellWinsWithTheWonFace) {
    TMain& w = Open();
    Click(3, 3);
    int c = 0, r = 0;
    int guard = 0;
    while (!GameOver && FindCovered(false, c, r) && ++guard < 100)
        Click(c, r);
    EXPECT_EQ(GameOver, 1);
    EXPECT_TRUE(FaceIs(imf3));
    EXPECT_FALSE(w.timer->Enabled());
    for (int rr = 0; rr <= LastRow; ++rr)
        for (int cc = 0; cc <= LastColumn; ++cc)
            if (!IsMine(cc, rr)) {
                EXPECT_TRUE(SamePixels(GrabCell(cc, rr), Skins().cells[0][VisibleBoard[cc][rr]]))
                    << cc << "," << rr;
            }
}

TEST_F(MainWindowPlayTest, ExpertGameRunsTheClockAndTheCounters) {
    TMain& w = Open();
    Options.doTimer = true;
    w.ExpertBtn->trigger();
    Click(15, 8);
    ASSERT_TRUE(w.timer->Enabled());
    int c = 0, r = 0;
    ASSERT_TRUE(FindCovered(true, c, r));
    Click(c, r, Qt::RightButton);
    EXPECT_TRUE(SamePixels(GrabCell(c, r), Skins().cells[0][csFlag]));
    // 98 mines left.
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 1), Skins().leds[0][LedGlyphIndex('9')]));
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iBombs, 2), Skins().leds[0][LedGlyphIndex('8')]));
    // 250 ticks of 10 ms: the clock reads 2.50 and the LED rounds up to 003.
    for (int i = 0; i < 250; ++i)
        w.timerTimer();
    EXPECT_EQ(GameClock.seconds, 2);
    EXPECT_EQ(GameClock.hundredths, 50);
    EXPECT_TRUE(SamePixels(GrabGlyph(w.iTimer, 2), Skins().leds[0][LedGlyphIndex('3')]));
}

TEST_F(MainWindowPlayTest, ReloadInterfaceLaysOutBeginnerAndExpertByTheNumbers) {
    TMain& w = Open();
    struct Case {
        QAction* item;
        QRect pBox, pMain, box;
        int timerLeft, faceLeft;
    };
    const Case cases[] = {
        {w.BeginnerBtn, {9, 52, 134, 134}, {0, 0, 152, 195}, {3, 3, 128, 128}, 83, 54},
        {w.ExpertBtn, {9, 52, 486, 262}, {0, 0, 504, 323}, {3, 3, 480, 256}, 435, 230},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->text().toStdString());
        c.item->trigger();
        EXPECT_EQ(w.pBox->geometry(), c.pBox);
        EXPECT_EQ(w.pMain->geometry(), c.pMain);
        EXPECT_EQ(w.box->geometry(), c.box);
        EXPECT_EQ(w.pInfo->width(), c.pBox.width());
        EXPECT_EQ(w.pTimer->x(), c.timerLeft);
        EXPECT_EQ(w.bNewGame->geometry(), QRect(c.faceLeft, kFaceTop, 26, 26));
        EXPECT_EQ(w.NameLabel->geometry().topLeft(), QPoint(6, c.pMain.height() + 6));
        EXPECT_EQ(w.NameLabel->width(), c.pBox.width() + 6);
        const int nameLine = Options.ShowIDText ? w.NameLabel->height() + 12 : 0;
        EXPECT_EQ(w.centralWidget()->size(), QSize(c.pMain.width(), c.pMain.height() + nameLine));
        // Kept on the screen.
        EXPECT_GE(w.frameGeometry().left(), 0);
        EXPECT_GE(w.frameGeometry().top(), 0);
    }
}

TEST_F(MainWindowPlayTest, ProbabilityHintOnlyUnderACursorOnTheBoard) {
    TMain& w = Open();
    Click(0, 0);
    Options.doShowProbabilities = true;
    // The cheat labels of this unranked game cover parts of the top and bottom rows' corner
    // cells; pixel (7, 13) lies inside a hint square and outside every label. The probed mine
    // is taken from the rows between, which no label touches.
    int c = 0, r = 0;
    ASSERT_TRUE(FindCovered(true, c, r, 1, LastRow - 1));
    const QPoint centre(c * kCellSize + 8, r * kCellSize + 8);
    auto noSquareAnywhere = [&] {
        const QImage board = w.box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int cc = 0; cc <= LastColumn; ++cc)
            for (int rr = 0; rr <= LastRow; ++rr)
                if (board.pixelColor(cc * kCellSize + 7, rr * kCellSize + 13) !=
                    Skins().cells[0][VisibleBoard[cc][rr]].pixelColor(7, 13))
                    return false;
        return true;
    };
    // Outside the board (left of and above it) no cell is under the cursor.
    for (const QPoint outside : {QPoint(-200, -200), QPoint(-8, centre.y()), QPoint(centre.x(), -8)}) {
        QCursor::setPos(w.box->mapToGlobal(outside));
        if (QCursor::pos() != w.box->mapToGlobal(outside)) GTEST_SKIP() << "this platform keeps no cursor";
        w.RedrawBoard();
        EXPECT_TRUE(noSquareAnywhere()) << outside.x() << "," << outside.y();
    }
    // Over a covered mine with covered neighbours the square is red.
    int k = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc || dr) && c + dc >= 0 && r + dr >= 0 && c + dc <= LastColumn && r + dr <= LastRow &&
                VisibleBoard[c + dc][r + dr] == csCovered)
                ++k;
    QCursor::setPos(w.box->mapToGlobal(centre));
    w.RedrawChangedCells();
    const QImage cell = GrabCell(c, r);
    EXPECT_EQ(cell.pixelColor(8, 8), k > 0 ? QColor(0xFF, 0, 0) : QColor(0xFF, 0xFF, 0));
    EXPECT_EQ(cell.pixelColor(2, 2), cell.pixelColor(13, 13));
    // Moving off the board takes the square away again.
    QCursor::setPos(w.box->mapToGlobal(QPoint(-50, -50)));
    w.RedrawChangedCells();
    EXPECT_TRUE(noSquareAnywhere());
}

TEST_F(MainWindowPlayTest, CornerLabelsUseTheOwnPixelFontWithoutAFontError) {
    TMain& w = Open();
    // rightInset 0: no labels at all, the corner cells show the plain covered picture.
    struct Case {
        const char* name;
        uint8_t level;
        bool cheat; // a handicap option on
        bool clockRunning;
        int rightInset; // the word's width plus its margin, from the board's right edge
    };
    const Case cases[] = {
        {"custom board, clock running", glCustom, false, true, 32},
        {"cheat option, clock running", glBeginner, true, true, 26},
        {"cheat on a custom board", glCustom, true, true, 26},
        {"custom board, clock stopped", glCustom, false, false, 0},
        {"cheat option, clock stopped", glBeginner, true, false, 0},
        {"ranked game", glBeginner, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameLevel = c.level;
        Options.doShowMinesPos = c.cheat;
        GameTimerEnabled = c.clockRunning;
        w.box->Image().fill(QColor(0xC0, 0xC0, 0xC0));
        w.RedrawBoard();
        const QImage board = w.box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int width = (LastColumn + 1) * kCellSize, height = (LastRow + 1) * kCellSize;
        if (c.rightInset == 0) {
            EXPECT_TRUE(SamePixels(GrabCell(0, 0), Skins().cells[0][csCovered]));
            EXPECT_TRUE(SamePixels(GrabCell(LastColumn, LastRow), Skins().cells[0][csCovered]));
            continue;
        }
        // The top bar of the word's first letter ("C" of both words) in each corner, in the
        // corner's colour, where the covered picture has its grey face.
        EXPECT_EQ(board.pixelColor(1, 2), QColor(Qt::white));
        EXPECT_EQ(board.pixelColor(width - c.rightInset + 1, 2), QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(board.pixelColor(1, height - 10 + 2), QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(board.pixelColor(width - c.rightInset + 1, height - 10 + 2), QColor(Qt::black));
        // The second letter tells the words apart: "H" has a gap in its top row, "U" too, but
        // only "CHEAT" starts its "H" four pixels on with the middle bar in row 2.
        const QColor middleOfSecond = board.pixelColor(1 + 4 + 1, 2 + 2);
        EXPECT_EQ(middleOfSecond == QColor(Qt::white), c.rightInset == 26);
    }
    for (const std::string& line : DebugLogLines)
        EXPECT_EQ(line.find("fatal error"), std::string::npos) << line;
    Options.doShowMinesPos = false;
}

TEST_F(MainWindowPlayTest, SkinsDrawRaisedCoveredCellsAndTheClassicNumberColours) {
    const QImage covered = Skins().cells[0][csCovered];
    EXPECT_EQ(covered.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(covered.pixelColor(14, 0), QColor(Qt::white)); // the outer light line runs on
    EXPECT_EQ(covered.pixelColor(15, 0), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(covered.pixelColor(14, 1), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(covered.pixelColor(15, 15), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(covered.pixelColor(8, 8), QColor(0xC0, 0xC0, 0xC0));
    const QColor numberColours[] = {{0, 0, 0xFF}, {0, 0x80, 0},    {0xFF, 0, 0}, {0, 0, 0x80},
                                    {0x80, 0, 0}, {0, 0x80, 0x80}, {0, 0, 0},    {0x80, 0x80, 0x80}};
    for (int n = 1; n <= 8; ++n) {
        const QImage cell = Skins().cells[0][n];
        int inColour = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 1; x < 16; ++x)
                if (y > 0 && cell.pixelColor(x, y) == numberColours[n - 1]) ++inColour;
        EXPECT_GT(inColour, 10) << n;
    }
}

TEST_F(MainWindowPlayTest, ProgramFolderKeepsItsCaseAndARefusedStartWritesNoFile) {
    const std::string home = Home() + "Mixed Case/Quorlet";
    std::filesystem::create_directories(home);
    ::setenv("QUORLET_HOME", home.c_str(), 1);
    TMain& first = Open();
    EXPECT_EQ(Options.LastPath, home + "/");
    EXPECT_EQ(Options.ExeFileName, "ui_tests");
    {
        TMain second;
        ASSERT_FALSE(second.StartedUp());
        second.close();
    }
    for (const char* file : {"quorlet.dat", "_counter_template.txt", "_autosave_template.txt"})
        EXPECT_FALSE(std::filesystem::exists(home + "/" + file)) << file;
    first.close();
    EXPECT_TRUE(std::filesystem::exists(home + "/quorlet.dat"));
}

// Not a check: saves the window of a game in progress when QUORLET_SCREENSHOT names a PNG file
// (run under xvfb-run with QT_QPA_PLATFORM=xcb to see it as a player does).
TEST_F(MainWindowPlayTest, ScreenshotOfAGameInProgress) {
    const char* out = std::getenv("QUORLET_SCREENSHOT");
    if (!out || !*out) GTEST_SKIP() << "QUORLET_SCREENSHOT not set";
    TMain& w = Open();
    Options.doTimer = true;
    w.ExpertBtn->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    RandomSeed = 20260;
    Click(14, 8);
    // Open a few more safe cells and flag the mines next to the opened area.
    int opened = 0;
    for (int r = 0; r <= LastRow && opened < 6; ++r)
        for (int c = 0; c <= LastColumn && opened < 6; ++c)
            if (VisibleBoard[c][r] == csCovered && !IsMine(c, r) && (c + r) % 7 == 0) {
                Click(c, r);
                ++opened;
            }
    int flags = 0;
    for (int r = 0; r <= LastRow && flags < 5; ++r)
        for (int c = 0; c <= LastColumn && flags < 5; ++c)
            if (VisibleBoard[c][r] == csCovered && IsMine(c, r) && c > 0 && VisibleBoard[c - 1][r] <= 8) {
                Click(c, r, Qt::RightButton);
                ++flags;
            }
    for (int i = 0; i < 1234; ++i)
        w.timerTimer();
    // A left button held on a covered cell: the pressed cell and the surprised face.
    int c = 0, r = 0;
    ASSERT_TRUE(FindCovered(false, c, r));
    QTest::mousePress(w.box, Qt::LeftButton, {}, CellCentre(c, r));
    // Paint now and let the server have it before the grab.
    w.repaint();
    QCoreApplication::processEvents();
    QPixmap shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) shot = w.screen()->grabWindow(w.winId());
    if (shot.isNull()) shot = w.grab();
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(out)));
    QTest::mouseRelease(w.box, Qt::LeftButton, {}, QPoint(-100, -100));
}

} // namespace
} // namespace quorlet
