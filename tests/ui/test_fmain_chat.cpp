// The chat submenu: each item copies its report onto the clipboard or changes the style.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <gtest/gtest.h>

#include "app/uihooks_qt.h"
#include "core/FData.h"
#include "stats/gamerecord.h"
#include "tests/stats/test_queries_history.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

class MainWindowChatTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        InstallQtUiHooks();
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
        QGuiApplication::clipboard()->clear();
    }
    QString Clipboard() const { return QGuiApplication::clipboard()->text(); }
};

TEST_F(MainWindowChatTest, ReportItemsCopyTheirReports) {
    TMain& w = Open();
    Options.doIRCtype = 2;
    Options.cbUseSmiles = false;
    TGameRecord game = test::Game(glExpert, 100, 0);
    game.bbbv = 150;
    game.flagging = 1;
    DeriveRecordFields(game);
    test::LoadHistory({game});
    LevelGameCounts = {0, 0, 1};
    EXPECT_EQ(w.IRCLastGameInfoBtn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    w.IRCLastGameInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().startsWith(QStringLiteral("/me last 1st exp game: Time: 100,00")));
    EXPECT_TRUE(Clipboard().endsWith(QStringLiteral("( RPI: 100 IOS: 1.08 RQP: 67.33 ) ")));

    w.AskGameNumber = [](const QString& defaultText) {
        EXPECT_EQ(defaultText, QStringLiteral("1"));
        return QStringLiteral("#1a");
    };
    w.IRCNGameInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().startsWith(QStringLiteral("/me my Quorlet 1st exp game: Mode: exp")));
    QGuiApplication::clipboard()->clear();
    w.AskGameNumber = [](const QString&) { return QStringLiteral("abc"); };
    w.IRCNGameInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().isEmpty());
    EXPECT_EQ(messages, (std::vector<std::string>{"Error: Game #\"\" not found"}));

    w.IRCTimeRecordsInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().startsWith(QStringLiteral("/me My Time records on Quorlet are: [BEG")));
    w.IRC3BVSRecordsInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().contains(QStringLiteral("[EXP 3BV/s: 1,50")));
    w.IRCAVGSInfoBtn->trigger();
    EXPECT_TRUE(
        Clipboard().startsWith(QStringLiteral("/me My stats file contains 1 games: 0 beg, 0 int, 1 exp.")));
    w.IRCTodayBEGInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().endsWith(QStringLiteral("beg games today. :'(")));
    w.ircJoinBtn->trigger();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find("channel: #minesweeper"), std::string::npos);
}

TEST_F(MainWindowChatTest, EmptyTableCopiesNothing) {
    TMain& w = Open();
    w.IRCLastGameInfoBtn->trigger();
    EXPECT_TRUE(Clipboard().isEmpty());
    EXPECT_EQ(messages, (std::vector<std::string>{"Error: Game #\"0\" not found"}));
}

TEST_F(MainWindowChatTest, StyleAndSilentItemsKeepTheirMarks) {
    TMain& w = Open();
    struct Case {
        QAction* item;
        uint8_t style;
    };
    for (const Case& c : {Case{w.ircfrmtCGIBtn, 1}, Case{w.ircfrmtTXTBtn, 2}, Case{w.ircfrmtmircBtn, 0}}) {
        c.item->trigger();
        EXPECT_EQ(Options.doIRCtype, c.style);
        EXPECT_EQ(w.ircfrmtmircBtn->isChecked(), c.style == 0);
        EXPECT_EQ(w.ircfrmtCGIBtn->isChecked(), c.style == 1);
        EXPECT_EQ(w.ircfrmtTXTBtn->isChecked(), c.style == 2);
    }
    const bool silent = Options.cbSilentMode;
    w.IRCsilentmodeBtn->trigger();
    EXPECT_EQ(Options.cbSilentMode, !silent);
    EXPECT_EQ(w.IRCsilentmodeBtn->isChecked(), !silent);
    // Settings read after the menu was built show when the menu opens.
    Options.doIRCtype = 1;
    emit w.IRCbtn->aboutToShow();
    EXPECT_TRUE(w.ircfrmtCGIBtn->isChecked());
}

} // namespace
} // namespace quorlet
