// The computed fields of a game record and the history table's end marker.
#include <gtest/gtest.h>

#include <cmath>

#include "core/FData.h"
#include "stats/gamerecord.h"
#include "testutil.h"

namespace quorlet {
namespace {

using GameRecordTest = test::EngineTest;

struct DeriveCase {
    const char* name;
    uint16_t bbbv;
    uint16_t timeSec;
    uint8_t timeHund;
    uint8_t level;
    uint8_t whole;
    uint8_t hund;
    double rqp;
    double ios;
};

TEST_F(GameRecordTest, DeriveRecordFieldsComputesRateRqpAndIos) {
    const DeriveCase cases[] = {
        {"zero time keeps everything 0", 30, 0, 0, 1, 0, 0, 0.0, 0.0},
        {"one second: IOS 0, RQP 2 / rate", 20, 1, 0, 2, 20, 0, 2.0 / 20.0, 0.0},
        {"RQP uses the truncated rate", 10, 3, 0, 0, 3, 33, 4.0 / 3.33, 0.0},
        {"25 in 10.00 s", 25, 10, 0, 0, 2, 50, 11.0 / 2.5, 0.0},
        {"exact quotient 29 in 10.00 s is 2.90", 29, 10, 0, 1, 2, 90, 11.0 / 2.9,
         std::log(29.0) / std::log(10.0)},
        {"exact quotient 57 in 10.00 s is 5.70", 57, 10, 0, 1, 5, 70, 11.0 / 5.7,
         std::log(57.0) / std::log(10.0)},
        {"beginner never has IOS", 10, 5, 50, 0, 1, 81, 6.5 / 1.81, 0.0},
        {"expert with hundredths", 150, 62, 37, 2, 2, 40, 63.37 / 2.40, std::log(150.0) / std::log(62.37)},
        {"rate below 0.01 gives RQP 0", 1, 999, 0, 1, 0, 0, 0.0, 0.0},
        {"no 3BV: IOS of ln 0 is 0", 0, 20, 0, 1, 0, 0, 0.0, 0.0},
        {"rate above 255 keeps the low 8 bits", 300, 1, 0, 1, 300 % 256, 0, 2.0 / 44.0, 0.0},
    };
    for (const DeriveCase& c : cases) {
        SCOPED_TRACE(c.name);
        TGameRecord rec;
        rec.bbbv = c.bbbv;
        rec.timeSec = c.timeSec;
        rec.timeHund = c.timeHund;
        rec.level = c.level;
        DeriveRecordFields(rec);
        EXPECT_EQ(rec.bbbvsWhole, c.whole);
        EXPECT_EQ(rec.bbbvsHund, c.hund);
        EXPECT_NEAR(rec.rqp, c.rqp, 1e-4);
        EXPECT_NEAR(rec.ios, c.ios, 1e-5);
        const double t = c.timeSec + c.timeHund / 100.0;
        EXPECT_NEAR(rec.bbbvsExact, t == 0 ? 0.0 : c.bbbv / t, 1e-3);
    }
}

TEST_F(GameRecordTest, DeriveRecordFieldsWithZeroTimeLeavesRateFieldsAlone) {
    TGameRecord rec;
    rec.bbbv = 10;
    rec.bbbvsWhole = 4;
    rec.bbbvsHund = 7;
    rec.bbbvsExact = 4.07f;
    DeriveRecordFields(rec);
    EXPECT_EQ(rec.bbbvsWhole, 4);
    EXPECT_EQ(rec.bbbvsHund, 7);
    EXPECT_FLOAT_EQ(rec.bbbvsExact, 4.07f);
}

TEST_F(GameRecordTest, FindFreeHistorySlotFindsTheEndMarker) {
    EXPECT_EQ(FindFreeHistorySlot(), 0u);
    GameHistory[0].day = 3;
    GameHistory[1].day = 4;
    EXPECT_EQ(FindFreeHistorySlot(), 2u);
    EXPECT_EQ(HistoryRecordCount(), 2u);
}

TEST_F(GameRecordTest, FullTableReportsNoFreeSlotAndKeepsTheEndSlot) {
    for (uint32_t i = 0; i < kHistoryCapacity; ++i)
        GameHistory[i].day = 1;
    EXPECT_EQ(FindFreeHistorySlot(), kHistoryCapacity);
    EXPECT_EQ(GameHistory[kHistoryCapacity].day, 0);
}

TEST_F(GameRecordTest, ClearGameHistoryZeroesSlotsAndCounts) {
    GameHistory[0].day = 1;
    GameHistory[0].bbbv = 7;
    GameHistory[5].day = 2;
    LevelGameCounts = {1, 2, 3};
    ClearGameHistory();
    EXPECT_EQ(GameHistory[0].day, 0);
    EXPECT_EQ(GameHistory[0].bbbv, 0);
    EXPECT_EQ(GameHistory[5].day, 0);
    EXPECT_EQ(LevelGameCounts, (std::array<uint32_t, 3>{0, 0, 0}));
    EXPECT_EQ(FindFreeHistorySlot(), 0u);
}

} // namespace
} // namespace quorlet
