#include <random>
#include <string>
#include <vector>

#include "core/textutil.h"
#include "stats/historypages.h"
#include "stats/queries.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class HistoryPages : public EngineTest {
  protected:
    THistoryGrid sg;
    // The visible rows as "a|b|c" lines.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int r = 0; r < sg.RowCount(); ++r) {
            std::string line;
            for (int c = 0; c < sg.ColCount(); ++c)
                line += (c ? "|" : "") + sg.Cell(c, r);
            rows.push_back(line);
        }
        return rows;
    }
    std::string Row(int r) const { return Rows().at(static_cast<size_t>(r)); }
};

TGameRecord Full(uint8_t level, uint16_t sec, uint8_t hund, uint16_t bbbv, uint8_t rateWhole, uint8_t rateHund,
                 uint8_t flagging, uint8_t day = 5, uint8_t hour = 9) {
    TGameRecord r = Game(level, sec, hund);
    r.day = day;
    r.month = 3;
    r.year = 2024;
    r.hour = hour;
    r.minute = 8;
    r.second = 7;
    r.bbbv = bbbv;
    r.bbbvsWhole = rateWhole;
    r.bbbvsHund = rateHund;
    r.flagging = flagging;
    return r;
}

TEST_F(HistoryPages, LevelSummaryOfASmallHistory) {
    Options.doDotSeparator = true;
    LoadHistory({Full(0, 10, 50, 20, 1, 90, 1, 1), Full(1, 50, 0, 100, 2, 0, 0), Full(0, 8, 25, 30, 3, 63, 0, 2),
                 Full(0, 12, 0, 15, 1, 25, 1, 3)});
    FillLevelSummaryBeg(sg);
    EXPECT_EQ(sg.ColCount(), 7);
    EXPECT_EQ(sg.RowCount(), 17);
    EXPECT_EQ(sg.ColWidth(0), 94);
    const std::vector<std::string> expected = {
        "\\|Value|Date|Hour|3BV|3BV/s|Time",
        "Games Total|3|||||",
        "Flag|2|||||",
        "Non-Flag|1|||||",
        "Full Time|0:00:30|||||",
        "||||||",
        "Best  Time|8.25|02.03.2024|09:08:07|30|3.63|8.25",
        "Avg   Time|10.25|||||10.25",
        "Worst Time|12.00|03.03.2024|09:08:07|15|1.25|12.00",
        "||||||",
        "Best  3BV/s|3.63|02.03.2024|09:08:07|30|3.63|8.25",
        "Avg   3BV/s|2.26||||2.26|",
        "Worst 3BV/s|1.25|03.03.2024|09:08:07|15|1.25|12.00",
        "||||||",
        "Best  3BV|15|03.03.2024|09:08:07|15|1.25|12.00",
        "Avg   3BV|21.66|||21.66||",
        "Worst 3BV|30|02.03.2024|09:08:07|30|3.63|8.25",
    };
    EXPECT_EQ(Rows(), expected);
}

TEST_F(HistoryPages, EmptyLevelSummaryShowsTheStartValuesAndTheEndSlot) {
    FillLevelSummaryBeg(sg);
    EXPECT_EQ(Row(1), "Games Total|0|||||");
    EXPECT_EQ(Row(6), "Best  Time|999,99|00.00.0|00:00:00|0|0,00|0,00");
    EXPECT_EQ(Row(7), "Avg   Time|0,00|||||0,00");
    EXPECT_EQ(Row(12), "Worst 3BV/s|99,99|00.00.0|00:00:00|0|0,00|0,00");
    EXPECT_EQ(Row(14), "Best  3BV|999|00.00.0|00:00:00|0|0,00|0,00");
}

TEST_F(HistoryPages, FullTimeDropsHundredthsAndDoesNotWrapAt32Bits) {
    LoadHistory({Game(2, 999, 0), Game(2, 999, 0), Game(2, 999, 0), Game(2, 726, 45)});
    FillLevelSummaryExp(sg);
    EXPECT_EQ(sg.Cell(1, 4), "1:02:03");
    // 50,000 games of 999.99 s are 4,999,950,000 hundredths, past 2^32.
    LoadHistory(std::vector<TGameRecord>(50000, Game(2, 999, 99)));
    FillLevelSummaryExp(sg);
    EXPECT_EQ(sg.Cell(1, 4), "13888:45:00");
}

// ---- Rankings ----

TGameRecord Timed(uint16_t sec, uint8_t hund, uint16_t bbbv) {
    TGameRecord r = Game(0, sec, hund);
    r.bbbv = bbbv;
    DeriveRecordFields(r);
    return r;
}

// Column 4 (the 3BV) tells the records apart.
std::vector<std::string> RankedBBBVs(const THistoryGrid& g) {
    std::vector<std::string> ids;
    for (int r = 1; r < g.RowCount(); ++r)
        ids.push_back(g.Cell(4, r));
    return ids;
}

TEST_F(HistoryPages, TimeRankingCases) {
    struct Case {
        std::vector<TGameRecord> records;
        bool equals;
        std::vector<std::string> bbbvs;
    } cases[] = {
        {{}, false, {}},
        {{}, true, {}},
        {{Timed(12, 34, 1), Timed(12, 34, 2), Timed(15, 0, 3)}, false, {"1", "3"}},
        {{Timed(12, 34, 1), Timed(12, 34, 2), Timed(15, 0, 3)}, true, {"1", "2", "3"}},
        {{Timed(12, 34, 1), Timed(12, 34, 2), Timed(12, 34, 3)}, true, {"1", "3", "2"}},
        {{Timed(12, 34, 1), Timed(12, 34, 2), Timed(12, 34, 3)}, false, {"1"}},
        {{Timed(20, 0, 1), Timed(10, 0, 2), Timed(20, 0, 3), Timed(20, 0, 4)}, true, {"2", "4", "3", "1"}},
        // 999 s is the "none" value: listed only as the one best record.
        {{Timed(999, 0, 1), Timed(5, 0, 2), Timed(999, 10, 3)}, true, {"2"}},
        {{Timed(999, 0, 1), Timed(999, 0, 2)}, true, {"1"}},
    };
    for (const auto& c : cases) {
        LoadHistory(c.records);
        Options.doShowEquals = c.equals;
        FillTimeRankingBeg(sg);
        EXPECT_EQ(RankedBBBVs(sg), c.bbbvs) << c.records.size() << " records, equals " << c.equals;
        EXPECT_EQ(sg.Cell(0, 0), "#");
    }
}

TEST_F(HistoryPages, RankingRowsAndWidths) {
    LoadHistory({Full(1, 30, 5, 60, 1, 97, 1), Full(1, 0, 0, 5, 0, 0, 0)});
    Fill3BVsRankingInt(sg);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"#|3BV/s|Date|Hour|3BV|Time|Style",
                                                "1|1,97|05.03.2024|09:08:07|60|30,05|Flag"}));
    EXPECT_EQ(sg.ColWidth(1), 54);
    EXPECT_EQ(sg.ColWidth(6), 70);
    Options.doShowEquals = true;
    Options.doRecorderStyleTimer = true;
    FillTimeRankingInt(sg);
    EXPECT_EQ(Row(1), "1|1,00|05.03.2024|09:08:07|5|0,00|Non-Flag");
    EXPECT_EQ(Row(2), "2|31,05|05.03.2024|09:08:07|60|1,97|Flag");
    for (int c = 1; c < 7; ++c)
        EXPECT_EQ(sg.ColWidth(c), 84) << c;
}

// The listing order the next-ranked queries give, walked one scan per row.
std::vector<int32_t> LiteralTimeWalk(uint8_t level, bool equals) {
    std::vector<int32_t> order;
    uint16_t s = 999;
    uint8_t h = 99;
    if (!equals) {
        const int32_t best = FindBestTime(level, s, h);
        if (s == 999 && h == 99) return order;
        order.push_back(best);
        for (;;) {
            const int32_t i = FindNextByTime(level, s, h, s, h);
            if (s == 999) return order;
            order.push_back(i);
        }
    }
    const uint32_t n = HistoryRecordCount();
    for (uint32_t i = 0; i <= n; ++i)
        HistorySelectionMask[i] = 1;
    const int32_t best = FindBestTime(level, s, h);
    HistorySelectionMask[static_cast<size_t>(best)] = 0;
    if (s == 999 && h == 99) return order;
    order.push_back(best);
    for (;;) {
        const int32_t i = FindNextByTimeMasked(level, s, h, s, h);
        if (s == 999) return order;
        HistorySelectionMask[static_cast<size_t>(i)] = 0;
        order.push_back(i);
    }
}

std::vector<int32_t> LiteralRateWalk(uint8_t level, bool equals) {
    std::vector<int32_t> order;
    uint8_t w = 0, h = 0;
    const int32_t best = FindBest3BVs(level, w, h);
    const uint32_t n = HistoryRecordCount();
    if (equals) {
        for (uint32_t i = 0; i <= n; ++i)
            HistorySelectionMask[i] = 1;
        HistorySelectionMask[static_cast<size_t>(best)] = 0;
    }
    if (w == 0 && h == 0) return order;
    order.push_back(best);
    for (;;) {
        const int32_t i = equals ? FindNextBy3BVsMasked(level, w, h, w, h) : FindNextBy3BVs(level, w, h, w, h);
        if (w == 0 && h == 0) return order;
        if (equals) HistorySelectionMask[static_cast<size_t>(i)] = 0;
        order.push_back(i);
    }
}

// The random records carry their table index as their 3BV, which the ranking's 3BV column shows.
std::vector<std::string> IndexTexts(const std::vector<int32_t>& order) {
    std::vector<std::string> texts;
    for (const int32_t i : order)
        texts.push_back(std::to_string(GameHistory[static_cast<size_t>(i)].bbbv));
    return texts;
}

TEST_F(HistoryPages, FastRankingsListWhatTheLiteralWalkLists) {
    std::mt19937 random(20240305);
    for (int round = 0; round < 60; ++round) {
        const int n = static_cast<int>(random() % 120);
        std::vector<TGameRecord> records;
        for (int i = 0; i < n; ++i) {
            TGameRecord r = Game(static_cast<uint8_t>(random() % 3), 0, 0);
            // Few distinct values, so ties are common; now and then the "none" values.
            r.timeSec = random() % 8 == 0 ? 999 : static_cast<uint16_t>(random() % 6);
            r.timeHund = static_cast<uint8_t>(random() % 3 * 50);
            r.bbbvsWhole = static_cast<uint8_t>(random() % 4);
            r.bbbvsHund = static_cast<uint8_t>(random() % 2 * 50);
            r.bbbv = static_cast<uint16_t>(i);
            records.push_back(r);
        }
        LoadHistory(records);
        for (const bool equals : {false, true})
            for (uint8_t level = 0; level < 3; ++level) {
                Options.doShowEquals = equals;
                FillTimeRanking(sg, level);
                EXPECT_EQ(RankedBBBVs(sg), IndexTexts(LiteralTimeWalk(level, equals)))
                    << "round " << round << " level " << int{level} << " equals " << equals;
                Fill3BVsRanking(sg, level);
                EXPECT_EQ(RankedBBBVs(sg), IndexTexts(LiteralRateWalk(level, equals)))
                    << "round " << round << " level " << int{level} << " equals " << equals;
            }
    }
}

// ---- Reviews ----

TEST_F(HistoryPages, TimesReviewBucketsByTheWholeSecond) {
    LoadHistory({Full(0, 10, 5, 20, 1, 98, 1), Full(0, 10, 95, 30, 2, 75, 0), Full(0, 0, 80, 5, 6, 25, 0),
                 Full(0, 3, 0, 9, 3, 0, 0), Full(1, 10, 0, 40, 4, 0, 0)});
    FillTimesReviewBeg(sg);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "Time|Total|Avg|3BV/s Min|3BV/s Avg|3BV/s Max|3BV Min|3BV Avg|3BV Max",
                          "4|1|3,00|3,00|3,00|3,00|9|9,00|9",
                          "11|2|10,50|1,98|2,36|2,75|20|25,00|30",
                      }));
    EXPECT_EQ(sg.ColWidth(3), 80);
}

TEST_F(HistoryPages, RateReviewBucketsByTenthsFastestFirst) {
    // 100.00 (3BV 300 in 3.00 s) is the last bucket; 255.99 lies past it.
    LoadHistory({Full(2, 40, 0, 100, 2, 57, 1), Full(2, 42, 10, 110, 2, 50, 0), Full(2, 20, 0, 70, 3, 5, 0),
                 Full(2, 900, 0, 70, 0, 8, 0), Full(2, 1, 0, 255, 255, 99, 0),
                 Full(2, 3, 0, 300, 100, 0, 0)});
    Fill3BVsReviewExp(sg);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "3BV/s|Total|Avg|Time Min|Time Avg|Time Max|3BV Min|3BV Avg|3BV Max",
                          "100,0|1|100,00|3,00|3,00|3,00|300|300,00|300",
                          "3,0|1|3,05|20,00|20,00|20,00|70|70,00|70",
                          "2,5|2|2,53|40,00|41,05|42,10|100|105,00|110",
                      }));
    // The label keeps its comma with the dot option; the values follow the option.
    Options.doDotSeparator = true;
    Fill3BVsReviewExp(sg);
    EXPECT_EQ(Row(3), "2,5|2|2.53|40.00|41.05|42.10|100|105.00|110");
}

TEST_F(HistoryPages, BBBVReviewBucketsByTheBoard) {
    LoadHistory({Full(1, 40, 0, 100, 2, 50, 1), Full(1, 30, 0, 100, 3, 33, 0), Full(1, 30, 0, 0, 0, 0, 0),
                 Full(1, 9, 0, 1000, 99, 0, 0)});
    Fill3BVReviewInt(sg);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "3BV|Total|Time Min|Time Avg|Time Max|3BV/s Min|3BV/s Avg|3BV/s Max",
                          "100|2|30,00|35,00|40,00|2,50|2,91|3,33",
                      }));
    EXPECT_EQ(sg.ColCount(), 8);
}

TEST_F(HistoryPages, EmptyReviewsShowTheHeaderOnly) {
    FillTimesReview(sg, 0);
    EXPECT_EQ(sg.RowCount(), 1);
    Fill3BVsReview(sg, 1);
    EXPECT_EQ(sg.RowCount(), 1);
    Fill3BVReview(sg, 2);
    EXPECT_EQ(sg.RowCount(), 1);
}

// ---- Activity and entire ----

class HistoryActivity : public HistoryPages {
  protected:
    void SetUp() override {
        HistoryPages::SetUp();
        // Tuesday 5 March 2024, 07:08:09.
        SystemTimeSource = [] { return TSystemTime{2024, 3, 0, 5, 7, 8, 9, 0}; };
    }
};

TEST_F(HistoryActivity, SharesAndPlayTimeByHourWeekdayAndMonth) {
    // 14 h on Saturday 2 March; 9 h on Sunday 3 March and on Friday 3 May.
    LoadHistory({Full(0, 10, 50, 1, 0, 0, 0, 2, 14), Full(1, 3599, 0, 1, 0, 0, 0, 3, 9),
                 Full(2, 2, 0, 1, 0, 0, 0, 3, 9)});
    GameHistory[2].month = 5;
    FillTotalActivity(sg);
    EXPECT_EQ(sg.ColCount(), 9);
    EXPECT_EQ(sg.RowCount(), 26);
    EXPECT_EQ(Row(0), "Hour|Games|Percents|Total Time||\\|Games|Percents|Total Time");
    EXPECT_EQ(Row(1), "00|||||Day|||");
    EXPECT_EQ(Row(3), "02|||||Tue*|||");
    EXPECT_EQ(Row(6), "05|||||Fri|1|33,33|0:00:02");
    EXPECT_EQ(Row(8), "07*|||||Sun|1|33,33|0:59:59");
    EXPECT_EQ(Row(7), "06|||||Sat|1|33,33|0:00:10");
    EXPECT_EQ(Row(10), "09|2|66,66|1:00:01||Month|||");
    EXPECT_EQ(Row(13), "12|||||Mar*|2|66,66|1:00:09");
    EXPECT_EQ(Row(15), "14|1|33,33|0:00:10||May|1|33,33|0:00:02");
    EXPECT_EQ(Row(25), "Total|3||1:00:11|||||");
    // Shares keep their comma with the dot option.
    Options.doDotSeparator = true;
    FillTotalActivity(sg);
    EXPECT_EQ(Row(15), "14|1|33,33|0:00:10||May|1|33,33|0:00:02");
    // 50,000 games of 999.99 s are 4,999,950,000 hundredths, past 2^32.
    LoadHistory(std::vector<TGameRecord>(50000, Full(0, 999, 99, 1, 0, 0, 0, 2, 14)));
    FillTotalActivity(sg);
    EXPECT_EQ(sg.Cell(3, 15), "13888:45:00");
    EXPECT_EQ(sg.Cell(3, 25), "13888:45:00");
}

TEST_F(HistoryActivity, EmptyTableKeepsOnlyTheLabels) {
    FillTotalActivity(sg);
    EXPECT_EQ(Row(1), "|||||Day|||");
    EXPECT_EQ(Row(3), "|||||Tue*|||");
    EXPECT_EQ(Row(25), "Total||||||||");
}

TEST_F(HistoryActivity, OutOfRangeFileValuesCountOnlyInTheTotal) {
    TGameRecord r = Full(0, 1, 0, 1, 0, 0, 0, 9, 99);
    r.month = 200;
    LoadHistory({r});
    FillTotalActivity(sg);
    EXPECT_EQ(sg.Cell(1, 25), "1");
    for (int row = 1; row < 25; ++row)
        EXPECT_EQ(sg.Cell(1, row), "") << row;
}

TEST_F(HistoryPages, EntireListsNewestFirstUnderTheAverages) {
    LoadHistory({Full(0, 10, 0, 20, 2, 0, 1, 1, 10), Full(2, 99, 9, 150, 1, 51, 1, 3, 12)});
    FillEntireStatisticsDebug(sg);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "#|Date|Hour|Mode|Style|Time|3BV|3BV/s",
                          "Avg|02.03.2024|11:08:07|Beg-Exp|Flag|||1,75",
                          "|||||||",
                          "2|03.03.2024|12:08:07|Exp|Flag|99,09|150|1,51",
                          "1|01.03.2024|10:08:07|Beg|Flag|10,00|20|2,00",
                      }));
    LoadHistory({});
    FillEntireStatisticsDebug(sg);
    EXPECT_EQ(sg.RowCount(), 1);
}

TEST_F(HistoryPages, EntireStopsAtAnUnknownLevel) {
    LoadHistory({Game(0, 1, 0), Game(7, 1, 0), Game(1, 1, 0)});
    FillEntireStatisticsDebug(sg);
    EXPECT_EQ(sg.RowCount(), 6);
    EXPECT_EQ(sg.Cell(3, 5), "Beg");
    EXPECT_EQ(sg.Cell(3, 4), "ERROR");
    EXPECT_EQ(sg.Cell(0, 3), "");
}

// ---- Outline ----

TEST_F(HistoryPages, OutlineItemsAndTheirPages) {
    EXPECT_EQ(HistoryOutlineText(6), "3BV Reviev");
    EXPECT_EQ(HistoryOutlineText(15), "Exp");
    EXPECT_EQ(HistoryOutlineText(27), "Search");
    EXPECT_EQ(HistoryPageCaption(10), "Intermediate Top 3BV/s");
    EXPECT_EQ(HistoryPageCaption(21), "Expert Style Chart");
    EXPECT_EQ(HistoryPageCaption(23), "Overall Games Chart");
    EXPECT_EQ(HistoryPageCaption(27), "Search     ");
    EXPECT_EQ(HistoryPagePanel(14), THistoryPanel::StyleChart);
    EXPECT_EQ(HistoryPagePanel(23), THistoryPanel::GamesChart);
    EXPECT_EQ(HistoryPagePanel(26), THistoryPanel::Setup);
    LoadHistory({Game(2, 5, 0)});
    EXPECT_TRUE(DrawHistoryGridPage(sg, 16));
    EXPECT_EQ(sg.Cell(1, 1), "5,00");
    EXPECT_FALSE(DrawHistoryGridPage(sg, 7));
    EXPECT_EQ(sg.Cell(1, 1), ""); // emptied all the same
}

} // namespace
} // namespace quorlet::test
