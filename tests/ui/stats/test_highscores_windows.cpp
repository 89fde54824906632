// The new-record notice after a won game and the local high-score window, through the windows.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/FData.h"
#include "core/textutil.h"
#include "app/stats/Flhs_gain.h"
#include "app/stats/Flocal_high_scores.h"
#include "stats/gamerecord.h"
#include "stats/highscores.h"
#include "tests/stats/test_queries_history.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

class HighScoreWindowsTest : public MainWindowTest {
  protected:
    void OpenAll() {
        Open();
        scores = std::make_unique<TLocal_High_Scores>();
        notice = std::make_unique<Tlhs_gain>();
    }
    void TearDown() override {
        notice.reset();
        scores.reset();
        MainWindowTest::TearDown();
    }
    bool HighScoreReplayExists() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Home(), ec))
            if (entry.path().filename().string().rfind("HI-SCORE ", 0) == 0) return true;
        return false;
    }
    std::unique_ptr<TLocal_High_Scores> scores;
    std::unique_ptr<Tlhs_gain> notice;
};

TEST_F(HighScoreWindowsTest, RecordWinShowsTheNoticeSavesTheReplayAndOkOpensPageOne) {
    OpenAll();
    WinGameByClicks();
    ASSERT_EQ(GameOver, 1);
    ASSERT_GT(LevelGameCounts[glBeginner], 0u) << "the win was stored";
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->txt->toPlainText().startsWith(QStringLiteral("Congratulations with\n")));
    EXPECT_TRUE(notice->txt->toPlainText().contains(QStringLiteral("NF Time")));
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(HighScoreReplayExists());
    EXPECT_FALSE(notice->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(notice->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(notice->windowFlags() & Qt::WindowCloseButtonHint);

    QTest::mouseClick(notice->okBtn, Qt::LeftButton);
    EXPECT_FALSE(notice->isVisible());
    ASSERT_TRUE(scores->isVisible());
    EXPECT_EQ(scores->pager->currentIndex(), 0);
    EXPECT_FALSE(window->isEnabled()) << "the high-score window keeps the main window disabled";
    EXPECT_EQ(scores->CellText(1, 1, 1).toStdString(),
              FormatGameTime(GameHistory[0].timeSec, GameHistory[0].timeHund));
    EXPECT_EQ(scores->ExitBtn->shortcut(), QKeySequence(Qt::Key_Escape));
    scores->ExitBtn->trigger();
    EXPECT_FALSE(scores->isVisible());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(HighScoreWindowsTest, NoticeHiddenWithoutTheScoresGivesTheMainWindowBack) {
    OpenAll();
    WinGameByClicks();
    ASSERT_TRUE(notice->isVisible());
    // A new game (the boss key starts one) leaves the won game behind: OK refuses...
    window->NewBtnClick();
    QTest::mouseClick(notice->okBtn, Qt::LeftButton);
    EXPECT_TRUE(notice->isVisible());
    // ...but closing still hides the notice, and the main window is usable again.
    notice->close();
    EXPECT_FALSE(notice->isVisible());
    EXPECT_FALSE(scores->isVisible());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(HighScoreWindowsTest, WinWithoutARecordShowsNoNotice) {
    OpenAll();
    // An earlier game better in every measure.
    TGameRecord best = test::Game(glBeginner, 0, 0);
    best.bbbvsExact = 1000;
    best.rqp = 0;
    best.bbbv = 999;
    best.leftClicks = 1;
    test::LoadHistory({best, best});
    GameHistory[1].rightClicks = 1;
    WinGameByClicks();
    ASSERT_EQ(GameOver, 1);
    EXPECT_FALSE(notice->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(HighScoreReplayExists());
}

TEST_F(HighScoreWindowsTest, PagesOfAnEmptyAndAFullHistoryAndTheirExport) {
    OpenAll();
    UiHooks.ShowHighScoresWindow(1);
    ASSERT_TRUE(scores->isVisible());
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(scores->CellText(1, 0, 1), QStringLiteral("Time"));
    EXPECT_EQ(scores->CellText(1, 1, 1), QStringLiteral("999,00"));
    EXPECT_EQ(scores->CellText(1, 4, 1), QStringLiteral("999,000"));
    scores->close();

    std::vector<TGameRecord> games;
    for (int i = 0; i < 30; ++i) {
        TGameRecord r = test::Game(glExpert, static_cast<uint16_t>(60 + i), 0);
        r.bbbv = 120;
        r.leftClicks = 150;
        DeriveRecordFields(r);
        games.push_back(r);
    }
    test::LoadHistory(games);
    UiHooks.ShowHighScoresWindow(1);
    EXPECT_EQ(scores->CellText(1, 3, 1), QStringLiteral("60,00"));
    EXPECT_EQ(scores->CellText(1, 3, 2).toStdString(), "00:00:00 01.01.2026");
    // Switching tabs fills the page shown.
    scores->pager->setCurrentIndex(3);
    EXPECT_EQ(scores->CellText(4, 3, 1), QStringLiteral("72,000")) << "mean of 60..84";
    EXPECT_EQ(scores->grids[3]->model()->columnCount(), 2);

    const std::string path = Home() + "top.html";
    scores->ChooseHtmlFile = [&](const QString& folder, const QString& name) {
        EXPECT_EQ(name, QStringLiteral("scores_top25.html"));
        EXPECT_EQ(folder.toStdString(), Options.LastPath);
        return QString::fromStdString(path);
    };
    scores->savehtmlbtn->trigger();
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), HighScorePageHtml(HighScorePage(4), "top.html"));
    // Cancelled: nothing written.
    scores->ChooseHtmlFile = [](const QString&, const QString&) { return QString(); };
    std::filesystem::remove(path);
    scores->savehtmlbtn->trigger();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(messages.empty());
    scores->close();
    EXPECT_TRUE(window->isEnabled());
}

// ---- X11 (run under xvfb-run by their own test entry) ----

class X11HighScoreNoticeTest : public HighScoreWindowsTest {
  protected:
    void SetUp() override {
        HighScoreWindowsTest::SetUp();
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X11 display";
    }
};

// Over a Beginner board at the screen's left edge the notice started at x = -58, its text cut.
TEST_F(X11HighScoreNoticeTest, NoticeOverABeginnerBoardAtTheScreenEdgeStaysOnTheScreen) {
    OpenAll();
    ASSERT_EQ(LastColumn, 7);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->move(0, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().topLeft() == QPoint(0, 0); }, 3000));
    ASSERT_LT(window->frameGeometry().width(), notice->frameGeometry().width());
    WinGameByClicks();
    ASSERT_TRUE(notice->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notice.get()));
    const QRect free = window->screen()->availableGeometry();
    // The window system has the last word on where the notice is.
    QTest::qWait(100);
    const QRect shown = notice->frameGeometry();
    EXPECT_TRUE(free.contains(shown))
        << shown.left() << "," << shown.top() << " " << shown.width() << "x" << shown.height();
    EXPECT_EQ(shown.left(), free.left());
    // Still a third of its height above the main window's middle.
    const QRect main = window->frameGeometry();
    EXPECT_EQ(shown.top(), main.top() + main.height() / 2 - shown.height() / 3);
}

// The file dialog proposed "scores_best.htm*" (its name filter, set after the name, took the
// name's extension) and saved under that name. The real dialog, as the player meets it: each
// page's tab clicked, a right click on the table, "Save Table", Enter on the proposed name.
TEST_F(HighScoreWindowsTest, SaveTableProposesAndWritesEachPagesHtmlName) {
    OpenAll();
    UiHooks.ShowHighScoresWindow(1);
    ASSERT_TRUE(scores->isVisible());
    QTabBar* tabs = scores->pager->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    for (int page = 1; page <= 6; ++page) {
        SCOPED_TRACE(page);
        const std::string name = HighScorePageFileName(page);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page - 1).center());
        ASSERT_EQ(scores->pager->currentIndex(), page - 1);
        QWidget* table = scores->grids[page - 1]->viewport();
        const QPoint at(40, 40);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, table->mapToGlobal(at));
        QApplication::sendEvent(table, &click);
        ASSERT_TRUE(scores->lhspopup->isVisible());
        QString proposed, folder;
        bool acceptedByEnter = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            folder = dialog->directory().absolutePath();
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                proposed = edit->text();
            if (!QTest::qWaitForWindowActive(dialog) || !QApplication::focusWidget()) {
                dialog->reject();
                FAIL() << "the dialog has no focus";
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            acceptedByEnter = !dialog->isVisible();
            if (!acceptedByEnter) dialog->reject();
        });
        QTest::mouseClick(scores->lhspopup, Qt::LeftButton, {},
                          scores->lhspopup->actionGeometry(scores->savehtmlbtn).center());
        EXPECT_EQ(proposed.toStdString(), name);
        EXPECT_EQ(folder.toStdString() + "/", Options.LastPath);
        EXPECT_TRUE(acceptedByEnter);
        EXPECT_EQ(test::ReadFileText(Options.LastPath + name), HighScorePageHtml(HighScorePage(page), name));
    }
    for (const auto& entry : std::filesystem::directory_iterator(Options.LastPath))
        EXPECT_EQ(entry.path().filename().string().find('*'), std::string::npos) << entry.path();
    EXPECT_TRUE(messages.empty());
    scores->close();
}

} // namespace
} // namespace quorlet
