// ZiNi over small boards written as strings ('*' a mine, '.' a safe cell).
#include <gtest/gtest.h>

#include <string>

#include "core/zini.h"
#include "test_metrics_fixture.h"
#include "testutil.h"

namespace quorlet {
namespace {

using test::LoadBoard;

class ZiNiTest : public test::EngineTest {};

struct TZiNiCase {
    const char* name;
    const char* board;
    int greedy;
    int human;
};

const TZiNiCase kZiNiCases[] = {
    // One opening: the human pass clicks it once and is done.
    {"OneOpening", "*...\n....\n....\n....", 1, 1},
    {"OneOpeningWideBoard", "*****\n.....\n.....", 1, 1},
    // Lone numbers that share no mine are cheapest clicked one by one.
    {"LoneNumbersDiagonal", "*.*\n.*.\n*.*", 4, 4},
    // Four corner mines around a ring of numbers (3BV 8). The human pass, worked by hand: click
    // (0,1), flag both left mines, chord (0,1), chord (1,1), click (3,1) = 6 with 2 flags; the
    // greedy pass takes 5.
    {"CornerMines", "*..*\n....\n*..*", 5, 6},
    // Same idea, wider (3BV 10); values from an independent re-implementation of the passes.
    {"CornerPairs", "**..**\n......\n**..**", 7, 9},
    {"TwoOpeningsAndLoneCells", ".*.*.\n.....\n..*..", 6, 6},
};

class ZiNiCaseTest : public ZiNiTest, public ::testing::WithParamInterface<TZiNiCase> {};

TEST_P(ZiNiCaseTest, CountsGreedyAndHumanClicks) {
    const TZiNiCase& tc = GetParam();
    LoadBoard(tc.board);
    CalcZiNi();
    EXPECT_EQ(GZiNi, tc.greedy);
    EXPECT_EQ(HZiNi, tc.human);
}

INSTANTIATE_TEST_SUITE_P(Boards, ZiNiCaseTest, ::testing::ValuesIn(kZiNiCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZiNiTest, MarksOnTheVisibleBoardSurvive) {
    LoadBoard("*..*\n....\n*..*");
    VisibleBoard[0][0] = csFlag;
    VisibleBoard[1][1] = csQuestion;
    VisibleBoard[2][2] = csPressedQuestion;
    VisibleBoard[25][25] = csMine; // outside the board: untouched as well
    const TBoardLayer before = VisibleBoard;
    CalcZiNi();
    EXPECT_EQ(VisibleBoard, before);
}

TEST_F(ZiNiTest, StartsAgainFromZeroOnEachCall) {
    LoadBoard("*..*\n....\n*..*");
    CalcZiNi();
    LoadBoard("*...\n....\n....\n....");
    CalcZiNi();
    EXPECT_EQ(GZiNi, 1);
    EXPECT_EQ(HZiNi, 1);
}

TEST_F(ZiNiTest, PassEndsWhenAStepChangesNothing) {
    // A premium no step can use up (a WorkBoard not left by Calc3BV) would pick the same opened
    // cell for ever; the pass must end instead.
    LoadBoard("*..*\n....\n*..*");
    WorkBoard[1][1] = 1000;
    CalcZiNi();
    EXPECT_GT(GZiNi, 0);
    EXPECT_LT(GZiNi, 100);
    EXPECT_LT(HZiNi, 100);
}

TEST_F(ZiNiTest, MineCountDisagreeingWithTheBoardCannotHangAPass) {
    LoadBoard("*..*\n....\n*..*");
    MineCount = 2; // the board holds 4
    CalcZiNi();
    EXPECT_EQ(GZiNi, 5);
    EXPECT_EQ(HZiNi, 6);
}

} // namespace
} // namespace quorlet
