// The counters window beside the board: its grid after a game, its popup, docking and its
// start position.
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "core/FData.h"
#include "app/stats/FCounters.h"
#include "stats/counters.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

class CountersWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        UiHooks.CopyTextToClipboard = [this](const std::string& text) { clipboard.push_back(text); };
        CountersTemplateLines = {"Time|TIME", "3BV|BBBV", "Left|LCLK", "Flags|FLAGSUSED"};
    }
    TCounters& OpenAll() {
        Open();
        Options.widthCr1 = 60;
        Options.widthCr2 = 50;
        Options.doIRCtype = 2;
        counters = std::make_unique<TCounters>();
        return *counters;
    }
    void TearDown() override {
        counters.reset();
        MainWindowTest::TearDown();
    }
    // Loses the game at its first mine.
    void PlayAGame() {
        QTest::mouseClick(window->box, Qt::LeftButton, {}, CellCentre(3, 3));
        for (int r = 0; r <= LastRow && !GameOver; ++r)
            for (int c = 0; c <= LastColumn && !GameOver; ++c)
                if (HiddenBoard[c][r] == csMine)
                    QTest::mouseClick(window->box, Qt::LeftButton, {}, CellCentre(c, r));
    }
    std::unique_ptr<TCounters> counters;
    std::vector<std::string> clipboard;
};

TEST_F(CountersWindowTest, GridShowsTheTemplatesValuesAfterAGame) {
    TCounters& w = OpenAll();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    PlayAGame();
    ASSERT_EQ(GameOver, 1);
    ASSERT_EQ(w.RowCount(), 4);
    const char* const labels[] = {"Time", "3BV", "Left", "Flags"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(w.CellText(i, 0).toStdString(), labels[i]);
        EXPECT_EQ(w.CellText(i, 1).toStdString(), CounterValueText(CountersTemplateLines[i]));
    }
    EXPECT_EQ(w.CellText(3, 0).toStdString(), labels[3]);
    EXPECT_EQ(w.CellText(2, 1).toStdString(), std::to_string(LeftClicks));
    // The window fits its grid: two columns and four rows of 17 px, 2 px around.
    EXPECT_EQ(w.size(), QSize(60 + 50 + 2 + 4, 4 * 17 + 4));
    Options.doShowCounters = false;
    HideCountersWindow();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(CountersWindowTest, RightClickOpensThePopupWithoutDraggingAndCopyInfoCopies) {
    TCounters& w = OpenAll();
    PlayAGame();
    QTest::mousePress(w.sg->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.cntPop->isVisible());
    EXPECT_FALSE(w.Dragging());
    w.cntPop->hide();
    QTest::mouseRelease(w.sg->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    w.cntCopyInfoText->trigger();
    ASSERT_EQ(clipboard.size(), 1u);
    EXPECT_EQ(clipboard[0].rfind("/me blasted beg game --> Time: ", 0), 0u) << clipboard[0];
    EXPECT_NE(clipboard[0].find("3BV: " + CounterValues[1]), std::string::npos);
    EXPECT_EQ(clipboard[0].find("Left"), std::string::npos) << "excluded by the default list";
    // A left press starts a drag.
    QTest::mousePress(w.sg->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.Dragging());
    QTest::mouseRelease(w.sg->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(w.Dragging());
}

TEST_F(CountersWindowTest, PopupDoesNothingWhileTheMainWindowIsDisabled) {
    TCounters& w = OpenAll();
    PlayAGame();
    UiHooks.SetSaveReplayEnabled(true);
    ASSERT_TRUE(w.cntSaveBoardBtn->isEnabled()) << "the popup follows the main window's save items";
    QSignalSpy board(window->btnSaveBoard, &QAction::triggered);
    QSignalSpy preview(window->btnPreviewReplay, &QAction::triggered);
    window->setEnabled(false);
    w.cntSaveBoardBtn->trigger();
    w.cntPreviewReplayBtn->trigger();
    w.cntCopyInfoText->trigger();
    EXPECT_EQ(board.count(), 0);
    EXPECT_EQ(preview.count(), 0);
    EXPECT_TRUE(clipboard.empty());
    window->setEnabled(true);
    w.cntSaveBoardBtn->trigger();
    EXPECT_EQ(board.count(), 1);
}

TEST_F(CountersWindowTest, ReleaseNearTheMainWindowDocksOnlyWhileItIsEnabled) {
    TCounters& w = OpenAll();
    window->move(100, 100);
    const QRect main = window->frameGeometry();
    const int top = main.top() + 100;
    for (const bool enabled : {false, true}) {
        window->setEnabled(enabled);
        w.move(main.left() + main.width() + 20, top);
        QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(1, 1));
        EXPECT_EQ(w.frameGeometry().left(), main.left() + main.width() + (enabled ? 0 : 20)) << enabled;
        EXPECT_EQ(w.frameGeometry().top(), top);
    }
}

TEST_F(CountersWindowTest, OffScreenSavedPositionIsPulledBackOntoTheScreen) {
    Options.posCountersX = 100000;
    Options.posCountersY = -500;
    Open();
    // The start-up reads the settings: place the position after that.
    Options.posCountersX = 100000;
    Options.posCountersY = -500;
    counters = std::make_unique<TCounters>();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    EXPECT_LE(counters->frameGeometry().right(), screen.width());
    EXPECT_GE(counters->frameGeometry().left(), 0);
    EXPECT_EQ(counters->frameGeometry().top(), 0);
}

// The rows were 18 px high in a window sized for rows of 17: the last row was cut.
TEST_F(CountersWindowTest, LastRowLiesInsideTheWindowAtEightAndTwentyRows) {
    TCounters& w = OpenAll();
    for (const int rows : {8, 20}) {
        SCOPED_TRACE(rows);
        CountersTemplateLines.clear();
        for (int i = 0; i < rows; ++i)
            CountersTemplateLines.push_back("Row " + std::to_string(i) + "|LCLK");
        ShowCountersWindow();
        ASSERT_TRUE(w.isVisible());
        ASSERT_EQ(w.RowCount(), rows);
        const QRect cell = w.sg->visualRect(w.sg->model()->index(rows - 1, 1));
        const QRect last(w.sg->viewport()->mapTo(&w, cell.topLeft()), cell.size());
        EXPECT_TRUE(w.rect().contains(last)) << "last row at y " << last.top() << ".." << last.bottom()
                                             << " in a window " << w.height() << " px high";
        EXPECT_TRUE(w.sg->viewport()->rect().contains(cell));
        EXPECT_EQ(w.sg->rowHeight(rows - 1), 17);
    }
}

// With the default, empty template the window showed as a bare sliver beside the board.
TEST_F(CountersWindowTest, WindowWithoutRowsWaitsForTheTemplatesFirstRow) {
    CountersTemplateLines.clear();
    TCounters& w = OpenAll();
    ASSERT_TRUE(Options.doShowCounters);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Options.heightCr3, 0);
    window->NewBtnClick();
    EXPECT_FALSE(w.isVisible());

    // A template that gains a row (Apply in the options refreshes the counters) shows it.
    CountersTemplateLines = {"Left|LCLK"};
    RefreshCounters();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.RowCount(), 1);
    EXPECT_EQ(w.CellText(0, 0).toStdString(), "Left");
    CountersTemplateLines.clear();
    RefreshCounters();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Options.heightCr3, 0);

    // A window the player switched off stays hidden whatever the rows.
    Options.doShowCounters = false;
    HideCountersWindow();
    CountersTemplateLines = {"Left|LCLK"};
    RefreshCounters();
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace quorlet
