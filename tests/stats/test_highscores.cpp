// The new-record notice and the high-score pages over small fixture histories.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/FCap.h"
#include "stats/highscores.h"
#include "stats/records.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class HighScores : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
    }
    std::vector<std::string> messages;
};

// A game with every measure set; flagging exactly when it has right clicks.
TGameRecord Played(uint8_t level, uint16_t sec, float bbbvs, float rqp, float ios, uint16_t bbbv,
                   uint16_t left, uint16_t right) {
    TGameRecord r = Game(level, sec, 0);
    r.bbbvsExact = bbbvs;
    r.bbbvsWhole = static_cast<uint8_t>(bbbvs);
    r.rqp = rqp;
    r.ios = ios;
    r.bbbv = bbbv;
    r.leftClicks = left;
    r.rightClicks = right;
    r.flagging = right > 0;
    r.hour = 14;
    r.minute = 3;
    r.second = 27;
    r.day = 5;
    r.month = 3;
    return r;
}

TEST_F(HighScores, NoticeItemsFollowTheTestsThatTheNewRecordPasses) {
    const TGameRecord flagged = Played(glExpert, 100, 1.5f, 60, 0.8f, 150, 100, 20);
    const TGameRecord clean = Played(glExpert, 100, 1.5f, 60, 0.8f, 150, 100, 0);
    struct Case {
        const char* what;
        std::vector<TGameRecord> earlier;
        TGameRecord added;
        std::vector<std::string> items;
    };
    TGameRecord slowerFlag = flagged;
    slowerFlag.timeSec = 101;
    TGameRecord tieFlag = flagged;
    slowerFlag.bbbvsExact = tieFlag.bbbvsExact = 1.6f;
    tieFlag.rqp = slowerFlag.rqp = 50;
    tieFlag.ios = slowerFlag.ios = 0.9f;
    tieFlag.leftClicks = slowerFlag.leftClicks = 50;
    TGameRecord beginner = flagged;
    beginner.level = glBeginner;
    const Case cases[] = {
        {"first flagging game", {}, flagged, {"Flag Time", "Flag 3BV/s", "Flag RQP", "Flag IOE", "Flag IOS"}},
        {"first no-flagging game beside a flagging one",
         {flagged},
         clean,
         {"NF Time", "NF 3BV/s", "NF RQP", "NF IOE", "NF IOS"}},
        {"a faster time only", {slowerFlag}, flagged, {"Flag Time"}},
        {"a tie of the best time is no record", {tieFlag}, flagged, {}},
        {"another level's records do not count",
         {Played(glIntermediate, 10, 9, 9, 9, 99, 1, 1)},
         flagged,
         {"Flag Time", "Flag 3BV/s", "Flag RQP", "Flag IOE", "Flag IOS"}},
        {"Beginner never lists IOS", {}, beginner, {"Flag Time", "Flag 3BV/s", "Flag RQP", "Flag IOE"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TGameRecord> all = c.earlier;
        all.push_back(c.added);
        LoadHistory(all);
        const int32_t index = static_cast<int32_t>(all.size() - 1);
        EXPECT_EQ(HighScoreNoticeItems(index, c.added.level), c.items);
    }
}

TEST_F(HighScores, NoticeTextJoinsItemsAndCountsThem) {
    EXPECT_EQ(HighScoreNoticeText({"Flag Time"}), "Congratulations with\r\nFlag Time high score!");
    EXPECT_EQ(HighScoreNoticeText({"Flag Time", "Flag RQP"}),
              "Congratulations with\r\nFlag Time, Flag RQP high scores!");
    // The words come from the text table.
    UITextTable[UITextIndex("0198")] = "Fahne";
    UITextTable[UITextIndex("0385")] = "Rekord";
    LoadHistory({Played(glExpert, 100, 1.5f, 60, 0.8f, 150, 100, 20)});
    EXPECT_EQ(HighScoreNoticeText(HighScoreNoticeItems(0, glExpert)).substr(22, 11), "Fahne Time,");
}

TEST_F(HighScores, NoticeShowsOnlyWithAnItem) {
    std::vector<std::string> shown;
    UiHooks.ShowHighScoreNotice = [&](const std::string& text) { shown.push_back(text); };
    const TGameRecord game = Played(glExpert, 100, 1.5f, 60, 0.8f, 150, 100, 20);
    LoadHistory({game, game});
    EXPECT_FALSE(ComposeHighScoreNotice(1)) << "equal to the earlier game in every measure";
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(ComposeHighScoreNotice(kRecordNone));
    EXPECT_TRUE(ComposeHighScoreNotice(0));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Congratulations with\r\nFlag Time, ", 0), 0u);
}

TEST_F(HighScores, NoticeSitsAThirdOfItsHeightAboveTheMainWindowsMiddle) {
    struct Case {
        TWindowRect main;
        int32_t width, height, left, top;
    };
    const Case cases[] = {{{100, 50, 300, 400}, 269, 121, 116, 210},
                          {{0, 0, 171, 251}, 269, 121, -49, 85},
                          {{-500, -300, 101, 11}, 31, 20, -465, -301}};
    for (const Case& c : cases) {
        const TWindowRect r = HighScoreNoticePlace(c.main, c.width, c.height);
        EXPECT_EQ(r.Left, c.left);
        EXPECT_EQ(r.Top, c.top);
    }
}

std::vector<std::string> Column(const THighScoreGrid& grid, int column) {
    std::vector<std::string> out;
    for (const auto& row : grid.cells)
        out.push_back(row[column]);
    return out;
}

TEST_F(HighScores, EmptyTableShowsTheNoneTextsAndTotals) {
    for (const bool dot : {false, true}) {
        Options.doDotSeparator = dot;
        const std::string hi = dot ? "999.00" : "999,00", lo = dot ? "0.00" : "0,00";
        const std::string hiTotal = dot ? "999.000" : "999,000", loTotal = dot ? "0.000" : "0,000";
        const THighScoreGrid grid = HighScorePage(1);
        EXPECT_EQ(grid.columns, 3);
        EXPECT_EQ(grid.widths, (std::array<int, 3>{170, 84, 160}));
        EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"Time",  hi, hi, hi, hiTotal,    // Time
                                                             "3BV/s", lo, lo, lo, loTotal,    // 3BV/s
                                                             "RQP",   hi, hi, hi, hiTotal,    // RQP
                                                             "IOS",   lo, lo, lo, loTotal,    // IOS
                                                             "IOE",   lo, lo, lo, loTotal})); // IOE
        const std::vector<std::string> captions = Column(grid, 0);
        EXPECT_EQ(captions[5], "");
        EXPECT_EQ((std::vector<std::string>(captions.begin() + 6, captions.begin() + 10)),
                  (std::vector<std::string>{"Beginner", "Intermediate", "Expert", "Total"}));
        EXPECT_EQ(Column(grid, 2)[0], "Date");
        EXPECT_EQ(Column(grid, 2)[1], "") << "no record, no date";
    }
}

TEST_F(HighScores, BestPagesShowTheRecordsOfTheirSelection) {
    Options.doDotSeparator = true;
    LoadHistory({Played(glExpert, 80, 1.875f, 44.5f, 0.9f, 150, 100, 0),
                 Played(glExpert, 70, 2.25f, 40.f, 0.95f, 150, 80, 20)});
    const THighScoreGrid all = HighScorePage(1), flag = HighScorePage(2), nf = HighScorePage(3);
    EXPECT_EQ(all.cells[3][1], "70.00");
    EXPECT_EQ(all.cells[3][2], "14:03:27 05.03.2026");
    EXPECT_EQ(all.cells[4][1], "999.000") << "only Expert games: the Time total is capped";
    EXPECT_EQ(nf.cells[3][1], "80.00");
    EXPECT_EQ(all.cells[8][1], "2.250");
    EXPECT_EQ(nf.cells[8][1], "1.875");
    EXPECT_EQ(nf.cells[9][1], "1.875") << "3BV/s total: no cap";
    EXPECT_EQ(flag.cells[13][1], "40.000");
    EXPECT_EQ(flag.cells[14][1], "999.000");
    EXPECT_EQ(nf.cells[18][1], "0.900");
    EXPECT_EQ(flag.cells[23][1], "1.500") << "IOE 150 / 100 clicks";
    EXPECT_EQ(nf.cells[23][1], "1.500");
    EXPECT_EQ(flag.cells[1][2], "") << "no Beginner record";
}

// Fault guarded: the IOE cell was rounded to four significant digits and then to three
// decimals, so 148 / 178 = 0.83146 showed 0.832 over a total of 0.831.
TEST_F(HighScores, IoeIsRoundedOnceToThreeDecimalsOfAtMostFourDigits) {
    Options.doDotSeparator = true;
    const struct {
        uint16_t bbbv, clicks;
        const char* shown;
    } cases[] = {
        {148, 178, "0.831"}, {2, 3, "0.667"}, {150, 100, "1.500"}, {125, 10, "12.500"}, {500, 3, "166.700"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        LoadHistory({Played(glExpert, 80, 1.5f, 40, 0.9f, c.bbbv, c.clicks, 0)});
        const THighScoreGrid grid = HighScorePage(1);
        EXPECT_EQ(grid.cells[23][1], c.shown);
        if (c.bbbv == 148) {
            EXPECT_EQ(grid.cells[24][1], "0.831") << "the total agrees";
        }
    }
}

TEST_F(HighScores, RecorderStyleAddsASecondToEachTimeAndThreeToTheTotal) {
    Options.doDotSeparator = true;
    LoadHistory({Played(glBeginner, 10, 1, 5, 0, 10, 10, 0),
                 Played(glIntermediate, 50, 1, 50, 0.5f, 50, 50, 0),
                 Played(glExpert, 100, 1, 99, 0.5f, 100, 100, 0)});
    EXPECT_EQ(HighScorePage(1).cells[4][1], "160.000");
    Options.doRecorderStyleTimer = true;
    const THighScoreGrid grid = HighScorePage(1);
    EXPECT_EQ(Column(grid, 1)[1], "11.00");
    EXPECT_EQ(Column(grid, 1)[3], "101.00");
    EXPECT_EQ(grid.cells[4][1], "163.000");
    EXPECT_EQ(grid.cells[14][1], "154.000") << "RQP total 5 + 50 + 99";
}

TEST_F(HighScores, TopPagesShowAveragesAndTheIncompleteValue) {
    Options.doDotSeparator = true;
    std::vector<TGameRecord> games;
    for (int i = 0; i < 25; ++i)
        games.push_back(Played(glExpert, static_cast<uint16_t>(100 + i), 2, 50, 1, 150, 100, 0));
    games.push_back(Played(glIntermediate, 30, 2, 20, 1, 50, 50, 0));
    LoadHistory(games);
    const THighScoreGrid grid = HighScorePage(4);
    EXPECT_EQ(grid.columns, 2);
    EXPECT_EQ(Column(grid, 1)[1], "999.990") << "fewer than 25 games";
    EXPECT_EQ(Column(grid, 1)[2], "999.990");
    EXPECT_EQ(Column(grid, 1)[3], "112.000");
    EXPECT_EQ(Column(grid, 1)[4], "999.000");
    EXPECT_EQ(Column(grid, 1)[8], "2.000");
    EXPECT_EQ(Column(grid, 2)[0], "") << "no date column";
    EXPECT_EQ(HighScorePage(5).cells[3][1], "999.990") << "no flagging games";
    Options.doRecorderStyleTimer = true;
    EXPECT_EQ(HighScorePage(4).cells[1][1], "1000.990");
    EXPECT_EQ(HighScorePage(6).cells[3][1], "113.000");
}

TEST_F(HighScores, HtmlHasEveryRowAndCellUnescaped) {
    THighScoreGrid grid = HighScorePage(1);
    grid.cells[1][0] = "a<b&c";
    const std::string html = HighScorePageHtml(grid, "scores_best.html");
    EXPECT_EQ(html.rfind("<html>\r\n<head>\r\n<title>scores_best.html</title>\r\n</head>\r\n"
                         "<body bgcolor=\"silver\" align=\"center\">\r\n"
                         "<table align=\"center\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\r\n"
                         "<tr><td>&nbsp;</td><td>Time</td><td>Date</td></tr>\r\n",
                         0),
              0u);
    EXPECT_NE(html.find("<tr><td>a<b&c</td>"), std::string::npos);
    std::size_t rows = 0, cells = 0;
    for (std::size_t at = 0; (at = html.find("<tr>", at)) != std::string::npos; ++at)
        ++rows;
    for (std::size_t at = 0; (at = html.find("<td>", at)) != std::string::npos; ++at)
        ++cells;
    EXPECT_EQ(rows, 25u);
    EXPECT_EQ(cells, 75u);
    EXPECT_EQ(html.substr(html.size() - 28), "</table>\r\n</body>\r\n</html>\r\n");
    EXPECT_EQ(HighScorePageFileName(6), "scores_top25_no-flagging.html");
}

TEST_F(HighScores, HtmlSaveWritesTheFileOrSaysItCannot) {
    DebugWindowOn = 1;
    const std::string path = Home() + "scores_top25.html";
    const THighScoreGrid grid = HighScorePage(4);
    ASSERT_TRUE(SaveHighScorePageHtml(grid, path));
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), HighScorePageHtml(grid, "scores_top25.html"));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(SaveHighScorePageHtml(grid, Home() + "missing/folder/x.html"));
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot save file"}));
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find(" #"), std::string::npos);
}

} // namespace
} // namespace quorlet::test
