// The debug command box's rules: type-ahead, Backspace and the exact dispatch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/random.h"
#include "settings/about.h"
#include "settings/chatlog.h"
#include "settings/debugcommand.h"
#include "testutil.h"

namespace quorlet {
namespace {

class DebugCommandTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
    }
    // The log lines without their time stamps, oldest first.
    static std::vector<std::string> Logged() {
        std::vector<std::string> out;
        for (auto it = DebugLogLines.rbegin(); it != DebugLogLines.rend(); ++it)
            out.push_back(it->size() > 13 ? it->substr(13) : *it);
        return out;
    }
};

TEST_F(DebugCommandTest, TypeAheadCompletesTheFirstEntryIgnoringCase) {
    const struct {
        const char* typed;
        const char* text; // "" when nothing completes
        std::size_t caret, selected;
    } cases[] = {
        {"ses", "session_info", 3, 9},
        {"SES", "session_info", 3, 9},
        {"g", "get_cpu_speed", 1, 12},
        {"grab_remote_s", "grab_remote_systeminfo", 13, 9},
        {"Int_3bv_distribution_table_e", "int_3bv_distribution_table_easy", 28, 3},
        {"session_info", "session_info", 12, 0},
        {"help", "", 0, 0},
        {"x", "", 0, 0},
        {"", "", 0, 0},
        {"session_infos", "", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto done = CompleteDebugCommand(c.typed);
        if (*c.text == '\0') {
            EXPECT_FALSE(done);
            continue;
        }
        ASSERT_TRUE(done);
        EXPECT_EQ(done->text, c.text);
        EXPECT_EQ(done->caret, c.caret);
        EXPECT_EQ(done->selected, c.selected);
    }
}

TEST_F(DebugCommandTest, BackspaceShortensTheTypedPartAndCompletesAgain) {
    // "sess" completed to session_info, caret after the four typed characters.
    TCompletion c = DebugCommandBackspace("session_info", 4);
    EXPECT_EQ(c.text, "session_info");
    EXPECT_EQ(c.caret, 3u);
    EXPECT_EQ(c.selected, 9u);
    c = DebugCommandBackspace("s", 1);
    EXPECT_EQ(c.text, "");
    EXPECT_EQ(c.caret, 0u);
    c = DebugCommandBackspace("xyz", 3);
    EXPECT_EQ(c.text, "xy");
    EXPECT_EQ(c.caret, 2u);
    EXPECT_EQ(c.selected, 0u);
}

TEST_F(DebugCommandTest, DispatchIsExactAndCaseSensitive) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"help", {"processing debug command \"help\"", "please read the help file for more information"}},
        {"HELP", {"processing debug command \"help\"", "unknown debug command \"help\""}},
        {"", {"processing debug command \"\"", "unknown debug command \"\""}},
        {"session_info ", {"processing debug command \"session_info \"", "unknown debug command \"session_info \""}},
        {"grab_remote_systeminfo",
         {"processing debug command \"grab_remote_systeminfo\"", "multiplayer under construction"}},
        {"grab_remote_processlist",
         {"processing debug command \"grab_remote_processlist\"", "multiplayer under construction"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DebugLogLines.clear();
        RunDebugCommand(c.text);
        EXPECT_EQ(Logged(), c.lines);
    }
}

TEST_F(DebugCommandTest, EveryListedCommandRunsSomethingOfItsOwn) {
    // The long ones are left out: a million boards each (the bench measures them).
    for (const char* name : {"session_info", "beg_3bv_distribution_table_easy", "custom_3bv_distribution_table"}) {
        SCOPED_TRACE(name);
        DebugLogLines.clear();
        RunDebugCommand(name);
        const auto lines = Logged();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], std::string("processing debug command \"") + name + "\"");
        for (const std::string& line : lines)
            EXPECT_EQ(line.find("unknown debug command"), std::string::npos);
    }
}

TEST_F(DebugCommandTest, AboutThanksAreRotatedToTheStartEachOnce) {
    for (const uint32_t start : {0u, 1u, 23u}) {
        SCOPED_TRACE(start);
        const TAboutTexts t = AboutTexts(start);
        ASSERT_EQ(t.memo.size(), 15u + 24u);
        EXPECT_EQ(t.memo[0], "to be edited... BUT THANKS LIST IS UP TO DATE :) ALSO THIS IS A VERSION 0.47");
        EXPECT_EQ(t.memo[6], "\r\n");
        for (uint32_t i = 0; i < 24; ++i)
            EXPECT_EQ(t.memo[10 + i], kAboutThanks[(start + i) % 24]);
        EXPECT_EQ(t.memo.back(), "  See the Help file for the antihack features info");
    }
    // A fixed seed draws a fixed start.
    RandomSeed = 12345;
    const TAboutTexts a = FillAboutBox();
    RandomSeed = 12345;
    const uint32_t start = Random(24);
    EXPECT_EQ(a.memo[10], kAboutThanks[start]);
}

TEST_F(DebugCommandTest, MailSubjectEndsWithTheEncodedPlayerName) {
    Options.ReplayName = "Ann";
    EXPECT_EQ(AboutTexts(0).mailHint,
              "mailto:feedback@quorlet.example.org?subject=Minesweeper%20Quorlet%200.47%20feedback%20by%20Ann");
    Options.ReplayName = "A&B #1?";
    const std::string link = AboutMailLink();
    EXPECT_EQ(link.substr(link.size() - 20), "by%20A%26B%20%231%3F");
}

TEST_F(DebugCommandTest, ChatLogIsSavedWithCrLfAndAnEmptyLogGivesAnEmptyFile) {
    const std::string path = Home() + "chat.txt";
    ASSERT_TRUE(SaveChatLog(path, {"a", "b"}));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a\r\nb\r\n");
    ASSERT_TRUE(SaveChatLog(path, {}));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    std::vector<std::string> shown;
    UiHooks.ShowMessageBox = [&](const std::string& text) { shown.push_back(text); };
    std::filesystem::create_directories(Home() + "taken/inside");
    EXPECT_FALSE(SaveChatLog(Home() + "taken", {"x"}));
    EXPECT_EQ(shown, std::vector<std::string>{"Cannot save file"});
}

} // namespace
} // namespace quorlet
