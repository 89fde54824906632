// The main window's board files, board pictures, screenshots and mouse chart, offscreen; the
// X11 cases need a real screen and run under xvfb-run.
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QRegion>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/boardfile.h"
#include "jpegdecode.h"
#include "kit/KitTimer.h"
#include "platform/x11.h"
#include "testutil.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class MainWindowPicturesTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SystemTimeSource = [] { return TSystemTime{2006, 3, 0, 5, 14, 7, 9, 0}; };
        TimeZoneBias = 0;
    }
    void TearDown() override {
        SystemTimeSource = nullptr;
        MainWindowTest::TearDown();
    }
    TMain& OpenWithDialogs() {
        TMain& w = Open();
        w.ChooseBoardSaveFile = [this](const QString&, const QString& name, const QString& filter) {
            proposed = name;
            filters = filter;
            return chosen;
        };
        w.RequestCellSeparator = [this] { return separator; };
        Options.ReplayName = "Ann";
        return w;
    }
    // Clicks safe cells until the game is won.
    void WinGame() {
        WinGameByClicks();
        ASSERT_EQ(GameOver, 1);
        ASSERT_TRUE(IsBoardSolvedNow());
    }
    static bool IsBoardSolvedNow() { return Solved3BV == Board3BV; }
    QRgb BoxPixel(int x, int y) const { return window->box->Image().pixel(x, y) & 0xFFFFFF; }

    QString chosen;
    QString proposed;
    QString filters;
    QString separator = QStringLiteral(" ");
};

TEST_F(MainWindowPicturesTest, CtrlCAfterAWonGameWritesTheBoardFileTheNameTemplateGives) {
    TMain& w = OpenWithDialogs();
    // Shortcuts reach only the active window.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(fs::exists(Home() + "boards"));
    WinGame();
    ASSERT_TRUE(w.btnSaveBoard->isEnabled());
    QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
    const std::string name = "Ann_8x8-10mines_3BV=" + std::to_string(Board3BV) + "_05.03.2006_14-07-09.qbf";
    ASSERT_EQ(FilesIn(Home() + "boards"), std::vector<std::string>{name});
    EXPECT_EQ(test::ReadFileText(Home() + "boards/" + name), BoardString);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Board saved to \r\n\r\n/boards/" + name);
}

TEST_F(MainWindowPicturesTest, TheBoardBitmapIsTheBoardImageCutToTheBoard) {
    TMain& w = OpenWithDialogs();
    Options.ReplayFileName = "<name>_pic";
    w.ExpertBtnClick();
    QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(0, 0));
    chosen = QString::fromStdString(Home() + "board.bmp");
    w.saveboarsbmpBtn->trigger();
    // An unfinished game's name carries "#".
    EXPECT_EQ(proposed.toStdString(), Home() + "#Ann_pic.bmp");
    EXPECT_NE(filters.indexOf(QStringLiteral("*.BMP")), -1);
    const QImage saved(chosen);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(30 * 16, 16 * 16));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), w.box->Image().copy(0, 0, 480, 256).convertToFormat(QImage::Format_RGB32));
    // A cancelled dialog writes nothing.
    chosen.clear();
    w.saveboarsbmpBtn->trigger();
    std::size_t bitmaps = 0;
    for (const std::string& file : FilesIn(Home()))
        bitmaps += file.ends_with(".bmp");
    EXPECT_EQ(bitmaps, 1u);
}

TEST_F(MainWindowPicturesTest, TheTextBoardTakesTheTypedSeparator) {
    TMain& w = OpenWithDialogs();
    chosen = QString::fromStdString(Home() + "board.txt");
    separator = QStringLiteral(",");
    w.saveboarstxtBtn->trigger();
    EXPECT_NE(filters.indexOf(QStringLiteral("*.TXT")), -1);
    std::string expected;
    for (int r = 0; r < 8; ++r)
        expected += "_,_,_,_,_,_,_,_,\r\n";
    EXPECT_EQ(test::ReadFileText(Home() + "board.txt"), expected + "\r\n");
}

TEST_F(MainWindowPicturesTest, TheChartPaintsTheCheckerboardThePathAndThePressDots) {
    TMain& w = OpenWithDialogs();
    Options.ShowMousePath = Options.ShowDownState = Options.ShowLeftCl = Options.ShowRightCl = true;
    Options.ShowDoubleCl = Options.DoChangeLayout = Options.mpShowCells = true;
    Options.DarkenBoard = false;
    Options.mPathColor = 0;
    Options.mpLColor = 3;
    Options.mpRColor = 8;
    Options.mpDColor = 7;
    // A path down column 0 with a left press at (5, 5) and a right press at (5, 40).
    const TVideoEvent events[] = {{0, 0, 5, 5, 1, 0, 0, 0, 0, 0},  {0, 1, 5, 5, 0, 0, 0, 1, 0, 0},
                                  {0, 2, 5, 40, 0, 1, 0, 0, 0, 0}, {0, 3, 5, 40, 0, 0, 0, 0, 1, 0},
                                  {0, 4, 5, 60, 0, 0, 0, 0, 0, 0}};
    const auto load = [&] {
        VideoEventCount = 0;
        for (const TVideoEvent& e : events)
            VideoEvents[VideoEventCount++] = e;
    };
    load();
    // While the clock runs only the log line.
    w.timer->SetEnabled(true);
    GameTimerEnabled = 1;
    const QImage before = w.box->Image();
    w.showmousepathBtn->trigger();
    EXPECT_EQ(w.box->Image(), before);
    GameTimerEnabled = 0;
    w.timer->SetEnabled(false);

    GameOver = 1;
    w.showmousepathBtn->trigger();
    EXPECT_EQ(BoxPixel(5, 5), 0x00FF00u);             // left-press dot
    EXPECT_EQ(BoxPixel(5, 40), 0xFF0000u);            // right-press dot
    EXPECT_EQ(BoxPixel(5, 52), 0xFFFFFFu);            // the path
    EXPECT_EQ(BoxPixel(16 + 8, 8), 0x808080u);        // cell (1, 0): grey
    EXPECT_EQ(BoxPixel(16 + 8, 16 + 8), 0x000000u);   // cell (1, 1): black
    // The whole image turned black, not only the board.
    EXPECT_EQ(BoxPixel(470, 470), 0x000000u);

    // A paused video: the prepared count names the last event.
    w.NewBtnClick();
    load();
    --VideoEventCount;
    ReplayMode = 1;
    Options.DoChangeLayout = false;
    w.showmousepathBtn->trigger();
    EXPECT_EQ(BoxPixel(5, 58), 0xFFFFFFu); // the last event's stretch of path is drawn
    EXPECT_EQ(w.box->Image().pixel(16 + 8, 16 + 8), Skins().cells[0][csCovered].pixel(8, 8)); // board as shown
}

TEST_F(MainWindowPicturesTest, F12SavesWhatTheScreenGivesAsAJpegOfThatSize) {
    TMain& w = OpenWithDialogs();
    // An empty area captures nothing (the engine then refuses the empty bytes).
    EXPECT_TRUE(TMain::CaptureScreenRect(QRect()).isNull());
    const QImage capture = TMain::CaptureScreenRect(w.frameGeometry());
    w.MakeJPGScreenshotBtn->trigger();
    const std::vector<std::string> files = FilesIn(Home() + "screenshots");
    if (capture.isNull()) {
        // Wayland and other screens that cannot be read.
        EXPECT_TRUE(files.empty());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "Cannot save file");
        return;
    }
    ASSERT_EQ(files, std::vector<std::string>{"ScreenShot_0000.jpg"});
    test::TDecodedJpeg decoded;
    ASSERT_TRUE(test::DecodeJpeg(test::ReadFileText(Home() + "screenshots/" + files[0]), decoded));
    EXPECT_EQ(QSize(decoded.width, decoded.height), capture.size());
}

TEST_F(MainWindowPicturesTest, AFullScreenshotIsBlackWhereTheOffscreenScreenHasNoWindow) {
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) GTEST_SKIP() << "offscreen only";
    TMain& w = OpenWithDialogs();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QRegion blank(QRect(QPoint(0, 0), screen));
    for (const QWindow* window : QGuiApplication::topLevelWindows())
        if (window->isExposed()) blank -= window->geometry();
    // A point well inside the bare screen, where the encoder keeps black black.
    std::optional<QPoint> bare;
    for (const QRect& part : blank)
        if (part.width() >= 17 && part.height() >= 17) bare = part.center();
    ASSERT_TRUE(bare);
    w.MakeFULLScreenshotBtn->trigger();
    test::TDecodedJpeg full;
    ASSERT_TRUE(test::DecodeJpeg(test::ReadFileText(Home() + "screenshots/ScreenShot_0000.jpg"), full));
    ASSERT_EQ(QSize(full.width, full.height), screen);
    const size_t at = (static_cast<size_t>(bare->y()) * full.width + bare->x()) * full.components;
    for (int c = 0; c < full.components; ++c) EXPECT_LE(full.pixels[at + c], 8);
}

// The main window's focused widget, with the window made active first.
QWidget* FocusOf(QWidget& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    return QApplication::focusWidget() ? QApplication::focusWidget() : &window;
}

TEST_F(MainWindowPicturesTest, F12IntoAFolderWhoseNamesCannotBeLookedUpSaysCannotSaveFileAtOnce) {
    TMain& w = OpenWithDialogs();
    // "screenshots/" itself is usable, but no name in it can be looked up.
    Options.LastPath = test::FolderOfPathLength(Home(), 4068);
    fs::create_directories(Options.LastPath + "screenshots");
    DebugWindowOn = 1;
    QTest::keyClick(FocusOf(w), Qt::Key_F12);
    EXPECT_EQ(messages, std::vector<std::string>{"Cannot save file"});
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_EQ(DebugLogLines[0].substr(13), "#Cannot save file " + Options.LastPath +
                                               "screenshots/ (ScreenShot_0000.jpg: File name too long)");
    EXPECT_TRUE(fs::is_empty(Options.LastPath + "screenshots"));
    Options.LastPath = Home();
}

// ---- X11 (run under xvfb-run by their own test entry) ----

class X11ScreenshotTest : public MainWindowPicturesTest {
  protected:
    void SetUp() override {
        MainWindowPicturesTest::SetUp();
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X11 display";
    }
    test::TDecodedJpeg Decode(const std::string& path) {
        test::TDecodedJpeg decoded;
        EXPECT_TRUE(test::DecodeJpeg(test::ReadFileText(path), decoded)) << path;
        return decoded;
    }
};

TEST_F(X11ScreenshotTest, F12SavesTheActiveWindowAndShiftF12TheWholeScreen) {
    TMain& w = OpenWithDialogs();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const QRect active = X11ActiveWindowRect().value_or(QApplication::activeWindow() ? QApplication::activeWindow()->frameGeometry()
                                                                                      : w.frameGeometry());
    QTest::keyClick(&w, Qt::Key_F12);
    QTest::keyClick(&w, Qt::Key_F12, Qt::ShiftModifier);
    ASSERT_EQ(FilesIn(Home() + "screenshots"), (std::vector<std::string>{"ScreenShot_0000.jpg", "ScreenShot_0001.jpg"}));
    const test::TDecodedJpeg window = Decode(Home() + "screenshots/ScreenShot_0000.jpg");
    EXPECT_EQ(window.width, active.width());
    EXPECT_EQ(window.height, active.height());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const test::TDecodedJpeg full = Decode(Home() + "screenshots/ScreenShot_0001.jpg");
    EXPECT_EQ(full.width, screen.width());
    EXPECT_EQ(full.height, screen.height());
    EXPECT_TRUE(messages.empty());
    // Ctrl+F12: the same window as a bitmap, numbered by its own extension.
    QTest::keyClick(&w, Qt::Key_F12, Qt::ControlModifier);
    const QImage bitmap(QString::fromStdString(Home() + "screenshots/ScreenShot_0000.bmp"));
    EXPECT_EQ(bitmap.size(), active.size());
}

} // namespace
} // namespace quorlet
