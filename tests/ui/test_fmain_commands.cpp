// The main menu's shortcuts and the openers of the secondary windows: each key reaches its
// handler, each opener does its own steps and calls its window's entry (or logs that the
// window is not there yet), and a whole won game is saved by the automatic-saving template.
#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "testutil.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

class MainCommandsTest : public MainWindowTest {
  protected:
    TMain& OpenActive() {
        TMain& w = Open();
        DebugWindowOn = 1;
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    void Press(const QKeySequence& key) {
        DebugLogLines.clear();
        const QKeyCombination combination = key[0];
        QTest::keyClick(window.get(), combination.key(), combination.keyboardModifiers());
    }
    static bool LoggedContaining(const std::string& text) {
        for (const std::string& line : DebugLogLines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> opened;
};

struct TRow {
    const char* item;
    QKeySequence shortcut;
};

// The menu table's items and shortcuts.
const TRow kMenuTable[] = {
    {"NewBtn", QKeySequence(Qt::Key_F2)},
    {"PlayVideoBtn", QKeySequence(Qt::Key_F4)},
    {"sbSavereplay", QKeySequence(Qt::CTRL | Qt::Key_S)},
    {"btnSaveBoard", QKeySequence(Qt::CTRL | Qt::Key_C)},
    {"btnPreviewReplay", QKeySequence(Qt::CTRL | Qt::Key_Z)},
    {"BeginnerBtn", QKeySequence(Qt::Key_1)},
    {"IntermediateBtn", QKeySequence(Qt::Key_2)},
    {"ExpertBtn", QKeySequence(Qt::Key_3)},
    {"CustomBtn", QKeySequence(Qt::Key_4)},
    {"HighScoresBtn", QKeySequence(Qt::Key_F6)},
    {"StatisticsBtn", QKeySequence(Qt::Key_F7)},
    {"historyCSV", QKeySequence()},
    {"BossKeyBtn", QKeySequence(Qt::ALT | Qt::Key_F2)},
    {"ExitBtn", QKeySequence(Qt::ALT | Qt::Key_F4)},
    {"PreferencesBtn", QKeySequence(Qt::Key_F5)},
    {"LanguageBtn", QKeySequence(Qt::Key_L)},
    {"MouseCPL", QKeySequence(Qt::Key_M)},
    {"quoFoldBtn", QKeySequence(Qt::Key_H)},
    {"scrFoldBtn", QKeySequence(Qt::CTRL | Qt::Key_9)},
    {"boardFoldBtn", QKeySequence(Qt::CTRL | Qt::Key_8)},
    {"boardpresFoldBtn", QKeySequence(Qt::CTRL | Qt::Key_7)},
    {"plugFoldBtn", QKeySequence(Qt::CTRL | Qt::Key_6)},
    {"ShowCountersBtn", QKeySequence(Qt::Key_C)},
    {"ShowDebugProtocol1", QKeySequence(Qt::Key_D)},
    {"AboutBtn", QKeySequence(Qt::Key_F1)},
    {"IndexBtn", QKeySequence(Qt::CTRL | Qt::Key_F1)},
};

// Items the commands of other windows' work add: their keys belong to them alone.
const TRow kReserved[] = {
    {"MakeJPGScreenshotBtn", QKeySequence(Qt::Key_F12)},
    {"MakeBMPScreenshotBtn", QKeySequence(Qt::CTRL | Qt::Key_F12)},
    {"MakeFULLScreenshotBtn", QKeySequence(Qt::SHIFT | Qt::Key_F12)},
    {"HomepageBtn", QKeySequence(Qt::Key_Home)},
};

TEST_F(MainCommandsTest, EveryItemCarriesTheShortcutOfTheTableAndNoKeyIsShared) {
    TMain& w = Open();
    for (const TRow& row : kMenuTable) {
        auto* item = w.findChild<QAction*>(QString::fromLatin1(row.item));
        ASSERT_NE(item, nullptr) << row.item;
        EXPECT_EQ(item->shortcut(), row.shortcut) << row.item;
    }
    const QList<QAction*> all = w.findChildren<QAction*>();
    for (const TRow& row : kReserved)
        for (const QAction* a : all)
            if (a->shortcut() == row.shortcut) {
                EXPECT_EQ(a->objectName().toStdString(), row.item);
            }
    for (qsizetype i = 0; i < all.size(); ++i)
        for (qsizetype j = i + 1; j < all.size(); ++j)
            if (!all[i]->shortcut().isEmpty()) {
                EXPECT_NE(all[i]->shortcut(), all[j]->shortcut())
                    << all[i]->objectName().toStdString() << " and " << all[j]->objectName().toStdString();
            }
}

TEST_F(MainCommandsTest, KeysReachTheirHandlers) {
    TMain& w = OpenActive();
    int videoDialogs = 0;
    w.ChooseVideoFile = [&](const QString&) {
        ++videoDialogs;
        return QString();
    };
    Press(Qt::Key_F2);
    EXPECT_TRUE(LoggedContaining("data clearance done for beginner board 8x8, 10 mines"));
    Press(Qt::Key_F4);
    EXPECT_EQ(videoDialogs, 1);
    Press(Qt::Key_3);
    EXPECT_EQ(GameLevel, glExpert);
    EXPECT_EQ(Options.doStartUpMode, 2); // the next start opens on Expert
    EXPECT_TRUE(w.ExpertBtn->isChecked());
    Press(Qt::Key_2);
    EXPECT_TRUE(LoggedContaining("intermediate mode selected"));
    Press(Qt::Key_1);
    EXPECT_TRUE(LoggedContaining("beginner mode selected"));
    const bool counters = Options.doShowCounters;
    Press(Qt::Key_C);
    EXPECT_NE(Options.doShowCounters, counters);
    EXPECT_EQ(w.ShowCountersBtn->isChecked(), Options.doShowCounters);
    Press(Qt::Key_D);
    EXPECT_EQ(GameOver, 1);
    w.setEnabled(true);
    // The windows that are not there yet are named in the log.
    const std::pair<Qt::Key, const char*> waiting[] = {
        {Qt::Key_4, "custom board window is not there yet"}, {Qt::Key_F6, "high scores window is not there yet"},
        {Qt::Key_F7, "statistics window is not there yet"},  {Qt::Key_F5, "options window is not there yet"},
        {Qt::Key_L, "options window is not there yet"},      {Qt::Key_F1, "about window is not there yet"},
    };
    for (const auto& [key, text] : waiting) {
        Press(key);
        EXPECT_TRUE(LoggedContaining(text)) << text;
    }
    w.MultiplayerBtnClick();
    EXPECT_TRUE(LoggedContaining("multiplayer window is not there yet"));
    Press(QKeySequence(Qt::ALT | Qt::Key_F4));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainCommandsTest, OpenersCallTheirWindowsOnTheirPages) {
    TMain& w = OpenActive();
    UiHooks.ShowHighScoresWindow = [&](int32_t page) { opened.push_back("scores " + std::to_string(page)); };
    UiHooks.ShowHistoryWindow = [&](int32_t item) { opened.push_back("history " + std::to_string(item)); };
    UiHooks.ShowOptionsWindow = [&](int32_t item) { opened.push_back("options " + std::to_string(item)); };
    UiHooks.ShowAboutWindow = [&] { opened.push_back("about"); };
    UiHooks.ShowMultiplayerWindow = [&] { opened.push_back("multiplayer"); };
    UiHooks.ShowCustomBoardWindow = [&] { opened.push_back("custom"); };
    Press(Qt::Key_F6);
    Press(Qt::Key_F7);
    w.IntermediateBtn->trigger();
    Press(Qt::Key_F7);
    w.ExpertBtn->trigger();
    Press(Qt::Key_F7);
    w.BeginnerBtn->trigger();
    w.move(40, 30);
    Press(Qt::Key_F5);
    EXPECT_EQ(Options.posMainX, w.pos().x());
    EXPECT_EQ(Options.posMainY, w.pos().y());
    Press(Qt::Key_L);
    // F1 opens the About box once per run; the menu item always.
    Press(Qt::Key_F1);
    Press(Qt::Key_F1);
    w.AboutBtn->trigger();
    w.MultiplayerBtnClick();
    Press(Qt::Key_4);
    EXPECT_EQ(opened, (std::vector<std::string>{"scores 1", "history 1", "history 8", "history 15", "options 1",
                                                "options 5", "about", "about", "multiplayer", "custom"}));
}

TEST_F(MainCommandsTest, ThePanelsAroundTheSmileyPressItAndStartANewGame) {
    TMain& w = OpenActive();
    auto face = [&](int index) { return SamePixels(w.bNewGame->grab().toImage(), Skins().faces[index]); };
    for (QWidget* target : {static_cast<QWidget*>(w.pInfo), static_cast<QWidget*>(w.iBombs),
                            static_cast<QWidget*>(w.iTimer)}) {
        SCOPED_TRACE(target->objectName().toStdString());
        GameOver = 1;
        QTest::mousePress(target, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_TRUE(face(0));
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_TRUE(face(1));
        EXPECT_EQ(GameOver, 0);
    }
}

// Fault guarded: Custom sat in the level items' exclusive group, so choosing it moved the check
// mark while the level stayed Beginner.
TEST_F(MainCommandsTest, LevelChecksFollowTheLevelAfterTheCustomItem) {
    TMain& w = OpenActive();
    UiHooks.ShowCustomBoardWindow = [] {};
    Press(Qt::Key_4);
    EXPECT_EQ(GameLevel, glBeginner);
    EXPECT_TRUE(w.BeginnerBtn->isChecked());
    EXPECT_FALSE(w.CustomBtn->isChecked());
    LeftClicks = RightClicks = Solved3BV = 7;
    GameClock = {12, 34};
    w.ApplyCustomBoard(20, 12, 50);
    EXPECT_EQ(LeftClicks + RightClicks + Solved3BV, 0);
    EXPECT_EQ(GameClock.seconds + GameClock.hundredths, 0);
    EXPECT_EQ(GameLevel, glCustom);
    EXPECT_TRUE(w.CustomBtn->isChecked());
    EXPECT_FALSE(w.BeginnerBtn->isChecked());
    EXPECT_TRUE(LoggedContaining("data clearance done for custom board 20x12, 50 mines"));
}

TEST_F(MainCommandsTest, AWonGameIsSavedByTheTemplate) {
    Open();
    AutosaveTemplateLines = {"; rules come in triples", ";", ";", "mode=1 and completion=100", "won_<mode>",
                             "PATH=auto"};
    WinGameByClicks();
    ASSERT_EQ(GameOver, 1);
    ASSERT_EQ(NewGameFace, imf3);
    EXPECT_TRUE(std::filesystem::exists(Home() + "auto/won_" + Options.BegName + ".qvf"));
}

// Fault guarded: the board's folder level was made in the program folder while the file went
// to "boards", so the rule ended the game with "Cannot save file".
TEST_F(MainCommandsTest, ABoardRuleSavesTheBoardOfAPlayerWithABackslashInTheName) {
    Open();
    DebugWindowOn = 1;
    Options.ReplayName = "Team\\Ann";
    AutosaveTemplateLines = {"mode=1 and completion=100", "<board>won", "PATH="};
    WinGameByClicks();
    ASSERT_EQ(GameOver, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Board saved to \r\n\r\n/boards/Team/Ann_8x8-10mines_3BV=", 0), 0u)
        << messages[0];
    std::vector<std::string> boards;
    for (const auto& entry : std::filesystem::directory_iterator(Home() + "boards/Team"))
        boards.push_back(entry.path().filename().string());
    ASSERT_EQ(boards.size(), 1u);
    EXPECT_EQ(boards[0].rfind("Ann_8x8-10mines_3BV=", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(Home() + "Team")) << "no folder outside boards";
    EXPECT_TRUE(std::filesystem::exists(Home() + "won.qvf")) << "the game's end went on to the video";
}

} // namespace
} // namespace quorlet
