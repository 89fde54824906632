// The playback bar and the main window's video commands: the wiring from controls, keys and
// menu items to the playback engine (the rules themselves are tested in tests/core).
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/FProgressBar.h"
#include "core/FData.h"
#include "core/playback.h"
#include "core/qvf.h"
#include "kit/KitTimer.h"
#include "test_fmain_fixture.h"

namespace quorlet {
namespace {

class ProgressBarTest : public MainWindowTest {
  protected:
    void TearDown() override {
        bar.reset();
        MainWindowTest::TearDown();
    }
    TProgressBar& OpenBar() {
        bar = std::make_unique<TProgressBar>(window.get());
        return *bar;
    }
    // Opens every safe cell of a fresh Beginner game through the board widget, a few ticks
    // between clicks.
    void WinAGame(TMain& w) {
        QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(3, 3));
        ASSERT_FALSE(WaitingFirstClick);
        for (int c = 0; c <= LastColumn && !GameOver; ++c)
            for (int r = 0; r <= LastRow && !GameOver; ++r) {
                if (HiddenBoard[c][r] == csMine || VisibleBoard[c][r] != csCovered) continue;
                w.timerTimer();
                w.timerTimer();
                QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(c, r));
            }
        ASSERT_TRUE(GameOver);
        ASSERT_EQ(NewGameFace, imf3);
    }
    static void PlayToTheEnd(TMain& w) {
        for (int guard = 0; w.timer->Enabled() && guard < 100000; ++guard)
            w.timerTimer();
        EXPECT_FALSE(w.timer->Enabled());
    }

    // Opens `path` by F4 and the real open dialog, its name typed as a player would.
    static void PlayVideoByF4(TMain& w, const QString& path) {
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            // The name box takes the focus once the dialog is active.
            const bool focused =
                QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }, 3000);
            QWidget* name = QApplication::focusWidget();
            if (!focused || name->window() != dialog) {
                ADD_FAILURE() << "the open dialog has no focused control";
                dialog->reject();
                return;
            }
            QTest::keyClicks(name, path);
            QTest::keyClick(name, Qt::Key_Return);
            answered = true;
        });
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_F4);
        ASSERT_TRUE(answered);
    }
    // Every cell of the board as shown equals its cell picture (the playback cursor's cells
    // aside, it is drawn over them).
    void ExpectEveryCellPainted(TMain& w) {
        const QRect cursor = w.Cur->isVisible() ? w.Cur->geometry() : QRect();
        int wrong = 0;
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r) {
                const QRect cell(c * kCellSize, r * kCellSize, kCellSize, kCellSize);
                if (cell.intersects(cursor)) continue;
                const QImage& picture = Skins().cells[Options.skinNumber][VisibleBoard[c][r]];
                if (!SamePixels(GrabCell(c, r), picture) && ++wrong <= 3)
                    ADD_FAILURE() << "cell " << c << "," << r << " not painted";
            }
        EXPECT_EQ(wrong, 0);
    }

    std::unique_ptr<TProgressBar> bar;
};

TEST_F(ProgressBarTest, CreatedHiddenWithItsStartValues) {
    Open();
    TProgressBar& b = OpenBar();
    EXPECT_EQ(ProgressBarReady, 1);
    EXPECT_FALSE(b.isVisible());
    EXPECT_EQ(b.size(), QSize(503, 30));
    EXPECT_EQ(b.windowTitle(), QStringLiteral("Replay Progress Control Bar"));
    EXPECT_TRUE(b.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(b.trSpeed->minimum(), 1);
    EXPECT_EQ(b.trSpeed->maximum(), 41);
    EXPECT_EQ(b.trSpeed->value(), 20);
    EXPECT_EQ(b.trSpeed->tickInterval(), 10);
    EXPECT_EQ(b.trProgress->tickInterval(), 100);
    EXPECT_EQ(b.lSpeed->text(), QStringLiteral("1,00x"));
    EXPECT_EQ(b.lProgress->text(), QStringLiteral("0,00"));
    for (const char* name :
         {"RestartBtn", "PauseBtn", "StopBtn", "trSpeed", "lSpeed", "trProgress", "lProgress"})
        EXPECT_NE(b.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    bar.reset();
    EXPECT_EQ(ProgressBarReady, 0);
}

TEST_F(ProgressBarTest, PreviewPlaysTheLastGameToItsEndAndTheBarFollows) {
    TMain& w = Open();
    TProgressBar& b = OpenBar();
    WinAGame(w);
    const TBoardLayer live = VisibleBoard;
    const TGameClock liveClock = GameClock;
    ASSERT_TRUE(w.btnPreviewReplay->isEnabled());
    w.btnPreviewReplay->trigger();
    EXPECT_EQ(ReplayMode, 1);
    EXPECT_EQ(PreviewReplayMode, 1);
    EXPECT_TRUE(b.isVisible());
    EXPECT_TRUE(w.Cur->isVisible());
    EXPECT_TRUE(w.timer->Enabled());
    EXPECT_EQ(w.timer->Interval(), 10u);
    const TVideoEvent& last = VideoEvents[VideoEventCount];
    EXPECT_EQ(b.trProgress->maximum(), last.seconds * 100 + last.hundredths);
    w.timerTimer();
    w.timerTimer();
    EXPECT_EQ(w.Cur->pos(),
              QPoint(VideoEvents[VideoPlaybackIndex - 1].x + 2, VideoEvents[VideoPlaybackIndex - 1].y + 2));
    PlayToTheEnd(w);
    EXPECT_EQ(VisibleBoard, live);
    EXPECT_EQ(GameClock.seconds, liveClock.seconds);
    EXPECT_EQ(GameClock.hundredths, liveClock.hundredths);
    EXPECT_GT(b.trProgress->value(), 0);
    EXPECT_EQ(b.ProgressSelEnd(), b.trProgress->value());

    // A new game leaves playback: bar and cursor hidden.
    w.NewBtnClick();
    EXPECT_EQ(ReplayMode, 0);
    EXPECT_FALSE(b.isVisible());
    EXPECT_FALSE(w.Cur->isVisible());
}

TEST_F(ProgressBarTest, ButtonsStopRestartAndPause) {
    TMain& w = Open();
    TProgressBar& b = OpenBar();
    WinAGame(w);
    w.btnPreviewReplay->trigger();
    w.timerTimer();
    QTest::mouseClick(b.StopBtn, Qt::LeftButton);
    EXPECT_FALSE(w.timer->Enabled());
    EXPECT_FALSE(w.Cur->isVisible());
    EXPECT_EQ(GameClock.seconds, 1);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_EQ(VisibleBoard[3][3], csCovered);
    QTest::mouseClick(b.RestartBtn, Qt::LeftButton);
    EXPECT_TRUE(w.timer->Enabled());
    EXPECT_TRUE(w.Cur->isVisible());
    EXPECT_EQ(GameClock.seconds, 0);
    QTest::mouseClick(b.PauseBtn, Qt::LeftButton);
    EXPECT_FALSE(w.timer->Enabled());
    QTest::mouseClick(b.PauseBtn, Qt::LeftButton);
    EXPECT_TRUE(w.timer->Enabled());
}

TEST_F(ProgressBarTest, SpeedBarAndItsKeysSetIntervalAndLabel) {
    TMain& w = Open();
    TProgressBar& b = OpenBar();
    WinAGame(w);
    w.btnPreviewReplay->trigger();
    b.trSpeed->setValue(41);
    EXPECT_EQ(w.timer->Interval(), 2u);
    EXPECT_EQ(b.lSpeed->text(), QStringLiteral("5,00x"));
    EXPECT_EQ(b.SpeedSelEnd(), 41);
    b.trSpeed->setFocus();
    QTest::keyClick(b.trSpeed, Qt::Key_Left);
    EXPECT_EQ(b.trSpeed->value(), 40);
    EXPECT_EQ(w.timer->Interval(), 5u);
    EXPECT_EQ(b.lSpeed->text(), QStringLiteral("2,00x"));
    Options.doDotSeparator = 1;
    b.trSpeed->setValue(20);
    EXPECT_EQ(b.lSpeed->text(), QStringLiteral("1.00x"));
    EXPECT_EQ(w.timer->Interval(), 10u);
    // Stop keeps the chosen speed.
    b.trSpeed->setValue(1);
    QTest::mouseClick(b.StopBtn, Qt::LeftButton);
    EXPECT_EQ(w.timer->Interval(), 200u);
    // A new game gives the game its 10 ms back.
    w.NewBtnClick();
    EXPECT_EQ(w.timer->Interval(), 10u);
    EXPECT_EQ(GameTimerInterval, 10u);
}

TEST_F(ProgressBarTest, PositionKeysMoveByTenAndShowTheTime) {
    Open();
    TProgressBar& b = OpenBar();
    b.SetupBar(1000);
    b.trProgress->setValue(95);
    QTest::keyClick(b.trProgress, Qt::Key_Right);
    EXPECT_EQ(b.trProgress->value(), 100);
    EXPECT_EQ(b.lProgress->text(), QStringLiteral("1,00"));
    QTest::keyClick(b.trProgress, Qt::Key_Left);
    EXPECT_EQ(b.trProgress->value(), 90);
    EXPECT_EQ(b.lProgress->text(), QStringLiteral("0,90"));
}

TEST_F(ProgressBarTest, PlayVideoRefusesOtherEndingsAndPlaysAQvf) {
    TMain& w = Open();
    TProgressBar& b = OpenBar();
    WinAGame(w);
    const TBoardLayer live = VisibleBoard;
    const std::string file = Home() + "won.QVF";
    ASSERT_TRUE(SaveReplayFile(file));

    QString offered;
    w.ChooseVideoFile = [&](const QString& folder) {
        offered = folder;
        return QString::fromStdString(Home() + "notes.txt");
    };
    w.PlayVideoBtn->trigger();
    EXPECT_EQ(offered.toStdString(), Options.LastPath);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Not a Quorlet Video File");
    EXPECT_EQ(ReplayMode, 0);

    w.ChooseVideoFile = [&](const QString&) { return QString::fromStdString(file); };
    w.PlayVideoBtn->trigger();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(ReplayMode, 1);
    EXPECT_EQ(PreviewReplayMode, 0);
    EXPECT_TRUE(b.isVisible());
    EXPECT_TRUE(w.timer->Enabled());
    PlayToTheEnd(w);
    EXPECT_EQ(VisibleBoard, live);

    // A cancelled dialog loads nothing.
    w.ChooseVideoFile = [](const QString&) { return QString(); };
    w.PlayVideoBtn->trigger();
    EXPECT_EQ(ReplayMode, 0);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ProgressBarTest, CommandLineVideoPlaysWhenTheBarIsCreated) {
    {
        TMain& w = Open();
        WinAGame(w);
        ASSERT_TRUE(SaveReplayFile(Home() + "start.qvf"));
        window.reset();
    }
    ResetGlobals();
    Options.LastPath = Home();
    TMain& w = Open(QString::fromStdString(Home() + "start.qvf"));
    ASSERT_EQ(ReplayMode, 1);
    TProgressBar& b = OpenBar();
    EXPECT_EQ(ReplayMode, 1);
    EXPECT_TRUE(b.isVisible());
    EXPECT_TRUE(w.timer->Enabled());
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgressBarTest, SaveReplayProposesTheNumberedNameAndWrites) {
    TMain& w = Open();
    OpenBar();
    Options.ReplayFileName = "mygame";
    WinAGame(w);
    std::ofstream(Home() + "mygame.qvf") << "x";
    QString proposed;
    w.ChooseReplaySaveFile = [&](const QString& folder, const QString& name) {
        EXPECT_EQ(folder.toStdString(), Options.LastPath);
        proposed = name;
        return name;
    };
    ASSERT_TRUE(w.sbSavereplay->isEnabled());
    w.sbSavereplay->trigger();
    EXPECT_EQ(proposed.toStdString(), Home() + "mygame_(001).qvf");
    EXPECT_TRUE(std::filesystem::exists(Home() + "mygame_(001).qvf"));

    // During a preview the save writes the whole game too.
    w.btnPreviewReplay->trigger();
    w.ChooseReplaySaveFile = [&](const QString&, const QString&) {
        return QString::fromStdString(Home() + "p.qvf");
    };
    w.sbSavereplay->trigger();
    ASSERT_TRUE(LoadReplayFile(Home() + "mygame_(001).qvf"));
    const uint32_t saved = VideoEventCount;
    ASSERT_TRUE(LoadReplayFile(Home() + "p.qvf"));
    EXPECT_EQ(VideoEventCount, saved);
}

TEST_F(ProgressBarTest, CursorPictureIsOursUnlessAFileIsNamed) {
    TMain& w = Open();
    ASSERT_NE(w.Cur, nullptr);
    const QImage builtIn = w.Cur->pixmap().toImage();
    ASSERT_FALSE(builtIn.isNull());
    EXPECT_LE(builtIn.width(), 32);
    EXPECT_LE(builtIn.height(), 32);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(Home() + "mine.bmp")));
    UiHooks.SetReplayCursor(Home() + "mine.bmp");
    EXPECT_EQ(w.Cur->pixmap().size(), QSize(8, 8));
    UiHooks.SetReplayCursor({});
    EXPECT_EQ(w.Cur->pixmap().toImage(), builtIn);
    // Not a picture: the default stays.
    std::ofstream(Home() + "cursor.bmp") << "not a bitmap";
    UiHooks.SetReplayCursor({});
    EXPECT_EQ(w.Cur->pixmap().toImage(), builtIn);
}

// An Expert video opened on a Beginner board was drawn on the old 8 x 8 corner only, and the
// video's flag covered the start of the player's name.
TEST_F(ProgressBarTest, VideoOfAnotherSizeShowsItsWholeBoardAndTheNameBesideTheFlag) {
    TMain& w = Open();
    OpenBar();
    Options.UserIDText = "Tester";
    Options.CountryNumber = 5;
    Options.ShowIDText = true;
    w.ExpertBtn->trigger();
    QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(3, 3));
    for (int c = 0; c <= LastColumn && !GameOver; ++c)
        for (int r = 0; r <= LastRow && !GameOver; ++r)
            if (HiddenBoard[c][r] == csMine) QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(c, r));
    ASSERT_TRUE(GameOver);
    const std::string file = Home() + "expert.qvf";
    ASSERT_TRUE(SaveReplayFile(file));
    Options.CountryNumber = 0;
    w.BeginnerBtn->trigger();
    ASSERT_EQ(LastColumn, 7);

    PlayVideoByF4(w, QString::fromStdString(file));
    ASSERT_EQ(ReplayMode, 1);
    ASSERT_EQ(LastColumn, 29);
    ASSERT_EQ(w.box->size(), QSize(30 * kCellSize, 16 * kCellSize));
    ExpectEveryCellPainted(w);
    EXPECT_EQ(w.lnamelabel->text().toStdString(), "Tester");
    ASSERT_TRUE(w.imFlag->isVisible()) << "the video's flag";
    EXPECT_FALSE(w.imFlag->geometry().intersects(w.lnamelabel->geometry()));
    EXPECT_GT(w.lnamelabel->geometry().left(), w.imFlag->geometry().right());

    PlayToTheEnd(w);
    ExpectEveryCellPainted(w);
    EXPECT_FALSE(w.imFlag->geometry().intersects(w.lnamelabel->geometry()));
}

} // namespace
} // namespace quorlet
