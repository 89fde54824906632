#include <cmath>
#include <cstring>
#include <limits>

#include "core/random.h"
#include "stats/records.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class PersonalRecords : public EngineTest {};

using M = TRecordMeasure;
using S = TRecordSelection;

constexpr M kMeasures[] = {M::Time, M::BBBVs, M::RQP, M::IOS, M::IOE};
constexpr S kSelections[] = {S::All, S::Flag, S::NoFlag};

// A record whose every measure is set: time, 3BV/s, RQP, IOS, and IOE = bbbv / clicks.
TGameRecord Scored(uint8_t level, uint16_t sec, uint8_t hund, float bbbvs, float rqp, float ios,
                   uint16_t bbbv, uint16_t leftClicks, uint16_t rightClicks) {
    TGameRecord r = Game(level, sec, hund);
    r.bbbvsExact = bbbvs;
    r.rqp = rqp;
    r.ios = ios;
    r.bbbv = bbbv;
    r.leftClicks = leftClicks;
    r.rightClicks = rightClicks;
    r.flagging = rightClicks > 0;
    return r;
}

struct NamedQueries {
    M measure;
    int32_t (*best[3])(uint8_t);
    float (*top[3])(uint8_t);
};

const NamedQueries kNamed[] = {
    {M::Time,
     {BestTimeIndex, BestTimeFlagIndex, BestTimeNFIndex},
     {Top25AvgTime, Top25AvgTimeFlag, Top25AvgTimeNF}},
    {M::BBBVs,
     {Best3BVsIndex, Best3BVsFlagIndex, Best3BVsNFIndex},
     {Top25Avg3BVs, Top25Avg3BVsFlag, Top25Avg3BVsNF}},
    {M::RQP, {BestRQPIndex, BestRQPFlagIndex, BestRQPNFIndex}, {Top25AvgRQP, Top25AvgRQPFlag, Top25AvgRQPNF}},
    {M::IOS, {BestIOSIndex, BestIOSFlagIndex, BestIOSNFIndex}, {Top25AvgIOS, Top25AvgIOSFlag, Top25AvgIOSNF}},
    {M::IOE, {BestIOEIndex, BestIOEFlagIndex, BestIOENFIndex}, {Top25AvgIOE, Top25AvgIOEFlag, Top25AvgIOENF}},
};

TEST_F(PersonalRecords, EmptyTableHasNoBestAndAllAveragesZero) {
    for (const auto& q : kNamed)
        for (int s = 0; s < 3; ++s)
            for (uint8_t level = 0; level < 3; ++level) {
                EXPECT_EQ(q.best[s](level), kRecordNone);
                EXPECT_EQ(q.top[s](level), 0.0f) << "even Time and RQP";
            }
}

TEST_F(PersonalRecords, NamedQueriesAnswerForTheirMeasureAndSelection) {
    // Level 1: record 0 flagged and best by every measure among flagged; record 1 no-flag and best
    // among no-flag games; record 2 no-flag and worse. The flagging byte lies on record 1 on
    // purpose: selections go by rightClicks.
    LoadHistory({Scored(1, 20, 0, 3.0f, 8.0f, 0.9f, 60, 30, 5), Scored(1, 30, 0, 2.0f, 9.0f, 0.8f, 60, 50, 0),
                 Scored(1, 40, 0, 1.0f, 10.0f, 0.7f, 60, 70, 0)});
    GameHistory[1].flagging = 1;
    const int32_t expected[3] = {0, 0, 1};
    for (const auto& q : kNamed)
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ(q.best[s](1), expected[s]) << int(q.measure) << " selection " << s;
}

TEST_F(PersonalRecords, EqualBestValuesGiveTheEarlierRecord) {
    LoadHistory({Scored(2, 50, 0, 1.0f, 50.0f, 0.5f, 100, 100, 0),
                 Scored(2, 40, 10, 2.5f, 20.0f, 0.9f, 100, 50, 0),
                 Scored(2, 40, 10, 2.5f, 20.0f, 0.9f, 100, 50, 0)});
    for (M m : kMeasures)
        EXPECT_EQ(BestRecordIndex(2, S::All, m), 1) << int(m);
}

TEST_F(PersonalRecords, ValuesNoBetterThanTheStartValueAreNeverBest) {
    // 999.99 s, 3BV/s 0, RQP 999.99, IOS 0 and a record without clicks (IOE 0).
    LoadHistory({Scored(1, 999, 99, 0.0f, 999.99f, 0.0f, 50, 0, 0)});
    for (M m : kMeasures)
        EXPECT_EQ(BestRecordIndex(1, S::All, m), kRecordNone) << int(m);
}

TEST_F(PersonalRecords, BeginnerHasNoIOSRecords) {
    LoadHistory(std::vector<TGameRecord>(30, Scored(0, 5, 0, 2.0f, 3.0f, 1.5f, 10, 10, 0)));
    for (S s : kSelections) {
        EXPECT_EQ(BestRecordIndex(0, s, M::IOS), kRecordNone);
        EXPECT_EQ(Top25Average(0, s, M::IOS), 0.0f);
        EXPECT_EQ(Top25AverageByPasses(0, s, M::IOS), 0.0f);
    }
    EXPECT_EQ(BestRecordPage(0)[3][0], kRecordNone);
    EXPECT_EQ(Top25AveragePage(0)[3][0], 0.0f);
    EXPECT_EQ(BestRecordIndex(0, S::All, M::Time), 0) << "other measures still answer";
}

TEST_F(PersonalRecords, FlagSelectionsNeverCrossOver) {
    LoadHistory(
        {Scored(2, 60, 0, 2.0f, 30.0f, 0.8f, 120, 100, 0), Scored(2, 90, 0, 1.5f, 60.0f, 0.7f, 120, 90, 9)});
    for (M m : kMeasures) {
        EXPECT_EQ(BestRecordIndex(2, S::Flag, m), 1) << int(m);
        EXPECT_EQ(BestRecordIndex(2, S::NoFlag, m), 0) << int(m);
    }
}

TEST_F(PersonalRecords, RecordIOEDividesBy3BVByAllClicks) {
    TGameRecord r = Scored(1, 10, 0, 1, 1, 1, 90, 50, 20);
    r.doubleClicks = 30;
    LoadHistory({r, Scored(1, 10, 0, 1, 1, 1, 90, 0, 0)});
    EXPECT_FLOAT_EQ(RecordIOE(0), 0.9f);
    EXPECT_EQ(RecordIOE(1), 0.0f);
    EXPECT_EQ(BestIOEIndex(1), 0);
}

// Fills one level with n records of distinct values; record k has time 10 + k s,
// 3BV/s 1 + k, RQP 5 + k, IOS 0.5 + k / 100, IOE (k + 1) / 1.
std::vector<TGameRecord> Ladder(uint8_t level, int n) {
    std::vector<TGameRecord> out;
    for (int k = 0; k < n; ++k)
        out.push_back(Scored(level, static_cast<uint16_t>(10 + k), 0, 1.0f + k, 5.0f + k, 0.5f + k / 100.0f,
                             static_cast<uint16_t>(k + 1), 1, 0));
    return out;
}

TEST_F(PersonalRecords, TwentyFourQualifyingRecordsGiveTheIncompleteValue) {
    const struct {
        M measure;
        float with24;
        float with30; // mean of the 25 best of the ladder of 30
    } cases[] = {
        {M::Time, 999.99f, 22.0f}, // 10 .. 34
        {M::BBBVs, 0.0f, 18.0f},   // 30 .. 6
        {M::RQP, 999.99f, 17.0f},  // 5 .. 29
        {M::IOS, 0.0f, 0.67f},     // 0.79 .. 0.55
        {M::IOE, 0.0f, 18.0f},     // 30 .. 6
    };
    for (const auto& c : cases) {
        LoadHistory(Ladder(1, 24));
        EXPECT_EQ(Top25Average(1, S::All, c.measure), c.with24) << int(c.measure);
        LoadHistory(Ladder(1, 30));
        EXPECT_NEAR(Top25Average(1, S::All, c.measure), c.with30, 1e-4) << int(c.measure);
        EXPECT_EQ(Top25Average(1, S::All, c.measure), Top25AverageByPasses(1, S::All, c.measure));
    }
}

TEST_F(PersonalRecords, TopAverageTakesRecordsWithoutClicksLastAsZero) {
    std::vector<TGameRecord> records = Ladder(2, 24); // IOE 1 .. 24
    records.push_back(Scored(2, 10, 0, 1, 1, 1, 50, 0, 0));
    records.push_back(Scored(2, 10, 0, 1, 1, 1, 50, 0, 0));
    LoadHistory(records);
    EXPECT_FLOAT_EQ(Top25AvgIOE(2), 300.0f / 25); // 1 + .. + 24 + 0
    EXPECT_EQ(BestIOEIndex(2), 23);
}

TEST_F(PersonalRecords, TopAverageOfTimeCountsTheHundredths) {
    LoadHistory(std::vector<TGameRecord>(25, Game(0, 3, 25)));
    EXPECT_FLOAT_EQ(Top25AvgTime(0), 3.25f);
}

// A table with many equal values, gaps between levels, values at and beyond the start values,
// negative and NaN floats: the cases where a faster selection could part from the passes.
void LoadRandomTable(uint32_t seed, int size) {
    RandomSeed = seed;
    std::vector<TGameRecord> records;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int i = 0; i < size; ++i) {
        const uint8_t level = static_cast<uint8_t>(Random(3));
        TGameRecord r = Game(level, static_cast<uint16_t>(Random(4) == 0 ? 999 : 5 + Random(20)),
                             static_cast<uint8_t>(Random(4) == 0 ? 99 : Random(100)));
        r.bbbvsExact = Random(10) == 0 ? 0.0f : static_cast<float>(Random(50)) / 7.0f;
        r.rqp =
            Random(10) == 0 ? 999.99f : (Random(20) == 0 ? 1500.0f : static_cast<float>(Random(40)) / 3.0f);
        r.ios = Random(15) == 0 ? nan : (Random(15) == 0 ? -0.5f : static_cast<float>(Random(30)) / 31.0f);
        r.bbbv = static_cast<uint16_t>(Random(200));
        r.leftClicks = static_cast<uint16_t>(Random(5) == 0 ? 0 : Random(100));
        r.rightClicks = static_cast<uint16_t>(Random(2) == 0 ? 0 : Random(30));
        r.doubleClicks = static_cast<uint16_t>(Random(3) == 0 ? 0 : Random(20));
        records.push_back(r);
    }
    LoadHistory(records);
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(PersonalRecords, SinglePassTopAverageEqualsTheTwentyFivePasses) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        LoadRandomTable(seed * 7919u, static_cast<int>(20 + seed * 9));
        for (uint8_t level = 0; level < 3; ++level) {
            const TRecordAveragePage page = Top25AveragePage(level);
            for (int m = 0; m < 5; ++m)
                for (int s = 0; s < 3; ++s) {
                    const float literal = Top25AverageByPasses(level, kSelections[s], kMeasures[m]);
                    const float fast = Top25Average(level, kSelections[s], kMeasures[m]);
                    EXPECT_TRUE(SameBits(fast, literal))
                        << "seed " << seed << " level " << int(level) << " measure " << m << " selection "
                        << s << ": " << fast << " vs " << literal;
                    EXPECT_TRUE(SameBits(page[m][s], literal)) << "page, seed " << seed;
                }
        }
    }
}

TEST_F(PersonalRecords, BestPageEqualsTheSingleQueries) {
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        LoadRandomTable(seed, 300);
        for (uint8_t level = 0; level < 3; ++level) {
            const TRecordIndexPage page = BestRecordPage(level);
            for (int m = 0; m < 5; ++m)
                for (int s = 0; s < 3; ++s)
                    EXPECT_EQ(page[m][s], BestRecordIndex(level, kSelections[s], kMeasures[m]))
                        << "seed " << seed << " level " << int(level) << " measure " << m << " selection "
                        << s;
        }
    }
}

TEST_F(PersonalRecords, ScoreToStrWritesThreeDecimalsWithTheChosenSeparator) {
    const struct {
        long double value;
        const char* dot;
        const char* comma;
    } cases[] = {
        {42.35L, "42.350", "42,350"},      {999, "999.000", "999,000"}, {0, "0.000", "0,000"},
        {1.0625L, "1.063", "1,063"},       {0.0004L, "0.000", "0,000"}, {9.9996L, "10.000", "10,000"},
        {1234.5L, "1234.500", "1234,500"}, {-2.5L, "-2.500", "-2,500"}, {-0.0001L, "0.000", "0,000"},
        {-1.0625L, "-1.063", "-1,063"}, // halves away from zero, as the counters round them
    };
    for (const auto& c : cases) {
        Options.doDotSeparator = true;
        EXPECT_EQ(ScoreToStr(c.value), c.dot);
        Options.doDotSeparator = false;
        EXPECT_EQ(ScoreToStr(c.value), c.comma);
    }
}

} // namespace
} // namespace quorlet::test
