#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/debuglog.h"
#include "core/uihooks.h"
#include "testutil.h"

namespace quorlet {

namespace {

// Day of week 4 is not read by anything here.
TSystemTime At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, uint16_t second,
               uint16_t ms) {
    return TSystemTime{year, month, 4, day, hour, minute, second, ms};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

class DebugLogTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        SystemTimeSource = [this] { return clock_; };
        DebugWindowOn = 1;
    }
    TSystemTime clock_ = At(2026, 3, 5, 14, 7, 9, 45);
};

// Plug-ins load before the debug window exists: their lines were lost.
TEST_F(DebugLogTest, LinesBeforeTheWindowExistsAreKeptForItUnderItsOwn) {
    DebugWindowOn = 0;
    int notified = 0;
    UiHooks.DebugLogChanged = [&] { ++notified; };
    DebugLog("early");
    clock_.milliseconds = 46;
    DebugLog("two\nlines");
    EXPECT_TRUE(DebugLogLines.empty());
    EXPECT_EQ(notified, 0);
    OpenDebugLog();
    EXPECT_EQ(DebugWindowOn, 1);
    DebugLog("window made");
    EXPECT_EQ(DebugLogLines, (std::vector<std::string>{"14:07:09:046 window made", "14:07:09:046 two",
                                                       "lines", "14:07:09:045 early"}));
    // Taken over once: a second opening brings nothing back.
    DebugLogLines.clear();
    OpenDebugLog();
    EXPECT_TRUE(DebugLogLines.empty());
}

TEST_F(DebugLogTest, LinesBeforeTheWindowKeepTheLogsCap) {
    DebugWindowOn = 0;
    for (int i = 0; i <= 3000; ++i)
        DebugLog("line " + std::to_string(i));
    DebugLog("last");
    OpenDebugLog();
    EXPECT_EQ(DebugLogLines, std::vector<std::string>{"14:07:09:045 last"});
}

TEST_F(DebugLogTest, StampsLinesNewestFirst) {
    clock_ = At(2026, 3, 5, 9, 5, 7, 5);
    DebugLog("first");
    clock_.milliseconds = 123;
    DebugLog("");
    EXPECT_EQ(DebugLogLines, (std::vector<std::string>{"09:05:07:123 ", "09:05:07:005 first"}));
}

TEST_F(DebugLogTest, StampUsesLocalTime) {
    clock_ = At(2026, 3, 5, 23, 59, 59, 999);
    TimeZoneBias = -60;
    DebugLog("x");
    EXPECT_EQ(DebugLogLines.at(0), "00:59:59:999 x");
}

TEST_F(DebugLogTest, MultiLineEntryKeepsItsOrderOnTop) {
    DebugLog("older");
    DebugLog("head\r\nsecond\nthird");
    EXPECT_EQ(DebugLogLines,
              (std::vector<std::string>{"14:07:09:045 head", "second", "third", "14:07:09:045 older"}));
}

TEST_F(DebugLogTest, ClearanceAfter3000Lines) {
    int notified = 0;
    UiHooks.DebugLogChanged = [&] { ++notified; };
    for (int i = 0; i < 3000; ++i)
        DebugLog("line");
    EXPECT_EQ(DebugLogLines.size(), 3000u);
    EXPECT_EQ(DebugLogCaption(), "Debug Protocol * [3000 lines / 54000 bytes / 0% free]");
    notified = 0;
    DebugLog("line 3001");
    EXPECT_EQ(DebugLogLines, std::vector<std::string>{"14:07:09:045 debug log automated clearance done"});
    EXPECT_EQ(notified, 1); // the window hears of the clearance once, not recursively
    DebugLog("after");
    EXPECT_EQ(DebugLogLines.size(), 2u);
    EXPECT_EQ(DebugLogLines[1], "14:07:09:045 debug log automated clearance done");
}

// A change handler that clears or logs used to be called again from inside itself, without end.
TEST_F(DebugLogTest, ChangeHandlerThatLogsOrClearsIsNotReentered) {
    int depth = 0, deepest = 0, calls = 0;
    UiHooks.DebugLogChanged = [&] {
        ++calls;
        deepest = std::max(deepest, ++depth);
        if (DebugLogLines.size() > 2)
            ClearDebugLog();
        else
            DebugLog("seen " + std::to_string(DebugLogLines.size()));
        --depth;
    };
    DebugLog("a");
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(DebugLogLines, (std::vector<std::string>{"14:07:09:045 seen 1", "14:07:09:045 a"}));
    DebugLog("b"); // three lines: the handler clears
    EXPECT_EQ(DebugLogLines, std::vector<std::string>{"14:07:09:045 protocol cleared"});
    DebugLog("c");
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(DebugLogLines.size(), 3u);
    EXPECT_EQ(DebugLogNotifying, 0);
}

TEST_F(DebugLogTest, ClearanceCountsLinesOfMultiLineEntries) {
    for (int i = 0; i < 2999; ++i)
        DebugLog("line");
    DebugLog("a\r\nb"); // two lines: 3001 in all
    EXPECT_EQ(DebugLogLines.size(), 1u);
}

TEST_F(DebugLogTest, CaptionShowsCountsAndFreePercentage) {
    struct Case {
        int lines;
        const char* caption;
    };
    // Each "x" line is 14 bytes with its line break.
    for (const Case& c : {Case{0, "Debug Protocol * [0 lines / 0 bytes / 100% free]"},
                          Case{1, "Debug Protocol * [1 lines / 15 bytes / 99% free]"},
                          Case{30, "Debug Protocol * [30 lines / 450 bytes / 99% free]"},
                          Case{31, "Debug Protocol * [31 lines / 465 bytes / 98% free]"},
                          Case{2999, "Debug Protocol * [2999 lines / 44985 bytes / 0% free]"}}) {
        DebugLogLines.clear();
        for (int i = 0; i < c.lines; ++i)
            DebugLog("x");
        EXPECT_EQ(DebugLogCaption(), c.caption);
    }
}

TEST_F(DebugLogTest, ClearLeavesTheNotice) {
    DebugLog("a");
    DebugLog("b");
    ClearDebugLog();
    EXPECT_EQ(DebugLogLines, std::vector<std::string>{"14:07:09:045 protocol cleared"});
}

TEST_F(DebugLogTest, SaveDebugLogWritesTheDatedFile) {
    DebugLog("old");
    DebugLog("new");
    SaveDebugLog();
    const std::string path = Home() + "_Debug_MS_Quorlet_0.47_14h07m_05d03m2026y.txt";
    EXPECT_EQ(ReadFile(path), "14:07:09:045 new\n14:07:09:045 old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Home()), {}), 1); // no temp left
}

TEST_F(DebugLogTest, SaveDebugLogNeedsWindowAndLines) {
    SaveDebugLog();
    DebugLog("line");
    DebugWindowOn = 0;
    SaveDebugLog();
    EXPECT_TRUE(std::filesystem::is_empty(Home()));
}

TEST_F(DebugLogTest, SaveFailuresAreSwallowed) {
    DebugLog("line");
    EXPECT_FALSE(SaveDebugLogTo(Home() + "missing/folder/log.txt"));
    Options.LastPath = Home() + "missing/";
    EXPECT_NO_THROW(SaveDebugLog());
    EXPECT_TRUE(std::filesystem::is_empty(Home()));
}

// With no program folder the dated name used to land in the process's working folder.
TEST_F(DebugLogTest, SaveWithoutProgramFolderWritesNothing) {
    DebugLog("line");
    Options.LastPath.clear();
    const auto cwd = std::filesystem::current_path();
    const auto before = std::distance(std::filesystem::directory_iterator(cwd), {});
    SaveDebugLog();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cwd), {}), before);
}

TEST_F(DebugLogTest, SaveReplacesAnExistingFile) {
    const std::string path = Home() + "log.txt";
    std::ofstream(path) << "a much longer earlier text that must not survive\n";
    DebugLog("x");
    ASSERT_TRUE(SaveDebugLogTo(path));
    EXPECT_EQ(ReadFile(path), "14:07:09:045 x\n");
}

TEST_F(DebugLogTest, SaveAsLogsTheOutcome) {
    DebugLog("x");
    SaveDebugLogAs(Home() + "chosen.txt");
    EXPECT_EQ(ReadFile(Home() + "chosen.txt"), "14:07:09:045 x\n"); // written before the outcome line
    EXPECT_EQ(DebugLogLines.at(0), "14:07:09:045 protocol save ok");
    SaveDebugLogAs(Home() + "missing/chosen.txt");
    EXPECT_EQ(DebugLogLines.at(0), "14:07:09:045 protocol save error");
}

TEST_F(DebugLogTest, SaveDialogNameHasNoVersion) {
    clock_ = At(2026, 12, 31, 23, 59, 0, 0);
    EXPECT_EQ(DebugLogSaveName(), "_Debug_MS_Quorlet_23h59m_31d12m2026y.txt");
}

TEST_F(DebugLogTest, MessageBoxGoesThroughTheHook) {
    EXPECT_NO_THROW(ShowMessageBox("no window yet"));
    std::vector<std::string> shown;
    UiHooks.ShowMessageBox = [&](const std::string& text) { shown.push_back(text); };
    ShowMessageBox("Cannot save file");
    EXPECT_EQ(shown, std::vector<std::string>{"Cannot save file"});
}

} // namespace quorlet
