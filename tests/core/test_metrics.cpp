// Board metrics over small boards written as strings ('*' a mine, '.' a safe cell).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/generation.h"
#include "core/metrics.h"
#include "core/random.h"
#include "test_metrics_fixture.h"
#include "testutil.h"

namespace quorlet {
namespace {

using test::LoadBoard;

class MetricsTest : public test::EngineTest {};

struct TMetricsCase {
    const char* name;
    const char* board;
    int bbbv;
    int openings;
    int islands;
};

// Expected values worked out by hand from the rules (3BV = openings + safe cells outside them).
const TMetricsCase kMetricsCases[] = {
    // Every safe cell touches a mine: no opening, 3BV counts each safe cell.
    {"NoZeros", "*.*\n.*.\n*.*", 4, 0, 1},
    // One mine in a corner: the rest is a single opening.
    {"OneOpeningCoversAll", "*...\n....\n....\n....", 1, 1, 0},
    // Two openings sharing the centre 2: all safe cells lie in an opening.
    {"NumberBetweenTwoOpenings", "..*\n...\n*..", 2, 2, 0},
    // Four lone numbers not touching each other, not even diagonally.
    {"SeparateIslands", "*.*.\n****\n.*.*", 4, 0, 4},
    // Openings in the two bottom corners and four lone numbers; (2,0) and (2,1) make one island.
    {"OpeningsAndLoneCells", ".*.*.\n.....\n..*..", 6, 2, 3},
    {"AllMinesButOne", "***\n*.*\n***", 1, 0, 1},
};

class MetricsCaseTest : public MetricsTest, public ::testing::WithParamInterface<TMetricsCase> {};

TEST_P(MetricsCaseTest, Computes3BVOpeningsAndIslands) {
    const TMetricsCase& tc = GetParam();
    LoadBoard(tc.board);
    EXPECT_EQ(Board3BV, tc.bbbv);
    EXPECT_EQ(GetBoard3BV(), tc.bbbv);
    EXPECT_EQ(Openings, tc.openings);
    EXPECT_EQ(CountIslands(), tc.islands);
}

INSTANTIATE_TEST_SUITE_P(Boards, MetricsCaseTest, ::testing::ValuesIn(kMetricsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MetricsTest, WorkBoardCountsOpeningsReachingEachCell) {
    LoadBoard("..*\n...\n*..");
    // The centre 2 borders both openings; each corner zero and border number belongs to one.
    EXPECT_EQ(WorkBoard[1][1], 2);
    EXPECT_EQ(WorkBoard[0][0], 1);
    EXPECT_EQ(WorkBoard[1][0], 1);
    EXPECT_EQ(WorkBoard[2][2], 1);
    EXPECT_EQ(WorkBoard[2][0], 0); // mine
    EXPECT_EQ(WorkBoard[0][2], 0); // mine
}

TEST_F(MetricsTest, WorkBoardIsZeroForCellsOfNoOpening) {
    LoadBoard("*.*\n.*.\n*.*");
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            EXPECT_EQ(WorkBoard[c][r], 0) << c << "," << r;
}

TEST_F(MetricsTest, Calc3BVIgnoresStaleWorkBoardAndCellsOutsideTheBoard) {
    // Leftovers of a bigger board must not count or block an opening.
    for (auto& column : WorkBoard)
        column.fill(7);
    for (auto& column : HiddenBoard)
        column.fill(0);
    LoadBoard("*...\n....\n....\n....");
    EXPECT_EQ(Board3BV, 1);
    EXPECT_EQ(Openings, 1);
}

TEST_F(MetricsTest, FullSizeBoardOfOneOpeningFloodsWithoutOverflow) {
    std::string text;
    for (int r = 0; r < kMaxRows; ++r) {
        if (r > 0) text += '\n';
        text += std::string(kMaxColumns, '.');
    }
    text[0] = '*';
    LoadBoard(text);
    EXPECT_EQ(Board3BV, 1);
    EXPECT_EQ(Openings, 1);
    EXPECT_EQ(CountIslands(), 0);
}

TEST_F(MetricsTest, IslandCellsTouchingDiagonallyFormOneIsland) {
    // The safe cells (1,0) and (2,1) touch only at a corner; neither touches a zero.
    LoadBoard("*.**\n**.*\n****");
    EXPECT_EQ(CountIslands(), 1);
}

TEST_F(MetricsTest, NumberTouchingAZeroIsNoIsland) {
    LoadBoard("*..\n...\n...");
    EXPECT_EQ(CountIslands(), 0);
}

struct TEstimateCase {
    uint8_t level;
    long double expected;
};

TEST_F(MetricsTest, EstimateTimeUsesTheLevelRates) {
    // 3BV 10, 20 number cells (1..8), 2 openings; zeros do not count as number cells.
    const TEstimateCase cases[] = {
        {glBeginner, 10 * 0.43L + 20 * 0.07L + 2 * 2.27L},
        {glIntermediate, 10 * 0.32L + 20 * 0.2L + 2 * 1.38L},
        {glExpert, 10 * 0.23L + 20 * 0.38L + 2 * 0.99L},
        {glCustom, 0},
    };
    for (const auto& tc : cases) {
        GameLevel = tc.level;
        Board3BV = 10;
        Openings = 2;
        NumberCellCounts = {50, 12, 5, 2, 1, 0, 0, 0, 0};
        TimeEstimate = -1;
        EstimateTime();
        EXPECT_NEAR(static_cast<double>(TimeEstimate), static_cast<double>(tc.expected), 1e-9)
            << int(tc.level);
    }
}

TEST_F(MetricsTest, BoardHasSevenAndEight) {
    struct {
        const char* board;
        bool seven, eight;
    } cases[] = {
        {"***\n*.*\n**.", true, false},
        {"***\n*.*\n***", false, true},
        {"*..\n...\n...", false, false},
    };
    for (const auto& tc : cases) {
        LoadBoard(tc.board);
        EXPECT_EQ(BoardHasSeven(), tc.seven) << tc.board;
        EXPECT_EQ(BoardHasEight(), tc.eight) << tc.board;
    }
}

TEST_F(MetricsTest, BoardHasEightLooksOnlyInsideTheBoard) {
    LoadBoard("*..\n...\n...");
    HiddenBoard[20][20] = 8;
    HiddenBoard[20][21] = 7;
    EXPECT_FALSE(BoardHasEight());
    EXPECT_FALSE(BoardHasSeven());
}

TEST_F(MetricsTest, GenerateRandomBoardNumbersAsTheCellRulesDo) {
    GameLevel = glExpert;
    SetLevelSize(glExpert);
    VisibleBoard[3][3] = csFlag;
    const TBoardLayer visible = VisibleBoard;
    RandomSeed = 42;
    GenerateRandomBoard(99);
    int mines = 0;
    for (uint8_t c = 0; c <= LastColumn; ++c) {
        for (uint8_t r = 0; r <= LastRow; ++r) {
            if (HiddenBoard[c][r] == csMine) {
                ++mines;
                continue;
            }
            EXPECT_EQ(HiddenBoard[c][r], CountAdjacentMines(c, r)) << int(c) << "," << int(r);
        }
    }
    EXPECT_EQ(mines, 99);
    EXPECT_EQ(VisibleBoard, visible);
}

TEST_F(MetricsTest, GenerateRandomBoardDrawsAsPlaceMines) {
    SetLevelSize(glIntermediate);
    RandomSeed = 7;
    GenerateRandomBoard(40);
    const TBoardLayer generated = HiddenBoard;
    const uint32_t seedAfter = RandomSeed;
    RandomSeed = 7;
    PlaceMines(40);
    EXPECT_EQ(RandomSeed, seedAfter);
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            EXPECT_EQ(generated[c][r] == csMine, HiddenBoard[c][r] == csMine);
}

// ---- Against a literal walk of the rules ----

struct TLiteral3BV {
    int bbbv = 0;
    int openings = 0;
    TWorkLayer work{};
};

// Calc3BV as the rules walk it: labels, a recursive flood, then the lone safe cells.
TLiteral3BV Literal3BV() {
    TLiteral3BV out;
    TLayer<int32_t> label{};
    auto inBoard = [](int c, int r) { return c >= 0 && r >= 0 && c <= LastColumn && r <= LastRow; };
    auto flood = [&](auto& self, int c, int r) -> void {
        for (int i = c - 1; i <= c + 1; ++i) {
            for (int j = r - 1; j <= r + 1; ++j) {
                if ((i == c && j == r) || !inBoard(i, j) || HiddenBoard[i][j] == csMine) continue;
                if (label[i][j] == out.openings) continue;
                label[i][j] = out.openings;
                ++out.work[i][j];
                if (HiddenBoard[i][j] == 0) self(self, i, j);
            }
        }
    };
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            if (HiddenBoard[c][r] != 0 || out.work[c][r] != 0) continue;
            ++out.openings;
            ++out.bbbv;
            label[c][r] = out.openings;
            out.work[c][r] = 1;
            flood(flood, c, r);
        }
    }
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            if (HiddenBoard[c][r] != csMine && label[c][r] == 0) ++out.bbbv;
    return out;
}

TEST_F(MetricsTest, FastBoardRoutinesMatchALiteralWalkOfTheRules) {
    // Numbers from the mine bits, 3BV from the mine bits and the layer form of Calc3BV, over
    // boards from 1x1 to 30x30 and from empty to full.
    const int sizes[][2] = {{8, 8}, {16, 16}, {30, 16}, {30, 30}, {8, 30}, {30, 8}, {1, 1}, {2, 30}, {29, 3}};
    const int densities[] = {0, 3, 10, 20, 35, 60, 90, 100};
    RandomSeed = 2718;
    for (const auto& size : sizes) {
        for (int percent : densities) {
            for (int k = 0; k < 6; ++k) {
                SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]) + " " +
                             std::to_string(percent) + "% #" + std::to_string(k));
                LastColumn = static_cast<uint8_t>(size[0] - 1);
                LastRow = static_cast<uint8_t>(size[1] - 1);
                for (auto& column : HiddenBoard)
                    column.fill(csReserved); // outside the board: must be left alone
                TMineBits bits{};
                for (int c = 0; c < size[0]; ++c)
                    for (int r = 0; r < size[1]; ++r)
                        if (static_cast<int>(Random(100)) < percent) bits[c + 1] |= 1u << r;
                WriteNumbers(bits);
                for (int c = 0; c < kMaxColumns; ++c) {
                    for (int r = 0; r < kMaxRows; ++r) {
                        const bool mine = c < size[0] && r < size[1] && ((bits[c + 1] >> r) & 1u);
                        if (c >= size[0] || r >= size[1])
                            ASSERT_EQ(HiddenBoard[c][r], csReserved);
                        else if (mine)
                            ASSERT_EQ(HiddenBoard[c][r], csMine);
                        else
                            ASSERT_EQ(HiddenBoard[c][r],
                                      CountAdjacentMines(static_cast<uint8_t>(c), static_cast<uint8_t>(r)));
                    }
                }
                const TLiteral3BV expected = Literal3BV();
                EXPECT_EQ(Count3BV(bits), expected.bbbv);
                for (auto& column : WorkBoard)
                    column.fill(-5);
                EXPECT_EQ(Calc3BV(), expected.bbbv);
                EXPECT_EQ(Openings, expected.openings);
                for (int c = 0; c < size[0]; ++c)
                    for (int r = 0; r < size[1]; ++r)
                        ASSERT_EQ(WorkBoard[c][r], expected.work[c][r]) << c << "," << r;
            }
        }
    }
}

// ---- 3BV distribution table ----

TEST_F(MetricsTest, DistributionTableListsBinsFromHighestDown) {
    std::array<uint32_t, 60> counts{};
    counts[25] = 12070; // 12.07 % of 100,000
    counts[3] = 290;    // 0.29 %: floating point would truncate this to 0,28
    counts[54] = 100000 - 12070 - 290;
    const std::string text = Format3BVDistributionTable("title", counts.data(), 54, 100000);
    EXPECT_EQ(text, "title\r\n 054  87,64%\r\n 025  12,07%\r\n 003  0,29%\r\n");
}

TEST_F(MetricsTest, DistributionTablePercentsTruncate) {
    std::array<uint32_t, 4> counts{0, 1, 2, 0};
    // 1 of 3 boards is 33.333 %, 2 of 3 is 66.666 %: both cut, not rounded.
    EXPECT_EQ(Format3BVDistributionTable("t", counts.data(), 3, 3), "t\r\n 002  66,66%\r\n 001  33,33%\r\n");
    std::array<uint32_t, 2> all{0, 1000000};
    EXPECT_EQ(Format3BVDistributionTable("t", all.data(), 1, 1000000), "t\r\n 001  100,00%\r\n");
}

TEST_F(MetricsTest, DistributionTableOfNoBoardsHasOnlyTheTitle) {
    std::array<uint32_t, 4> counts{};
    EXPECT_EQ(Format3BVDistributionTable("t", counts.data(), 3, 0), "t\r\n");
}

// The log without time stamps. A multi-line entry keeps its reading order at the top of the
// newest-first log, so after a distribution command the table comes first and the notice last.
std::vector<std::string> LogLines() {
    std::vector<std::string> lines = DebugLogLines;
    for (auto& line : lines)
        if (line.size() >= 13 && line[2] == ':' && line[5] == ':' && line[8] == ':') line.erase(0, 13);
    return lines;
}

TEST_F(MetricsTest, BeginnerDistributionMatchesAnIndependentCount) {
    // Expected counts from a separate, literal re-implementation of placement and 3BV (seed 1).
    DebugWindowOn = 1;
    RandomSeed = 1;
    Calc3BVDistributionBeginner(20);
    const auto log = LogLines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.back(), "please, wait - calculation may take a few minutes");
    EXPECT_EQ(log[0], "3bv distribution table for beginner board calculated (%)");
    const std::vector<std::string> rows(log.begin() + 1, log.end() - 1);
    EXPECT_EQ(rows, (std::vector<std::string>{" 033  5,00%", " 028  5,00%", " 024  5,00%", " 023  5,00%",
                                              " 022  10,00%", " 021  5,00%", " 020  5,00%", " 019  10,00%",
                                              " 017  10,00%", " 016  10,00%", " 015  5,00%", " 013  20,00%",
                                              " 010  5,00%", ""}));
}

TEST_F(MetricsTest, StandardDistributionRestoresLevelSizeAndMinesItFound) {
    struct {
        uint8_t level, lastColumn, lastRow;
        uint16_t mines;
    } cases[] = {
        {glExpert, 29, 15, 99},
        {glBeginner, 7, 7, 10},
        {glCustom, 11, 9, 30},
    };
    for (const auto& tc : cases) {
        GameLevel = tc.level;
        LastColumn = tc.lastColumn;
        LastRow = tc.lastRow;
        MineCount = tc.mines;
        VisibleBoard[0][0] = csFlag;
        Calc3BVDistributionIntermediate(50);
        EXPECT_EQ(GameLevel, tc.level);
        EXPECT_EQ(LastColumn, tc.lastColumn);
        EXPECT_EQ(LastRow, tc.lastRow);
        EXPECT_EQ(MineCount, tc.mines);
        EXPECT_EQ(VisibleBoard[0][0], csCovered); // ClearBoard ran
    }
}

TEST_F(MetricsTest, ExpertDistributionBinsStayWithinTheSafeCells) {
    DebugWindowOn = 1;
    RandomSeed = 99;
    Calc3BVDistributionExpert(200);
    const auto log = LogLines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "3bv distribution table for expert board calculated (%)");
    EXPECT_EQ(log[log.size() - 2], "");
    int total = 0, previousBin = 1000;
    for (size_t i = 1; i + 2 < log.size(); ++i) {
        const std::string& row = log[i];
        ASSERT_EQ(row.substr(0, 1), " ");
        const int bin = std::stoi(row.substr(1, 3));
        EXPECT_LT(bin, previousBin);
        EXPECT_GE(bin, 1);
        EXPECT_LE(bin, 381);
        previousBin = bin;
        const auto comma = row.find(',');
        total += std::stoi(row.substr(6, comma - 6)) * 100 + std::stoi(row.substr(comma + 1, 2));
    }
    // 200 boards: every count is a multiple of 0.5 %, so the percents add up exactly.
    EXPECT_EQ(total, 10000);
}

TEST_F(MetricsTest, CustomDistributionTitleNamesSizeAndMines) {
    DebugWindowOn = 1;
    GameLevel = glCustom;
    LastColumn = 7;
    LastRow = 8;
    MineCount = 70;
    Calc3BVDistributionCustom();
    const auto log = LogLines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "3bv distribution table for custom 8x9, 70 mines board calculated (%)");
    EXPECT_EQ(LastColumn, 7);
    EXPECT_EQ(MineCount, 70);
}

TEST_F(MetricsTest, CustomDistributionWithTooManyMinesEnds) {
    DebugWindowOn = 1;
    GameLevel = glCustom;
    LastColumn = 7;
    LastRow = 7;
    MineCount = 64;
    Calc3BVDistributionCustom();
    const auto log = LogLines();
    ASSERT_GE(log.size(), 3u);
    // One free cell is always left: every board has 3BV 1.
    EXPECT_EQ(log[1], " 001  100,00%");
}

} // namespace
} // namespace quorlet
