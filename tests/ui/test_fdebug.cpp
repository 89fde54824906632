#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <fstream>
#include <sstream>

#include "app/Fdebug.h"
#include "app/uihooks_qt.h"
#include "core/debuglog.h"
#include "core/textutil.h"
#include "testutil.h"

namespace quorlet {

class DebugWindowTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        SystemTimeSource = [] { return TSystemTime{2026, 3, 4, 5, 14, 7, 9, 45}; };
    }
    static std::string MemoLine(const Tdebug& w, int i) {
        return w.dm->document()->findBlockByNumber(i).text().toStdString();
    }
};

TEST_F(DebugWindowTest, CreationWritesTheSystemReport) {
    EXPECT_EQ(DebugWindowOn, 0);
    Tdebug w;
    EXPECT_EQ(DebugWindowOn, 1);
    EXPECT_EQ(w.size(), QSize(640, 480));
    EXPECT_TRUE(w.dm->isReadOnly());
    ASSERT_EQ(DebugLogLines.size(), 12u);
    EXPECT_EQ(DebugLogLines.back(), "14:07:09:045 path      | " + Home());
    EXPECT_EQ(w.dm->blockCount(), 12);
    EXPECT_EQ(MemoLine(w, 0), DebugLogLines.front());
    EXPECT_EQ(w.windowTitle().toStdString(), DebugLogCaption());
    EXPECT_EQ(w.windowTitle().left(20), QStringLiteral("Debug Protocol * [12"));
}

TEST_F(DebugWindowTest, MenuItemsAndShortcuts) {
    Tdebug w;
    struct Item {
        QAction* action;
        const char* text;
        QKeySequence key;
    };
    for (const Item& item : {Item{w.ClearBtn, "Clear", QKeySequence(Qt::CTRL | Qt::Key_N)},
                             Item{w.SaveAsBtn, "Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
                             Item{w.FontBtn, "Font", QKeySequence()},
                             Item{w.CommandBtn, "Command [Enter]", QKeySequence(Qt::Key_Return)},
                             Item{w.CloseBtn, "Close", QKeySequence(Qt::Key_Escape)}}) {
        EXPECT_EQ(item.action->text().toStdString(), item.text);
        EXPECT_EQ(item.action->shortcut(), item.key) << item.text;
        EXPECT_TRUE(w.menuBar()->actions().contains(item.action)) << item.text;
    }
}

TEST_F(DebugWindowTest, ShownLogFollowsNewLinesNewestFirst) {
    Tdebug w;
    w.show();
    DebugLog("first");
    DebugLog("second");
    QCoreApplication::processEvents();
    EXPECT_EQ(MemoLine(w, 0), "14:07:09:045 second");
    EXPECT_EQ(MemoLine(w, 1), "14:07:09:045 first");
    EXPECT_EQ(w.windowTitle().toStdString(), DebugLogCaption());
}

TEST_F(DebugWindowTest, HiddenLogCatchesUpWhenShown) {
    Tdebug w;
    DebugLog("while hidden");
    EXPECT_EQ(w.windowTitle().toStdString(), DebugLogCaption()); // the caption follows at once
    w.show();
    EXPECT_EQ(MemoLine(w, 0), "14:07:09:045 while hidden");
}

TEST_F(DebugWindowTest, ClearShortcutEmptiesTheLog) {
    Tdebug w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    // Shortcuts reach only the active window; on a real display that takes a round trip.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(DebugLogLines, std::vector<std::string>{"14:07:09:045 protocol cleared"});
}

TEST_F(DebugWindowTest, SaveAsUsesTheChosenFile) {
    Tdebug w;
    QString askedFolder, askedName;
    QString answer = QString::fromStdString(Home() + "saved.txt");
    w.ChooseSaveFile = [&](const QString& folder, const QString& name) {
        askedFolder = folder;
        askedName = name;
        return answer;
    };
    w.SaveAsBtn->trigger();
    EXPECT_EQ(askedFolder.toStdString(), Home());
    EXPECT_EQ(askedName, QStringLiteral("_Debug_MS_Quorlet_14h07m_05d03m2026y.txt"));
    EXPECT_EQ(DebugLogLines.front(), "14:07:09:045 protocol save ok");
    std::ifstream in(Home() + "saved.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("path      | "), std::string::npos);

    answer.clear(); // cancelled: nothing logged
    const auto before = DebugLogLines.size();
    w.SaveAsBtn->trigger();
    EXPECT_EQ(DebugLogLines.size(), before);
}

TEST_F(DebugWindowTest, SaveAsSkipsAnEmptyLog) {
    Tdebug w;
    DebugLogLines.clear();
    bool asked = false;
    w.ChooseSaveFile = [&](const QString&, const QString&) {
        asked = true;
        return QString();
    };
    w.SaveAsBtn->trigger();
    EXPECT_FALSE(asked);
}

TEST_F(DebugWindowTest, FontKeepsSizeRangeAndNoStyle) {
    Tdebug w;
    struct Case {
        int chosen, used;
    };
    for (const Case& c : {Case{50, 36}, Case{5, 7}, Case{12, 12}}) {
        w.ChooseFont = [&](QFont& font) {
            font.setPointSize(c.chosen);
            font.setBold(true);
            font.setItalic(true);
            return true;
        };
        w.FontBtn->trigger();
        EXPECT_EQ(w.dm->font().pointSize(), c.used);
        EXPECT_FALSE(w.dm->font().bold());
        EXPECT_FALSE(w.dm->font().italic());
    }
    const QFont before = w.dm->font();
    w.ChooseFont = [](QFont& font) {
        font.setPointSize(20);
        return false; // cancelled
    };
    w.FontBtn->trigger();
    EXPECT_EQ(w.dm->font(), before);
}

TEST_F(DebugWindowTest, CloseReturnsToTheOpenerWithANewGame) {
    for (bool counters : {true, false}) {
        SCOPED_TRACE(counters);
        QWidget opener;
        opener.setEnabled(false);
        Tdebug w(&opener);
        w.show();
        Options.doShowCounters = counters;
        WaitingFirstClick = 0;
        // The counters window exists and had its first layout.
        CountersWindowCreated = CountersLaidOutOnce = 1;
        int newGames = 0, shown = 0, hidden = 0;
        UiHooks.NewGame = [&] { ++newGames; };
        UiHooks.ShowCountersWindow = [&] { ++shown; };
        UiHooks.HideCountersWindow = [&] { ++hidden; };
        w.CloseBtn->trigger();
        EXPECT_EQ(GameOver, 1); // the clock was stopped
        EXPECT_TRUE(opener.isEnabled());
        EXPECT_TRUE(opener.isVisible());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(newGames, 1);
        EXPECT_EQ(shown, counters ? 1 : 0);
        EXPECT_EQ(hidden, counters ? 0 : 1);
        GameOver = 0;
    }
}

TEST_F(DebugWindowTest, ClosingByTheFrameHidesAndKeepsTheWindow) {
    QWidget opener;
    opener.setEnabled(false);
    Tdebug w(&opener);
    w.show();
    int newGames = 0;
    UiHooks.NewGame = [&] { ++newGames; };
    EXPECT_FALSE(w.close()); // refused: the window lives for the whole run
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(opener.isEnabled());
    EXPECT_EQ(newGames, 0);
    EXPECT_EQ(DebugWindowOn, 1);
}

TEST_F(DebugWindowTest, MemoRefusesClicksAndKeys) {
    Tdebug w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseDClick(w.dm->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::keyClick(w.dm, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(w.dm->textCursor().hasSelection());
    EXPECT_FALSE(w.dm->hasFocus());
}

TEST_F(DebugWindowTest, ShownLogAfterClearanceHoldsTheNoticeOnly) {
    Tdebug w;
    w.show();
    DebugLogLines.clear();
    for (int i = 0; i < 3001; ++i)
        DebugLog("line");
    QCoreApplication::processEvents();
    EXPECT_EQ(DebugLogLines, std::vector<std::string>{"14:07:09:045 debug log automated clearance done"});
    EXPECT_EQ(w.dm->blockCount(), 1);
    EXPECT_EQ(MemoLine(w, 0), "14:07:09:045 debug log automated clearance done");
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Debug Protocol * [1 lines / 48 bytes / 99% free]"));
}

TEST_F(DebugWindowTest, CommandBoxPlacementStaysOnScreen) {
    struct Case {
        QRect opener;
        QPoint corner;
    };
    const QSize box(312, 60), screen(1024, 768);
    for (const Case& c :
         {Case{QRect(100, 100, 640, 480), QPoint(264, 310)},
          Case{QRect(101, 101, 641, 481), QPoint(265, 311)}, // halves truncate
          Case{QRect(-600, -400, 640, 480), QPoint(0, 0)}, Case{QRect(900, 700, 640, 480), QPoint(712, 708)}})
        EXPECT_EQ(CenteredOnOpener(c.opener, box, screen), c.corner) << c.opener.x();
    // The halves are exact before the truncation: an odd box on an even opener lands on
    // trunc(100 + 320 - 156.5) = 263, not 264.
    EXPECT_EQ(CenteredOnOpener(QRect(100, 100, 640, 480), QSize(313, 61), screen), QPoint(263, 309));
    EXPECT_EQ(CenteredOnOpener(QRect(101, 101, 641, 481), QSize(313, 61), screen), QPoint(265, 311));
}

TEST_F(DebugWindowTest, CommandOpensTheBoxAndDisablesTheLog) {
    Tdebug w;
    w.show();
    w.CommandBtn->trigger(); // no box yet: nothing happens
    EXPECT_TRUE(w.isEnabled());

    QWidget box;
    box.resize(312, 38);
    auto* dc = new QLineEdit(&box);
    dc->setObjectName(QStringLiteral("dc"));
    w.CommandBox = &box;
    const QPoint expected =
        CenteredOnOpener(w.frameGeometry(), box.frameGeometry().size(), w.screen()->size());
    w.CommandBtn->trigger();
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(w.isEnabled());
    EXPECT_EQ(box.focusWidget(), dc);
    EXPECT_EQ(box.pos(), expected);
}

// ---- Qt hooks ----

TEST_F(DebugWindowTest, MessageBoxIsOneYesButton) {
    InstallQtUiHooks();
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        box->button(QMessageBox::Yes)->click();
    });
    ShowMessageBox("Cannot save file");
    EXPECT_EQ(text, QStringLiteral("Cannot save file"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons.size(), 1);
}

TEST_F(DebugWindowTest, ClipboardGetsThePlainText) {
    InstallQtUiHooks();
    CopyTextToClipboard("3BV/s = 1,23");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("3BV/s = 1,23"));
}

TEST_F(DebugWindowTest, PictureSizeReadsTheFile) {
    InstallQtUiHooks();
    const std::string png = Home() + "cursor.png";
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    std::ofstream(Home() + "bad.bmp") << "not a picture";
    int32_t width = 0, height = 0;
    EXPECT_TRUE(UiHooks.PictureSize(png, width, height));
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 20);
    EXPECT_FALSE(UiHooks.PictureSize(Home() + "bad.bmp", width, height));
}

} // namespace quorlet
