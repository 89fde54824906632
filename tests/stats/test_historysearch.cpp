#include <string>
#include <vector>

#include "core/textutil.h"
#include "stats/historypages.h"
#include "stats/historysearch.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class HistorySearch : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        filter.sortKey = "Time";
    }
    std::vector<std::string> Column(int col) const {
        std::vector<std::string> texts;
        for (int r = 2; r < sgs.RowCount(); ++r)
            texts.push_back(sgs.Cell(col, r));
        return texts;
    }
    THistoryGrid sgs;
    THistorySearchFilter filter;
};

TGameRecord Dated(uint8_t day, uint8_t month, uint16_t year, uint16_t sec = 10, uint8_t hund = 0) {
    TGameRecord r = Game(0, sec, hund);
    r.day = day;
    r.month = month;
    r.year = year;
    return r;
}

TEST_F(HistorySearch, DayAndSecondCounts) {
    EXPECT_EQ(DayNumber(1, 1, 2000), 1 + 365 * 2000 + 500);
    EXPECT_EQ(DayNumber(1, 3, 2024), DayNumber(29, 2, 2024)); // leap days are not counted
    EXPECT_EQ(DayNumber(1, 2, 2024) - DayNumber(31, 1, 2024), 1);
    EXPECT_EQ(SecondsOfDay(23, 59, 59), 86399);
}

TEST_F(HistorySearch, ClearLeavesTheHeaderAndTheAveragesLabel) {
    sgs.SetRowCount(9);
    ClearSearchGrid(sgs);
    EXPECT_EQ(sgs.RowCount(), 1);
    EXPECT_EQ(sgs.ColCount(), 8);
    EXPECT_EQ(sgs.ColWidth(3), 64);
    EXPECT_EQ(sgs.Cell(7, 0), "3BV/s");
    EXPECT_EQ(sgs.Cell(0, 1), "Avg");
}

TEST_F(HistorySearch, EmptyTableListsNothing) {
    SearchHistory(sgs, filter);
    EXPECT_EQ(sgs.RowCount(), 1);
}

TEST_F(HistorySearch, RangesAreInclusive) {
    LoadHistory({Dated(31, 1, 2024), Dated(1, 2, 2024), Dated(10, 2, 2024), Dated(11, 2, 2024)});
    filter.date = true;
    filter.day1 = 1, filter.month1 = 2, filter.year1 = 2024;
    filter.day2 = 10, filter.month2 = 2, filter.year2 = 2024;
    SearchHistory(sgs, filter);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"01.02.2024", "10.02.2024"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
    filter.day1 = 11; // from above to: nothing
    SearchHistory(sgs, filter);
    EXPECT_EQ(sgs.RowCount(), 1);
    filter.day1 = 1, filter.year1 = 2023; // the from-date has its own year
    SearchHistory(sgs, filter);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"31.01.2024", "01.02.2024", "10.02.2024"}));
}

TEST_F(HistorySearch, FiltersByEveryField) {
    TGameRecord a = Game(1, 20, 0), b = Game(2, 30, 0), c = Game(0, 40, 0);
    a.flagging = 1;
    a.hour = 8, b.hour = 12, c.hour = 20;
    b.minute = 30, b.second = 15;
    a.bbbv = 10, b.bbbv = 50, c.bbbv = 100;
    a.bbbvsWhole = 1, b.bbbvsWhole = 2, c.bbbvsWhole = 3;
    LoadHistory({a, b, c});
    struct Case {
        void (*set)(THistorySearchFilter&);
        std::vector<std::string> bbbvs;
    } cases[] = {
        {[](THistorySearchFilter&) {}, {"10", "50", "100"}},
        {[](THistorySearchFilter& f) { f.exp = false; }, {"10", "100"}},
        {[](THistorySearchFilter& f) { f.flag = false; }, {"50", "100"}},
        {[](THistorySearchFilter& f) { f.noFlag = false; }, {"10"}},
        {[](THistorySearchFilter& f) { f.hour = true, f.hour1 = 12, f.hour2 = 20, f.minute2 = 0, f.second2 = 0; },
         {"50", "100"}},
        // 12:30:15 lies a second before the range, then a minute after it.
        {[](THistorySearchFilter& f) { f.hour = true, f.hour1 = 12, f.minute1 = 30, f.second1 = 16; },
         {"100"}},
        {[](THistorySearchFilter& f) { f.hour = true, f.hour2 = 12, f.minute2 = 29, f.second2 = 59; },
         {"10"}},
        {[](THistorySearchFilter& f) { f.time = true, f.timeSec1 = 20, f.timeSec2 = 30, f.timeHund2 = 0; },
         {"10", "50"}},
        {[](THistorySearchFilter& f) { f.rate = true, f.rateWhole1 = 2, f.rateHund1 = 0; }, {"50", "100"}},
        {[](THistorySearchFilter& f) { f.rate = true, f.rateWhole2 = 2, f.rateHund2 = 0; }, {"10", "50"}},
        {[](THistorySearchFilter& f) { f.bbbv = true, f.bbbv1 = 10, f.bbbv2 = 50; }, {"10", "50"}},
    };
    for (const auto& c : cases) {
        THistorySearchFilter f;
        c.set(f);
        SearchHistory(sgs, f);
        EXPECT_EQ(Column(6), c.bbbvs);
    }
}

TEST_F(HistorySearch, RecorderStyleTimeIsTestedAndListedWithItsSecond) {
    Options.doRecorderStyleTimer = true;
    Options.doDotSeparator = true;
    LoadHistory({Game(0, 9, 50), Game(0, 10, 60)});
    filter.time = true;
    filter.timeSec1 = 10, filter.timeHund1 = 50, filter.timeSec2 = 10, filter.timeHund2 = 50;
    SearchHistory(sgs, filter);
    EXPECT_EQ(Column(5), (std::vector<std::string>{"10.50"}));
}

// The cells carry the program's separator: with "," (the default) every time still converts,
// and the averages are exact ("1,1300", not "1,1299").
TEST_F(HistorySearch, AveragesAreExactWithEitherSeparator) {
    for (const bool dot : {false, true}) {
        Options.doDotSeparator = dot;
        LoadHistory({Game(0, 10, 0), Game(0, 12, 50), Game(0, 11, 25)});
        GameHistory[0].bbbv = 10, GameHistory[1].bbbv = 11, GameHistory[2].bbbv = 11;
        GameHistory[0].bbbvsWhole = 1, GameHistory[0].bbbvsHund = 13;
        SearchHistory(sgs, filter);
        EXPECT_EQ(sgs.Cell(5, 1), "11,2500") << dot;
        EXPECT_EQ(sgs.Cell(6, 1), "10,6666") << dot;
        EXPECT_EQ(sgs.Cell(7, 1), "0,3766") << dot;
        EXPECT_EQ(sgs.Cell(0, 1), "Avg");
    }
    LoadHistory({[] {
        TGameRecord r = Game(0, 1, 0);
        r.bbbvsWhole = 1, r.bbbvsHund = 13;
        return r;
    }()});
    SearchHistory(sgs, filter);
    EXPECT_EQ(sgs.Cell(7, 1), "1,1300");
    EXPECT_TRUE(DebugLogLines.empty() || DebugLogLines.front().find("strtofloat") == std::string::npos);
}

TEST_F(HistorySearch, ShownNumbersParseExactly) {
    Options.doDotSeparator = false;
    EXPECT_EQ(ParseHundredths("12,05"), 1205);
    EXPECT_EQ(ParseHundredths("0,07"), 7);
    for (const char* bad : {"12.05", "12,5", ",05", "1a,00", "", "12,050"})
        EXPECT_FALSE(ParseHundredths(bad)) << bad;
    Options.doDotSeparator = true;
    EXPECT_EQ(ParseHundredths("999.99"), 99999);
}

TEST_F(HistorySearch, SortKeysAndOrders) {
    EXPECT_EQ(SearchSortKeys(), (std::vector<std::string>{"Time", "Time inverse", "3BV/s", "3BV/s inverse", "3BV",
                                                          "3BV inverse", "Mode", "Mode inverse", "Style",
                                                          "Style inverse"}));
    TGameRecord a = Game(2, 30, 0), b = Game(0, 10, 0), c = Game(1, 20, 0), d = Game(0, 10, 0);
    a.bbbv = 3, b.bbbv = 1, c.bbbv = 2, d.bbbv = 4;
    a.flagging = 1, c.flagging = 1;
    a.bbbvsWhole = 5, b.bbbvsWhole = 7, c.bbbvsWhole = 6, d.bbbvsWhole = 7;
    LoadHistory({a, b, c, d});
    struct Case {
        std::string key;
        std::vector<std::string> bbbvs;
    } cases[] = {
        {"", {"1", "4", "2", "3"}},
        {"Time", {"1", "4", "2", "3"}},
        {"Time inverse", {"3", "2", "1", "4"}},
        {"3BV/s", {"3", "2", "1", "4"}},
        {"3BV/s inverse", {"1", "4", "2", "3"}},
        {"3BV", {"1", "2", "3", "4"}},
        {"3BV inverse", {"4", "3", "2", "1"}},
        {"Mode", {"1", "4", "2", "3"}},
        {"Mode inverse", {"3", "2", "1", "4"}},
        {"Style", {"1", "4", "3", "2"}},
        {"Style inverse", {"3", "2", "1", "4"}},
    };
    for (const auto& c : cases) {
        SearchHistory(sgs, filter);
        EXPECT_EQ(SortSearchResults(sgs, c.key), 0) << c.key;
        EXPECT_EQ(Column(6), c.bbbvs) << c.key;
        EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3", "4"})) << c.key;
        EXPECT_EQ(sgs.Cell(0, 1), "Avg");
    }
    // Ties keep their order in a long list too (std::sort keeps it only up to 16 rows).
    std::vector<TGameRecord> tied;
    std::vector<std::string> expected[3];
    for (int i = 0; i < 48; ++i) {
        TGameRecord r = Game(0, static_cast<uint16_t>(10 + (i * 7) % 3), 0);
        r.bbbv = static_cast<uint16_t>(i + 1);
        tied.push_back(r);
        expected[(i * 7) % 3].push_back(std::to_string(i + 1));
    }
    LoadHistory(tied);
    SearchHistory(sgs, filter);
    ASSERT_EQ(SortSearchResults(sgs, "Time"), 0);
    std::vector<std::string> order = expected[0];
    order.insert(order.end(), expected[1].begin(), expected[1].end());
    order.insert(order.end(), expected[2].begin(), expected[2].end());
    EXPECT_EQ(Column(6), order);
}

TEST_F(HistorySearch, UnconvertibleCellStopsTheSortAndLeavesTheRows) {
    LoadHistory({Game(0, 30, 0), Game(0, 10, 0), Game(0, 20, 0)});
    SearchHistory(sgs, filter);
    sgs.SetCell(5, 3, "x");
    EXPECT_EQ(SortSearchResults(sgs, "Time inverse"), 12);
    EXPECT_EQ(Column(5), (std::vector<std::string>{"30,00", "x", "20,00"}));
    EXPECT_EQ(SortErrorText(12), "Error occured!\r\noperation #12");
    EXPECT_EQ(SortSearchResults(sgs, "3BV/s"), 0);
}

TEST_F(HistorySearch, DefaultFilterRunsFromTheHeldDateToToday) {
    Now = TSystemTime{2024, 2, 0, 28, 1, 2, 3, 0};
    SystemTimeSource = [] { return TSystemTime{2024, 3, 0, 5, 7, 8, 9, 0}; };
    const THistorySearchFilter f = DefaultSearchFilter();
    EXPECT_EQ(f.day1, 28);
    EXPECT_EQ(f.month1, 2);
    EXPECT_EQ(f.day2, 5);
    EXPECT_EQ(f.month2, 3);
    EXPECT_EQ(f.hour1, 0);
    EXPECT_EQ(f.second2, 59);
    EXPECT_EQ(f.bbbv2, 379);
    EXPECT_TRUE(f.date);
    EXPECT_FALSE(f.hour || f.time || f.rate || f.bbbv);
    EXPECT_EQ(f.sortKey, "Time");
}

// ---- Index of Speed ----

TEST_F(HistorySearch, IndexOfSpeedInputAndErrors) {
    EXPECT_FALSE(HasSearchResults(sgs));
    EXPECT_EQ(IndexOfSpeed(sgs, "25").message, "No data for calculations.");
    LoadHistory({Game(2, 2, 0), Game(2, 50, 0)});
    GameHistory[0].bbbv = 10;
    GameHistory[1].bbbv = 100;
    SearchHistory(sgs, filter);
    EXPECT_EQ(IndexOfSpeed(sgs, "x").message, "Integer value expected.");
    EXPECT_EQ(IndexOfSpeed(sgs, "100").message, "Integer 0..99 value expected.");
    EXPECT_EQ(IndexOfSpeed(sgs, "-1").message, "Integer 0..99 value expected.");
    // The first row's time of 2.00 s gives ln(t - 1) = 0.
    EXPECT_EQ(IndexOfSpeed(sgs, "0").message, "ERROR");
    sgs.SetCell(5, 2, "1,00"); // t - 1 = 0
    EXPECT_EQ(IndexOfSpeed(sgs, "0").message, "ERROR");
    sgs.SetCell(5, 2, "0,50"); // t - 1 < 0
    EXPECT_EQ(IndexOfSpeed(sgs, "0").clipboard, "");
    sgs.SetCell(6, 2, "1"); // 3BV 1: a mean of 0 after ln(1) = 0
    sgs.SetCell(5, 2, "11,00");
    EXPECT_EQ(IndexOfSpeed(sgs, "50").message, "ERROR");
}

TEST_F(HistorySearch, IndexOfSpeedReport) {
    std::vector<TGameRecord> games;
    for (int i = 0; i < 50; ++i) {
        TGameRecord r = Game(2, static_cast<uint16_t>(50 + i), 0);
        r.bbbv = 120;
        games.push_back(r);
    }
    LoadHistory(games);
    SearchHistory(sgs, filter);
    const TIndexOfSpeed one = IndexOfSpeed(sgs, "99"); // c = trunc(50 x 1 / 100) = 0, raised to 1
    // ln 120 / ln 49 = 1.230142
    EXPECT_EQ(one.message.substr(0, 70),
              "Results for 1 of 50 games (1%) are:\r\n(for the best forecast inverted 3");
    EXPECT_NE(one.message.find("\r\n\r\n1.230142 units - average Index of Speed\r\n0 units - dispersion"),
              std::string::npos)
        << one.message;
    EXPECT_EQ(one.clipboard + "\r\n\r\ncopied to clipboard.", one.message);
    const TIndexOfSpeed half = IndexOfSpeed(sgs, " 50 ");
    EXPECT_EQ(half.message.substr(0, 37), "Results for 25 of 50 games (50%) are:");
    EXPECT_NE(half.message.find(" sec - time forecast for 30 3BV\r\n\r\ncopied to clipboard."), std::string::npos);
}

} // namespace
} // namespace quorlet::test
