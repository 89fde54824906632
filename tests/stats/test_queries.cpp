#include <functional>
#include <tuple>

#include "stats/queries.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class HistoryQueries : public EngineTest {};

TGameRecord Rate(uint8_t level, uint8_t whole, uint8_t hundredths) {
    TGameRecord r = Game(level, 20, 0);
    r.bbbvsWhole = whole;
    r.bbbvsHund = hundredths;
    return r;
}

TGameRecord WithBBBV(TGameRecord r, uint16_t bbbv) {
    r.bbbv = bbbv;
    return r;
}

// An extreme query as (index, first member, second member).
using Extreme = std::function<std::tuple<int32_t, unsigned, unsigned>(uint8_t level)>;

const Extreme kBestTime = [](uint8_t l) {
    uint16_t s = 1;
    uint8_t h = 1;
    const int32_t i = FindBestTime(l, s, h);
    return std::tuple{i, unsigned{s}, unsigned{h}};
};
const Extreme kWorstTime = [](uint8_t l) {
    uint16_t s = 1;
    uint8_t h = 1;
    const int32_t i = FindWorstTime(l, s, h);
    return std::tuple{i, unsigned{s}, unsigned{h}};
};
const Extreme kBest3BVs = [](uint8_t l) {
    uint8_t w = 1, h = 1;
    const int32_t i = FindBest3BVs(l, w, h);
    return std::tuple{i, unsigned{w}, unsigned{h}};
};
const Extreme kWorst3BVs = [](uint8_t l) {
    uint8_t w = 1, h = 1;
    const int32_t i = FindWorst3BVs(l, w, h);
    return std::tuple{i, unsigned{w}, unsigned{h}};
};
const Extreme kMin3BV = [](uint8_t l) {
    uint16_t v = 1;
    const int32_t i = FindMin3BV(l, v);
    return std::tuple{i, unsigned{v}, 0u};
};
const Extreme kMax3BV = [](uint8_t l) {
    uint16_t v = 1;
    const int32_t i = FindMax3BV(l, v);
    return std::tuple{i, unsigned{v}, 0u};
};

struct ExtremeCase {
    const char* name;
    Extreme query;
    int32_t index;
    unsigned first;
    unsigned second;
};

TEST_F(HistoryQueries, ExtremesOfALevelWithoutRecordsGiveNoneAndTheirStartValues) {
    LoadHistory({Game(1, 20, 0)}); // only Intermediate: Beginner has nothing
    const ExtremeCase cases[] = {
        {"best time", kBestTime, kHistoryNone, 999, 99}, {"worst time", kWorstTime, kHistoryNone, 0, 0},
        {"best 3BV/s", kBest3BVs, kHistoryNone, 0, 0},   {"worst 3BV/s", kWorst3BVs, kHistoryNone, 99, 99},
        {"min 3BV", kMin3BV, kHistoryNone, 999, 0},      {"max 3BV", kMax3BV, kHistoryNone, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.query(0), std::make_tuple(c.index, c.first, c.second)) << c.name;
        LoadHistory({});
        EXPECT_EQ(c.query(1), std::make_tuple(c.index, c.first, c.second)) << c.name << " on an empty table";
        LoadHistory({Game(1, 20, 0)});
    }
}

TEST_F(HistoryQueries, ExtremesPickTheFirstOfEqualValuesWithinTheLevel) {
    LoadHistory({
        WithBBBV(Rate(0, 2, 50), 20), // 0
        WithBBBV(Game(0, 10, 50), 7), // 1
        WithBBBV(Game(0, 10, 50), 7), // 2: same time and 3BV as 1
        WithBBBV(Rate(0, 2, 50), 20), // 3: same 3BV/s as 0
        WithBBBV(Game(1, 5, 0), 3),   // 4: other level, must not count
        WithBBBV(Game(0, 30, 1), 40), // 5
        WithBBBV(Game(0, 30, 1), 40), // 6
    });
    const ExtremeCase cases[] = {
        {"best time", kBestTime, 1, 10, 50}, {"worst time", kWorstTime, 5, 30, 1},
        {"best 3BV/s", kBest3BVs, 0, 2, 50}, {"worst 3BV/s", kWorst3BVs, 1, 0, 0},
        {"min 3BV", kMin3BV, 1, 7, 0},       {"max 3BV", kMax3BV, 5, 40, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.query(0), std::make_tuple(c.index, c.first, c.second)) << c.name;
}

TEST_F(HistoryQueries, TimePairsCompareSecondsBeforeHundredths) {
    LoadHistory({Game(2, 11, 2), Game(2, 10, 99), Game(2, 10, 98)});
    EXPECT_EQ(kBestTime(2), std::make_tuple(2, 10u, 98u));
    EXPECT_EQ(kWorstTime(2), std::make_tuple(0, 11u, 2u));
}

TEST_F(HistoryQueries, ScansStopAtTheFirstEndSlot) {
    LoadHistory({Game(0, 20, 0), Game(0, 30, 0)});
    GameHistory[1].day = 0; // ends the table; the record after it is not read
    GameHistory[2] = Game(0, 5, 0);
    EXPECT_EQ(kBestTime(0), std::make_tuple(0, 20u, 0u));
    EXPECT_EQ(CountGamesBeg(), 1u);
}

TEST_F(HistoryQueries, CountsSplitByLevelAndFlagging) {
    auto flagged = [](TGameRecord r) {
        r.flagging = 1;
        return r;
    };
    LoadHistory(
        {flagged(Game(0, 1, 0)), Game(0, 1, 0), Game(0, 1, 0), flagged(Game(1, 1, 0)), Game(2, 1, 0)});
    EXPECT_EQ(CountFlagGames(), 2u);
    EXPECT_EQ(CountNoFlagGames(), 3u);
    const struct {
        uint32_t (*count)();
        uint32_t expected;
    } cases[] = {
        {CountGamesBeg, 3},       {CountGamesInt, 1},       {CountGamesExp, 1},
        {CountFlagGamesBeg, 1},   {CountFlagGamesInt, 1},   {CountFlagGamesExp, 0},
        {CountNoFlagGamesBeg, 2}, {CountNoFlagGamesInt, 0}, {CountNoFlagGamesExp, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.count(), c.expected);
}

TEST_F(HistoryQueries, AveragesAreIntegerMeansOfThePairs) {
    LoadHistory({WithBBBV(Game(1, 10, 99), 30), WithBBBV(Game(1, 11, 2), 31), Rate(2, 1, 50), Rate(2, 2, 75),
                 Rate(2, 3, 0)});
    uint16_t w16 = 7;
    uint8_t w8 = 7, h = 7;
    AverageTimeInt(w16, h); // SH 101, SW 21: (1 + 21) div 2 = 11, ((0 x 100) + 1) div 2 = 0
    EXPECT_EQ(std::make_pair(unsigned{w16}, unsigned{h}), std::make_pair(11u, 0u));
    Average3BVInt(w16, h); // 61 / 2 = 30.50
    EXPECT_EQ(std::make_pair(unsigned{w16}, unsigned{h}), std::make_pair(30u, 50u));
    Average3BVsExp(w8, h); // 7.25 / 3 = 2.41
    EXPECT_EQ(std::make_pair(unsigned{w8}, unsigned{h}), std::make_pair(2u, 41u));
    AverageAll3BVs(w8, h); // the two Intermediate records add 0.00 each: 7.25 / 5 = 1.45
    EXPECT_EQ(std::make_pair(unsigned{w8}, unsigned{h}), std::make_pair(1u, 45u));
    AverageTimeBeg(w16, h);
    EXPECT_EQ(std::make_pair(unsigned{w16}, unsigned{h}), std::make_pair(0u, 0u));
    Average3BVsBeg(w8, h);
    EXPECT_EQ(std::make_pair(unsigned{w8}, unsigned{h}), std::make_pair(0u, 0u));
}

TEST_F(HistoryQueries, AverageOfAFullTableDoesNotOverflow) {
    // 262,144 games of 999.99 s: 32-bit sums of the seconds would still fit, but the hours of
    // the time of day (x 3600) would not.
    std::vector<TGameRecord> all(kHistoryCapacity, Game(2, 999, 99));
    for (auto& r : all) {
        r.hour = 23;
        r.minute = 59;
        r.second = 59;
    }
    LoadHistory(all);
    uint16_t w = 0;
    uint8_t h = 0;
    AverageTimeExp(w, h);
    EXPECT_EQ(std::make_pair(unsigned{w}, unsigned{h}), std::make_pair(999u, 99u));
    EXPECT_EQ(AverageTimeOfDay(), "23:59:59");
}

TEST_F(HistoryQueries, PlainWalkListsEachDistinctTimeOnceAndMaskedWalkListsEveryRecord) {
    LoadHistory({Game(0, 12, 0), Game(0, 10, 50), Game(0, 10, 50), Game(1, 11, 0), Game(0, 11, 0)});
    uint16_t s = 0;
    uint8_t h = 0;
    std::vector<int32_t> plain;
    for (int32_t i = FindBestTimeBeg(s, h); i != kHistoryNone; i = FindNextByTimeBeg(s, h, s, h))
        plain.push_back(i);
    EXPECT_EQ(plain, (std::vector<int32_t>{1, 4, 0}));
    EXPECT_EQ(std::make_pair(unsigned{s}, unsigned{h}), std::make_pair(999u, 99u)) << "none value at the end";

    HistorySelectionMask.fill(0);
    for (int i = 0; i < 5; ++i)
        HistorySelectionMask[i] = 1;
    std::vector<int32_t> masked;
    s = 0;
    h = 0;
    for (int32_t i = FindNextByTimeMaskedBeg(s, h, s, h); i != kHistoryNone;
         i = FindNextByTimeMaskedBeg(s, h, s, h)) {
        masked.push_back(i);
        HistorySelectionMask[i] = 0;
    }
    // Equal times come one by one, the most recently added first.
    EXPECT_EQ(masked, (std::vector<int32_t>{2, 1, 4, 0}));
}

TEST_F(HistoryQueries, WalksBy3BVsGoDownwards) {
    LoadHistory({Rate(2, 1, 0), Rate(2, 2, 5), Rate(2, 2, 5), Rate(2, 1, 99)});
    uint8_t w = 0, h = 0;
    std::vector<int32_t> plain;
    for (int32_t i = FindBest3BVsExp(w, h); i != kHistoryNone; i = FindNextBy3BVsExp(w, h, w, h))
        plain.push_back(i);
    EXPECT_EQ(plain, (std::vector<int32_t>{1, 3, 0}));

    for (int i = 0; i < 4; ++i)
        HistorySelectionMask[i] = 1;
    std::vector<int32_t> masked;
    w = 99;
    h = 99;
    for (int32_t i = FindNextBy3BVsMaskedExp(w, h, w, h); i != kHistoryNone;
         i = FindNextBy3BVsMaskedExp(w, h, w, h)) {
        masked.push_back(i);
        HistorySelectionMask[i] = 0;
    }
    EXPECT_EQ(masked, (std::vector<int32_t>{2, 1, 3, 0}));
}

TEST_F(HistoryQueries, MaskedWalkSkipsUnmarkedRecords) {
    LoadHistory({Game(1, 10, 0), Game(1, 12, 0)});
    HistorySelectionMask[1] = 1;
    uint16_t s = 0;
    uint8_t h = 0;
    EXPECT_EQ(FindNextByTimeMaskedInt(0, 0, s, h), 1);
    EXPECT_EQ(std::make_pair(unsigned{s}, unsigned{h}), std::make_pair(12u, 0u));
}

TEST_F(HistoryQueries, MostPlayedLevelNamesTheLeaderOrTheTie) {
    const struct {
        uint32_t beg, inter, exp;
        const char* expected;
    } cases[] = {
        {5, 5, 3, "Beg-Int"}, {3, 3, 3, "All"}, {1, 2, 3, "Exp"}, {4, 1, 4, "Beg-Exp"},
        {0, 2, 2, "Int-Exp"}, {2, 0, 1, "Beg"}, {0, 1, 0, "Int"},
    };
    for (const auto& c : cases) {
        std::vector<TGameRecord> records;
        records.insert(records.end(), c.beg, Game(0, 1, 0));
        records.insert(records.end(), c.inter, Game(1, 1, 0));
        records.insert(records.end(), c.exp, Game(2, 1, 0));
        records.insert(records.end(), 4, Game(3, 1, 0)); // a level value outside 0..2 is not counted
        LoadHistory(records);
        EXPECT_EQ(MostPlayedLevel(), c.expected) << c.beg << " " << c.inter << " " << c.exp;
    }
}

TEST_F(HistoryQueries, SummariesOfAnEmptyTableSayError) {
    EXPECT_EQ(MostPlayedLevel(), "ERROR");
    EXPECT_EQ(AverageTimeOfDay(), "ERROR");
    EXPECT_EQ(AverageGameDate(), "ERROR");
}

TEST_F(HistoryQueries, MeanTimeOfDayAndDate) {
    auto at = [](uint8_t day, uint8_t month, uint16_t year, uint8_t hour, uint8_t minute, uint8_t second) {
        TGameRecord r = Game(0, 1, 0);
        r.day = day;
        r.month = month;
        r.year = year;
        r.hour = hour;
        r.minute = minute;
        r.second = second;
        return r;
    };
    LoadHistory({at(31, 12, 2005, 9, 0, 0), at(1, 1, 2006, 10, 5, 9)});
    EXPECT_EQ(AverageGameDate(), "16.06.2005");
    EXPECT_EQ(AverageTimeOfDay(), "09:32:34"); // (32400 + 36309) / 2 = 34354 s
}

} // namespace
} // namespace quorlet::test
