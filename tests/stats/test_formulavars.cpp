#include <cmath>
#include <string>

#include "core/FData.h"
#include "stats/FMath.h"
#include "stats/gamerecord.h"
#include "testutil.h"

namespace quorlet {
namespace {

// An Intermediate game in progress at 12.34 s, half of its 3BV solved.
class FormulaVariableTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        GameLevel = glIntermediate;
        LastColumn = LastRow = 15;
        MineCount = 40;
        GameClock = {12, 34};
        Board3BV = 50;
        Solved3BV = 25;
        LeftClicks = 30;
        RightClicks = 5;
        DoubleClicks = 2;
        CellsOpenedByLeft = 20;
        FlagsOnMines = 4;
        ChordsThatOpened = 1;
        Openings = 7;
        Islands = 3;
        OpenedOpenings = 2;
        FlagsPlaced = 6;
        TimeEstimate = 80.5L;
        GZiNi = 44;
        HZiNi = 40;
        MousePathLength = 1234.9L;
        LevelGameCounts = {1, 9, 2};
        for (int n = 0; n <= 8; ++n) {
            NumberCellCounts[n] = static_cast<uint16_t>(10 + n);
            OpenedNumberCounts[n] = static_cast<uint16_t>(n);
        }
    }
    static long double Value(const std::string& name) {
        const long double v = EvaluateFormula(name + "=");
        EXPECT_FALSE(FormulaEvalError) << name;
        return v;
    }
};

struct TVariableCase {
    const char* name;
    long double playing; // before the game is shown
    long double shown;   // once the game is over
};
void PrintTo(const TVariableCase& c, std::ostream* os) {
    *os << c.name;
}

class FormulaVariableValueTest : public FormulaVariableTest,
                                 public ::testing::WithParamInterface<TVariableCase> {};

TEST_P(FormulaVariableValueTest, HidesBoardFactsUntilTheGameIsShown) {
    const TVariableCase& c = GetParam();
    EXPECT_NEAR(static_cast<double>(Value(c.name)), static_cast<double>(c.playing), 1e-9);
    GameOver = 1;
    EXPECT_NEAR(static_cast<double>(Value(c.name)), static_cast<double>(c.shown), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    LiveGame, FormulaVariableValueTest,
    ::testing::Values(
        TVariableCase{"E", std::exp(1.0L), std::exp(1.0L)}, TVariableCase{"TIME", 12.34L, 12.34L},
        TVariableCase{"TIMEREAL", 12.34L, 12.34L}, TVariableCase{"TIMERECORDERSTYLE", 13.34L, 13.34L},
        TVariableCase{"TIMEEST", 0, 24.68L}, TVariableCase{"TIMEESTREAL", 24.68L, 24.68L},
        TVariableCase{"TIMEESTRECORDERSTYLE", 25.68L, 25.68L}, TVariableCase{"BBBV", 0, 50},
        TVariableCase{"BBBVDONE", 0, 25}, TVariableCase{"GZINI", 44, 44}, TVariableCase{"HZINI", 40, 40},
        TVariableCase{"IOS", 0, 0}, TVariableCase{"RQP", 0, 0}, TVariableCase{"LCLK", 30, 30},
        TVariableCase{"RCLK", 5, 5}, TVariableCase{"DCLK", 2, 2}, TVariableCase{"TOTALCLK", 37, 37},
        TVariableCase{"LEFF", 0, 20}, TVariableCase{"REFF", 0, 4}, TVariableCase{"DEFF", 0, 1},
        TVariableCase{"TOTALEFF", 0, 25}, TVariableCase{"TOTALGAMES", 9, 9}, TVariableCase{"OPENINGS", 0, 7},
        TVariableCase{"ISLANDS", 0, 3}, TVariableCase{"OPENINGSDONE", 2, 2}, TVariableCase{"FLAGSUSED", 6, 6},
        TVariableCase{"LEVEL", 2, 2}, TVariableCase{"OBV", 80.5L, 80.5L},
        TVariableCase{"AVGOBV", 62.5L, 62.5L}, TVariableCase{"CELL0", 0, 10}, TVariableCase{"CELL8", 0, 18},
        TVariableCase{"DONECELL0", 0, 0}, TVariableCase{"DONECELL8", 8, 8}, TVariableCase{"MINES", 40, 40},
        TVariableCase{"DX", 16, 16}, TVariableCase{"DY", 16, 16}, TVariableCase{"MODE", 2, 2},
        TVariableCase{"PATH", 1234, 1234}, TVariableCase{"RANKTIME", 0, 0}, TVariableCase{"GLRANKIOS", 0, 0},
        TVariableCase{"RPI", 0, 0}, TVariableCase{"GLOBRPI", 0, 0}));

TEST_F(FormulaVariableTest, NamesAreWholeAndCaseInsensitive) {
    EXPECT_EQ(EvaluateFormula("lclk+Dx="), 46);
    EXPECT_EQ(EvaluateFormula("CELL9="), 0);
    EXPECT_TRUE(FormulaEvalError);
    EXPECT_EQ(EvaluateFormula("TIMES="), 0);
    EXPECT_TRUE(FormulaEvalError);
}

TEST_F(FormulaVariableTest, RecorderStyleAddsASecondToShownTimes) {
    Options.doRecorderStyleTimer = true;
    GameOver = 1;
    EXPECT_NEAR(static_cast<double>(Value("TIME")), 13.34, 1e-9);
    EXPECT_NEAR(static_cast<double>(Value("TIMEREAL")), 12.34, 1e-9);
    EXPECT_NEAR(static_cast<double>(Value("TIMEEST")), 25.68, 1e-9);
    EXPECT_NEAR(static_cast<double>(Value("TIMEESTREAL")), 24.68, 1e-9);
}

TEST_F(FormulaVariableTest, EstimateIs999Point99WithoutPace) {
    GameOver = 1;
    for (auto [solved, seconds] : {std::pair<uint16_t, uint16_t>{0, 12}, {25, 0}}) {
        Solved3BV = solved;
        GameClock = {seconds, 0};
        for (const char* name : {"TIMEEST", "TIMEESTREAL", "TIMEESTRECORDERSTYLE"})
            EXPECT_NEAR(static_cast<double>(Value(name)), 999.99, 1e-9) << name;
    }
}

TEST_F(FormulaVariableTest, ShowingBoardFactsOptionOrReplayShowsTheGame) {
    Options.doShow3BVAfterGameStart = true;
    EXPECT_EQ(Value("BBBV"), 50);
    Options.doShow3BVAfterGameStart = false;
    ReplayMode = 1;
    EXPECT_EQ(Value("OPENINGS"), 7);
}

TEST_F(FormulaVariableTest, CustomLevelHasNoModeAverageOrGameCount) {
    GameLevel = glCustom;
    Solved3BV = Board3BV;
    for (const char* name : {"MODE", "AVGOBV", "TOTALGAMES", "RPI", "GLOBRPI"})
        EXPECT_EQ(Value(name), 0) << name;
    EXPECT_EQ(Value("LEVEL"), 4);
    // No record has the Custom level, so nothing ranks above the game.
    EXPECT_EQ(Value("RANKTIME"), 1);
}

TEST_F(FormulaVariableTest, WonGameGetsIosAndRqp) {
    Solved3BV = Board3BV;
    EXPECT_NEAR(static_cast<double>(Value("RQP")), 13.34 / (50 / 12.34), 1e-9);
    EXPECT_NEAR(static_cast<double>(Value("IOS")), std::log(50.0) / std::log(12.34), 1e-9);
    GameClock = {9, 99};
    EXPECT_EQ(Value("IOS"), 0);
}

TGameRecord Record(uint8_t level, uint16_t seconds, uint8_t hundredths, uint16_t bbbv, uint8_t flagging) {
    TGameRecord r;
    r.day = 1;
    r.level = level;
    r.timeSec = seconds;
    r.timeHund = hundredths;
    r.bbbv = bbbv;
    r.flagging = flagging;
    DeriveRecordFields(r);
    return r;
}

// The won game: Intermediate, 100 3BV in 20.50 s with flags. Records A (flags, better at
// everything), B (no flags, the same time and speed), C (flags, worse), F (no flags, better).
class FormulaRankTest : public FormulaVariableTest {
  protected:
    void SetUp() override {
        FormulaVariableTest::SetUp();
        GameClock = {20, 50};
        Board3BV = Solved3BV = 100;
        RightClicks = 3;
        GameHistory[0] = Record(glIntermediate, 18, 0, 100, 1);
        GameHistory[1] = Record(glExpert, 10, 0, 200, 1);
        GameHistory[2] = Record(glIntermediate, 20, 50, 100, 0);
        GameHistory[3] = Record(glIntermediate, 25, 0, 90, 1);
        GameHistory[4] = Record(glBeginner, 5, 0, 20, 1);
        GameHistory[5] = Record(glIntermediate, 19, 0, 100, 0);
        LevelGameCounts = {1, 4, 1};
    }
};

TEST_F(FormulaRankTest, RanksCountBetterRecordsOfTheLevel) {
    const struct {
        const char* name;
        long double rank;
    } cases[] = {
        {"RANKTIME", 2},  {"GLRANKTIME", 3}, {"RANKBBBVS", 2}, {"GLRANKBBBVS", 3}, {"RANKRQP", 2},
        {"GLRANKRQP", 3}, {"RANKIOS", 2},    {"GLRANKIOS", 4}, {"RPI", 75},        {"GLOBRPI", 50},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Value(c.name), c.rank) << c.name;
}

// The current game's 3BV/s is taken in the record's exact integers: 7 in 1.25 s is 5.60 both
// ways, so the game's own record is not better than the game (the float recipe gave 5.59).
TEST_F(FormulaRankTest, RecordEqualToTheGameIsNotBetter) {
    GameClock = {1, 25};
    Board3BV = Solved3BV = 7;
    GameHistory[0] = Record(glIntermediate, 1, 25, 7, 1);
    GameHistory[1].day = 0;
    LevelGameCounts = {0, 1, 0};
    for (const char* name : {"RANKBBBVS", "GLRANKBBBVS"})
        EXPECT_EQ(Value(name), 1) << name;
    EXPECT_EQ(Value("RPI"), 100);
    EXPECT_EQ(Value("GLOBRPI"), 100);
}

TEST_F(FormulaRankTest, ScanStopsAtTheEndOfTheTable) {
    GameHistory[2].day = 0;
    EXPECT_EQ(Value("GLRANKTIME"), 2);
}

TEST_F(FormulaRankTest, BestGameScoresRpi100) {
    GameClock = {15, 0};
    EXPECT_EQ(Value("RPI"), 100);
    EXPECT_EQ(Value("GLOBRPI"), 100);
}

// The IOS ranks take the current IOS from 9 s on, a second before the IOS variable does.
TEST_F(FormulaRankTest, IosRankThresholdIsNineSeconds) {
    GameClock = {8, 99};
    EXPECT_EQ(Value("RANKIOS"), 3); // current IOS 0: both flagged records match or beat it
    GameClock = {9, 50};
    EXPECT_EQ(Value("IOS"), 0);
    EXPECT_EQ(Value("RANKIOS"), 1); // ln 100 / ln 9.5 beats both
}

TEST_F(FormulaRankTest, BeginnerHasNoIosRank) {
    GameLevel = glBeginner;
    EXPECT_EQ(Value("RANKIOS"), 0);
    EXPECT_EQ(Value("GLRANKIOS"), 0);
    // Only the Beginner record of 5.00 s takes part.
    EXPECT_EQ(Value("GLRANKTIME"), 2);
}

TEST_F(FormulaRankTest, GameAtTimeZeroTakesTheSlowestSpeedValues) {
    GameClock = {0, 0};
    // 3BV/s 999.99 beats every record; RQP 999 is beaten or matched by every record.
    EXPECT_EQ(Value("GLRANKBBBVS"), 1);
    EXPECT_EQ(Value("GLRANKRQP"), 5);
}

} // namespace
} // namespace quorlet
