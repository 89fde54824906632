#include <algorithm>

#include "core/random.h"
#include "stats/chatformat.h"
#include "stats/counters.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class ChatFormat : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Options.cbIRCColor1 = 3;
        Options.cbIRCColor2 = 4;
        Options.cbCountersExcludeList = true;
        Options.mCntExcludeList = "debug\\nleft\\nright\\ndouble\\n";
        GameLevel = glIntermediate;
        Board3BV = Solved3BV = 30;
        UiHooks.CopyTextToClipboard = [this](const std::string& text) { clipboard.push_back(text); };
    }
    std::vector<std::string> clipboard;
};

const std::string K = "\x03";
const std::string G = "\x02";
const std::string kSep = " \u00AB\u00BB ";

std::string MircLabel(const std::string& x) {
    return K + "3" + G + G + x;
}
std::string MircValue(const std::string& x) {
    return K + "4" + G + G + G + x + G;
}
std::string CgiLabel(const std::string& x) {
    return "%C03%B%B" + x;
}
std::string CgiValue(const std::string& x) {
    return "%C04%B%B%B" + x + "%B";
}

const std::vector<TChatCounterRow> kRows = {
    {"Time", "12,34"}, {"3BV", "30"}, {"Left", "40"}, {"3BV/s", "2,43"},
    {"Debug", "x"},    {"Rank", "3"}, {"RPI", "70"},  {"Rank time", "2"},
};

// The report is expected exactly, up to the smiley a coin toss may append with smileys off.
void ExpectReport(const std::string& text, const std::string& expected, const std::string& smileyTail) {
    EXPECT_TRUE(text == expected || text == expected + smileyTail)
        << "got:      " << text << "\nexpected: " << expected;
}

TEST_F(ChatFormat, OrdinalSuffixes) {
    const std::pair<uint32_t, const char*> cases[] = {
        {1, "st"},  {2, "nd"},  {3, "rd"},   {4, "th"},   {11, "th"},  {12, "th"},
        {13, "th"}, {21, "st"}, {102, "nd"}, {111, "th"}, {113, "th"}, {0, "th"},
    };
    for (const auto& [n, suffix] : cases)
        EXPECT_EQ(OrdinalSuffix(n), suffix) << n;
}

TEST_F(ChatFormat, PiecesOfEachStyle) {
    const TChatColors c{7, 12};
    const struct {
        uint8_t style;
        std::string label, value, plainValue;
    } cases[] = {
        {ifMirc, K + "7" + G + G + "x", K + "12" + G + G + G + "x" + G, K + "12" + G + G + "x"},
        {ifCgi, "%C07%B%Bx", "%C12%B%B%Bx%B", "%C12%B%Bx"},
        {ifTxt, "x", "x", "x"},
    };
    for (const auto& s : cases) {
        Options.doIRCtype = s.style;
        EXPECT_EQ(ChatLabel("x", c), s.label) << int(s.style);
        EXPECT_EQ(ChatValue("x", c), s.value) << int(s.style);
        EXPECT_EQ(ChatPlainValue("x", c), s.plainValue) << int(s.style);
    }
}

TEST_F(ChatFormat, CommandPrefixIsEchoOnlyForSilentMirc) {
    const struct {
        uint8_t style;
        bool silent;
        const char* prefix;
    } cases[] = {
        {ifMirc, true, "/echo"}, {ifMirc, false, "/me"}, {ifCgi, true, "/me"},
        {ifTxt, true, "/me"},    {ifTxt, false, "/me"},
    };
    for (const auto& c : cases) {
        Options.doIRCtype = c.style;
        Options.cbSilentMode = c.silent;
        EXPECT_EQ(ChatCommandPrefix(), c.prefix) << int(c.style) << c.silent;
    }
}

TEST_F(ChatFormat, FixedColoursAreKeptAsTheyAre) {
    const struct {
        uint8_t setting1, setting2, c1, c2;
    } cases[] = {{5, 5, 5, 5}, {3, 4, 3, 4}, {16, 200, 0, 0}, {15, 1, 15, 1}};
    for (const auto& c : cases) {
        Options.cbIRCColor1 = c.setting1;
        Options.cbIRCColor2 = c.setting2;
        const uint32_t seed = RandomSeed;
        const TChatColors got = PickChatColors();
        EXPECT_EQ(std::make_pair(got.c1, got.c2), std::make_pair(c.c1, c.c2));
        EXPECT_EQ(RandomSeed, seed) << "no draw for fixed colours";
    }
}

TEST_F(ChatFormat, RandomColoursEndReadableAndDifferent) {
    Options.cbIRCColor1 = 0;
    Options.cbIRCColor2 = 4;
    bool secondColourReplaced = false;
    for (uint32_t seed = 0; seed < 2000; ++seed) {
        RandomSeed = seed;
        const TChatColors c = PickChatColors();
        EXPECT_NE(c.c1, c.c2);
        for (uint8_t bad : {8, 9, 11, 12, 13}) {
            EXPECT_NE(c.c1, bad);
            EXPECT_NE(c.c2, bad);
        }
        EXPECT_TRUE(c.c1 >= 1 && c.c1 <= 15 && c.c2 >= 1 && c.c2 <= 15);
        secondColourReplaced |= c.c2 != 4;
    }
    EXPECT_TRUE(secondColourReplaced) << "a redraw replaces the fixed second colour too";
}

TEST_F(ChatFormat, SmileysComeFromTheTableOnlyWhenOn) {
    Options.cbUseSmiles = false;
    EXPECT_EQ(RandomChatSmiley(), "");
    Options.cbUseSmiles = true;
    for (int i = 0; i < 200; ++i) {
        const std::string s = RandomChatSmiley();
        EXPECT_NE(std::find(ChatSmileys.begin(), ChatSmileys.end(), s), ChatSmileys.end()) << s;
    }
}

TEST_F(ChatFormat, ExcludeListMatchesWholeEntriesInAnyCase) {
    for (const char* label : {"Debug", "LEFT", "right", "Double"})
        EXPECT_TRUE(IsChatRowExcluded(label)) << label;
    for (const char* label : {"Time", "3BV", "Lef", "Doubles"})
        EXPECT_FALSE(IsChatRowExcluded(label)) << label;
    Options.cbCountersExcludeList = false;
    EXPECT_FALSE(IsChatRowExcluded("Debug"));
}

TEST_F(ChatFormat, LostGameReportInEachStyle) {
    const struct {
        uint8_t style;
        std::string expected, smileyTail;
    } cases[] = {
        {ifMirc,
         "/me " + MircValue("blasted") + " " + MircLabel("last") + " " + MircValue("int") + " " +
             MircLabel("game") + " " + MircValue("-->") + " " + MircLabel("Time=") + MircValue("12,34") +
             " " + MircLabel("3BV=") + MircValue("30") + " " + MircLabel("3BV/s=") + MircValue("2,43") + " ",
         " " + MircValue("")},
        {ifCgi,
         "/me " + CgiValue("blasted") + " " + CgiLabel("last") + " " + CgiValue("int") + " " +
             CgiLabel("game") + " " + CgiValue("-->") + " " + CgiLabel("Time=") + CgiValue("12,34") + " " +
             CgiLabel("3BV=") + CgiValue("30") + " " + CgiLabel("3BV/s=") + CgiValue("2,43") + " ",
         " " + CgiValue("")},
        {ifTxt, "/me blasted int game --> Time: 12,34" + kSep + "3BV: 30" + kSep + "3BV/s: 2,43", " "},
    };
    for (const auto& c : cases) {
        Options.doIRCtype = c.style;
        ExpectReport(BuildBlastedGameReport(kRows), c.expected, c.smileyTail);
    }
}

TEST_F(ChatFormat, LostGameWithoutReportableRowsEndsWithTheWordGame) {
    Options.doIRCtype = ifTxt;
    GameLevel = glBeginner;
    ExpectReport(BuildBlastedGameReport({{"Left", "3"}, {"Openings", "2"}}), "/me blasted beg game ", " ");
}

TEST_F(ChatFormat, FinishedGameReportInEachStyle) {
    const std::vector<TChatCounterRow> rows = {{"Time", "12,34"}, {"Left", "40"}, {"Rank", "3"}};
    const struct {
        uint8_t style;
        std::string expected, smileyTail;
    } cases[] = {
        {ifMirc,
         "/me " + MircLabel("last") + " " + MircValue("int") + " " + MircLabel("game") + " " +
             MircValue("-->") + " " + MircLabel("Time=") + MircValue("12,34") + " " + MircLabel("Rank=") +
             MircValue("3") + " ",
         " " + MircValue("")},
        {ifCgi,
         "/me " + CgiLabel("last") + " " + CgiValue("int") + " " + CgiLabel("game") + " " + CgiValue("-->") +
             " " + CgiLabel("Time=") + CgiValue("12,34") + " " + CgiLabel("Rank=") + CgiValue("3") + " ",
         " " + CgiValue("")},
        {ifTxt, "/me int game --> Time: 12,34" + kSep + "Rank: 3", " "},
    };
    for (const auto& c : cases) {
        Options.doIRCtype = c.style;
        ExpectReport(BuildFinishedGameReport(rows, "Bob"), c.expected, c.smileyTail);
    }
}

TEST_F(ChatFormat, FinishedReportOfAnUnsolvedReplayNamesThePlayerAndDropsRanks) {
    ReplayMode = 1;
    Solved3BV = 12;
    Options.doIRCtype = ifTxt;
    ExpectReport(BuildFinishedGameReport(kRows, "Bob"),
                 "/me watched blasted int game --> Time: 12,34" + kSep + "3BV: 30" + kSep + "3BV/s: 2,43" +
                     kSep + "Rank time: 2- Bob",
                 " ");
    Options.doIRCtype = ifMirc;
    ExpectReport(BuildFinishedGameReport({{"RPI", "70"}}, "Bob"),
                 "/me " + MircValue("watched") + " " + MircValue("blasted") + " " + MircLabel("last") + " " +
                     MircValue("int") + " " + MircLabel("game") + " " + MircValue("-->") + " " +
                     MircLabel("- ") + K + "4" + G + G + "Bob",
                 " " + MircValue(""));
}

TEST_F(ChatFormat, ReportsEndWithASmileyAboutHalfTheTime) {
    Options.doIRCtype = ifTxt;
    Options.cbUseSmiles = true;
    const std::string base = "/me blasted int game --> Time: 12,34" + kSep + "3BV: 30" + kSep + "3BV/s: 2,43";
    int withSmiley = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string text = BuildBlastedGameReport(kRows);
        if (text == base) continue;
        ASSERT_EQ(text.rfind(base + " ", 0), 0u) << text;
        const std::string smiley = text.substr(base.size() + 1);
        EXPECT_NE(std::find(ChatSmileys.begin(), ChatSmileys.end(), smiley), ChatSmileys.end()) << smiley;
        ++withSmiley;
    }
    EXPECT_GT(withSmiley, 120);
    EXPECT_LT(withSmiley, 280);
}

TEST_F(ChatFormat, CopyCommandsReadTheCountersAndFillTheClipboard) {
    Options.doIRCtype = ifTxt;
    DebugWindowOn = 1;
    bool raised = false;
    UiHooks.BringMainWindowToFront = [&] { raised = true; };
    CounterLabels[0] = "Time";
    CounterValues[0] = "5,00";
    CounterLabels[1] = "Left";
    CounterValues[1] = "9";
    CounterRowsShown = 2;
    CopyBlastedGameInfo();
    ASSERT_EQ(clipboard.size(), 1u);
    EXPECT_EQ(clipboard[0].rfind("/me blasted int game --> Time: 5,00", 0), 0u) << clipboard[0];
    EXPECT_TRUE(raised);
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find("blasted game information saved to clipboard"), std::string::npos);

    ReplayMode = 1;
    ReplayPlayerName = "Zed";
    CopyFinishedGameInfo();
    ASSERT_EQ(clipboard.size(), 2u);
    EXPECT_EQ(clipboard[1].rfind("/me watched int game --> Time: 5,00- Zed", 0), 0u) << clipboard[1];
}

// After the template shrank, the slots past the grid still hold the old rows' text: the report
// reads only the rows the last refresh filled.
TEST_F(ChatFormat, ReportReadsOnlyTheRowsOfTheLastRefresh) {
    Options.doIRCtype = ifTxt;
    GameOver = 1;
    CountersWindowCreated = 1;
    CountersTemplateLines = {"Time|5", "Old|7", "Gone|9"};
    RefreshCounters();
    CountersTemplateLines = {"Time|5"};
    RefreshCounters();
    ASSERT_EQ(CounterLabels[1], "Old"); // the stale slot the report must not read
    CopyFinishedGameInfo();
    ASSERT_EQ(clipboard.size(), 1u);
    EXPECT_NE(clipboard[0].find("Time: 5"), std::string::npos) << clipboard[0];
    EXPECT_EQ(clipboard[0].find("Old"), std::string::npos) << clipboard[0];
    EXPECT_EQ(clipboard[0].find("Gone"), std::string::npos) << clipboard[0];
}

} // namespace
} // namespace quorlet::test
