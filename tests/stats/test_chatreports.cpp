// The chat reports over the history: exact texts in the plain style, the pieces of the
// coloured styles, the record figures and the "not found" paths.
#include "core/random.h"
#include "stats/chatreports.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

const std::string kSep = " \u00AB\u00BB ";

class ChatReports : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Options.doIRCtype = 2;
        Options.cbIRCColor1 = 3;
        Options.cbIRCColor2 = 4;
        UiHooks.CopyTextToClipboard = [this](const std::string& text) { clipboard.push_back(text); };
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
        SystemTimeSource = [] {
            TSystemTime t;
            t.year = 2026;
            t.month = 3;
            t.day = 5;
            t.hour = 12;
            return t;
        };
        TimeZoneBias = 0;
        Options.CustomTimeZone = 0;
    }
    // Loads the games and counts them per level, as the history loader does.
    void Load(const std::vector<TGameRecord>& games) {
        LoadHistory(games);
        LevelGameCounts = {};
        for (const auto& g : games)
            ++LevelGameCounts[g.level];
    }
    std::vector<std::string> clipboard, messages;
};

TGameRecord Won(uint8_t level, uint16_t sec, uint8_t hund, uint16_t bbbv, bool flagging) {
    TGameRecord r = Game(level, sec, hund);
    r.bbbv = bbbv;
    r.flagging = flagging;
    r.rightClicks = flagging ? 5 : 0;
    DeriveRecordFields(r);
    r.day = 5;
    r.month = 3;
    return r;
}

// Reports whose smiley is added on a coin toss end in one more blank (smileys off) half the time.
void ExpectCoinReport(const std::string& text, const std::string& expected) {
    EXPECT_TRUE(text == expected || text == expected + " ") << text << "\nexpected\n" << expected;
}

TEST_F(ChatReports, CutRuleKeepsTwoCharactersAfterTheSeparatorWithoutRounding) {
    EXPECT_EQ(ChatCutNumber(66.6666L), "66.66");
    EXPECT_EQ(ChatCutNumber(0.999L), "0.99");
    EXPECT_EQ(ChatCutNumber(5), "5");
    EXPECT_EQ(ChatCutNumber(100), "100");
    EXPECT_EQ(ChatCutNumber(1.5L), "1.5");
}

TEST_F(ChatReports, RecordFiguresRankInclusivelyWithinTheFlaggingStyle) {
    Load({Won(glExpert, 100, 0, 150, true), Won(glExpert, 100, 0, 120, true),
          Won(glExpert, 50, 0, 120, false), Won(glBeginner, 20, 0, 30, false),
          Won(glExpert, 9, 99, 60, true)});
    EXPECT_EQ(ChatRankTime(0), 3u) << "the tie shares the worse rank";
    EXPECT_EQ(ChatRankTime(1), 3u);
    EXPECT_EQ(ChatRankTime(2), 1u) << "no-flagging games rank among themselves";
    EXPECT_EQ(ChatRank3BVs(0), 2u) << "1.50 behind the 9.99 s game's 6.00";
    EXPECT_EQ(ChatRank3BVs(1), 3u);
    const TChatRecordFigures beginner = ChatRecordFigures(3);
    EXPECT_EQ(beginner.ios, "n/a");
    EXPECT_EQ(beginner.rpi, "100");
    EXPECT_EQ(ChatRecordFigures(4).ios, "n/a") << "9.99 s";
    EXPECT_EQ(ChatRecordFigures(0).ios, "1.08");
    EXPECT_EQ(ChatRecordFigures(0).rqp, "67.33");
    // n = 4 Expert games, ranks 3 and 2: (8 - 3 - 2 + 2) * 50 / 4.
    EXPECT_EQ(ChatRecordFigures(0).rpi, "62.5");
}

TEST_F(ChatReports, LastGameOfTheOnlyExpertGame) {
    Load({Won(glExpert, 100, 0, 150, true)});
    ASSERT_TRUE(CopyLastGameReport());
    ASSERT_EQ(clipboard.size(), 1u);
    EXPECT_EQ(clipboard[0], "/me last 1st exp game: Time: 100,00" + kSep + "3BV: 150" + kSep + "3BV/s: 1,50" +
                                kSep +
                                "\"flagging\" Rank: 1st time 1st 3BV/s ( RPI: 100 IOS: 1.08 RQP: 67.33 ) ");
    // A no-flagging game says among whom it ranks; the recorder style adds its second.
    Options.doRecorderStyleTimer = true;
    Load({Won(glExpert, 100, 0, 150, true), Won(glIntermediate, 40, 5, 80, false)});
    ASSERT_TRUE(CopyLastGameReport());
    EXPECT_EQ(clipboard[1],
              "/me last 1st int game: Time: 41,05" + kSep + "3BV: 80" + kSep + "3BV/s: 1,99" + kSep +
                  "\"no-flagging\" Rank: among NF games 1st time 1st 3BV/s ( RPI: 100 IOS: 1.18 "
                  "RQP: 20.55 ) ");
}

TEST_F(ChatReports, LastGameColouredPieces) {
    Options.doIRCtype = 0;
    Options.cbSilentMode = true;
    Load({Won(glExpert, 100, 0, 150, true)});
    ASSERT_TRUE(CopyLastGameReport());
    const std::string K = "\x03", G = "\x02";
    auto L = [&](const std::string& x) { return K + "3" + G + G + x; };
    auto V = [&](const std::string& x) { return K + "4" + G + G + G + x + G; };
    EXPECT_EQ(clipboard.at(0), "/echo " + L("last") + " " + V("1") + L("st") + " " + V("exp") + " " +
                                   L("game:") + " " + L("Time: ") + V("100,00") + " " + L("3BV: ") +
                                   V("150") + " " + L("3BV/s: ") + V("1,50") + " " + L("\"") + V("flagging") +
                                   L("\"") + " " + L("Rank:") + " " + L("") + V("1") + L("st") + " " +
                                   L("time") + " " + V("1") + L("st") + " " + L("3BV/s") + " ( " +
                                   L("RPI: ") + V("100") + " " + L("IOS: ") + V("1.08") + " " + L("RQP: ") +
                                   V("67.33") + " " + L(") ") + K + "4" + G + G);
}

TEST_F(ChatReports, EmptyTableCopiesNothingAndSaysNotFound) {
    DebugWindowOn = 1;
    EXPECT_FALSE(CopyLastGameReport());
    EXPECT_TRUE(clipboard.empty());
    EXPECT_EQ(messages, (std::vector<std::string>{"Error: Game #\"0\" not found"}));
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find("stats game #\"0\" not found"), std::string::npos);
}

TEST_F(ChatReports, GameByNumberKeepsTheDigitsOfTheAnswer) {
    std::vector<TGameRecord> games(12, Won(glIntermediate, 60, 0, 90, false));
    games[11] = Won(glExpert, 100, 0, 150, true);
    Load(games);
    struct Case {
        const char* answer;
        const char* digits;
        bool found;
    };
    const Case cases[] = {{"#12a", "12", true},
                          {"abc", "", false},
                          {"13", "13", false},
                          {"0", "0", false},
                          {"000000000000000000000000012", "000000000000000000000000012", true},
                          {"99999999999999999999999", "99999999999999999999999", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        clipboard.clear();
        messages.clear();
        EXPECT_EQ(ChatDigitsOf(c.answer), c.digits);
        EXPECT_EQ(CopyGameReportByNumber(c.answer), c.found);
        EXPECT_EQ(clipboard.size(), c.found ? 1u : 0u);
        if (!c.found) {
            EXPECT_EQ(messages,
                      (std::vector<std::string>{"Error: Game #\"" + std::string(c.digits) + "\" not found"}));
        }
    }
    EXPECT_EQ(BuildGameByNumberReport(12),
              "/me my Quorlet 12th exp game: Mode: exp" + kSep + "Time: 100,00" + kSep + "3BV: 150" + kSep +
                  "3BV/s: 1,50" + kSep +
                  "\"flagging\" Rank:  1st time 1st 3BV/s ( RPI: 100 IOS: 1.08 RQP: "
                  "67.33 ) ");
    EXPECT_EQ(BuildGameByNumberReport(1).substr(0, 38), "/me my Quorlet 1st int game: Mode: int");
    EXPECT_NE(BuildGameByNumberReport(1).find("Rank: among NF games 11th time 11th 3BV/s"),
              std::string::npos);
}

TEST_F(ChatReports, RecordsReportsListEveryLevelInPlainAndTheUpperTwoColoured) {
    Load({Won(glBeginner, 10, 0, 30, false), Won(glExpert, 100, 0, 150, true),
          Won(glExpert, 90, 0, 100, true)});
    const std::string plainTime = BuildRecordsReport(true);
    ExpectCoinReport(plainTime, "/me My Time records on Quorlet are: [BEG Time: 10,00" + kSep + "3BV: 30" +
                                    kSep + "3BV/s: 3,00" + kSep +
                                    "\"no-flagging\" Date: 05.03.2026] [INT Time: 999,99" + kSep + "3BV: 0" +
                                    kSep + "3BV/s: 0,00" + kSep +
                                    "\"no-flagging\" Date: 00.00.0] [EXP Time: 90,00" + kSep + "3BV: 100" +
                                    kSep + "3BV/s: 1,11" + kSep + "\"flagging\" Date: 05.03.2026] ");
    const std::string plainRate = BuildRecordsReport(false);
    EXPECT_NE(plainRate.find("[EXP 3BV/s: 1,50" + kSep + "Time: 100,00" + kSep + "3BV: 150" + kSep +
                             "\"flagging\""),
              std::string::npos);
    Options.doIRCtype = 1;
    const std::string cgi = BuildRecordsReport(true);
    EXPECT_EQ(
        cgi.rfind("/me %C03%B%BMy Time records on %C04%B%B%BQuorlet%B %C03%B%Bare: %C03%B%B[%C04%B%B%BINT%B "
                  "%C03%B%BTime=%C04%B%B%B999,99%B",
                  0),
        0u);
    EXPECT_EQ(cgi.find("BEG"), std::string::npos);
    EXPECT_NE(cgi.find("%C03%B%BDate=%C04%B%B%B05.03.2026%B%C03%B%B] "), std::string::npos);
}

TEST_F(ChatReports, AveragesReportCountsAllLevelsAndAveragesTheUpperTwo) {
    Load({Won(glBeginner, 10, 0, 30, false), Won(glIntermediate, 40, 50, 60, false),
          Won(glIntermediate, 41, 75, 70, true), Won(glExpert, 100, 0, 150, true)});
    ExpectCoinReport(BuildAveragesReport(),
                     "/me My stats file contains 4 games: 1 beg, 2 int, 1 exp. Averages: "
                     "[INT Time=41,12 3BV=65,00 3BV/s=1,57] [EXP Time=100,00 3BV=150,00 "
                     "3BV/s=1,50] ");
}

TEST_F(ChatReports, TodayReportsTheGamesOfTodayOnly) {
    EXPECT_EQ(BuildTodayReport(glBeginner), "/me has finished 0 beg games today. :'(");
    TGameRecord yesterday = Won(glIntermediate, 5, 0, 50, false);
    yesterday.day = 4;
    Load({Won(glIntermediate, 10, 50, 20, true), Won(glIntermediate, 11, 75, 30, true), yesterday,
          Won(glIntermediate, 12, 0, 40, true), Won(glExpert, 50, 0, 100, false)});
    ExpectCoinReport(
        BuildTodayReport(glIntermediate),
        "/me has finished 3 int games today: 3 flagging . Best were 10,50 sec on 20 3BV board and 3,33 "
        "3BV/s on 40 3BV board. Averages: Time=11,41 3BV/s=2,59 3BV=30");
    ExpectCoinReport(BuildTodayReport(glExpert),
                     "/me has finished 1 exp games today: 1 NF. Best were 50,00 sec on "
                     "100 3BV board and 2,00 3BV/s on 100 3BV board. Averages: "
                     "Time=50,00 3BV/s=2,00 3BV=100");
    Load({Won(glExpert, 10, 50, 20, false), Won(glExpert, 11, 75, 30, false)});
    EXPECT_NE(BuildTodayReport(glExpert).find("Time=11,12"), std::string::npos);
}

TEST_F(ChatReports, ChannelInformationStopsTheClockAndShowsTheChannel) {
    ShowChatChannelInfo();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("IRC Minesweeper channel information:\r\n\r\nserver: ", 0), 0u);
    EXPECT_NE(messages[0].find("\r\nport: 6667\r\nchannel: #minesweeper"), std::string::npos);
}

} // namespace
} // namespace quorlet::test
