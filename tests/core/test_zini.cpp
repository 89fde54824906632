// ZiNi over small boards written as strings ('*' a mine, '.' a safe cell).
#include <gtest/gtest.h>

#include <string>

#include "core/board.h"
#include "core/random.h"
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

// ---- Against a literal walk of the rules ----

// ZiNi exactly as the rules walk it: recursion, marks on VisibleBoard, premiums in WorkBoard,
// a full scan for every choice. Slow and plain, to check the fast simulation against. A step
// that neither opens nor flags ends the pass with its clicks taken back, as CalcZiNi does.
namespace literal {

int32_t SafeLeft = 0;
int Flags = 0;

bool In(int c, int r) {
    return c >= 0 && r >= 0 && c <= LastColumn && r <= LastRow;
}

template <typename F> void Block(int c, int r, F f) {
    for (int i = c - 1; i <= c + 1; ++i)
        for (int j = r - 1; j <= r + 1; ++j)
            if (In(i, j)) f(i, j);
}

bool Mine(int c, int r) {
    return HiddenBoard[c][r] == csMine;
}

bool Isolated(int c, int r) {
    bool zero = false;
    Block(c, r, [&](int i, int j) { zero = zero || HiddenBoard[i][j] == 0; });
    return !zero;
}

void SetOpened(int c, int r) {
    VisibleBoard[c][r] = 0;
    ++WorkBoard[c][r];
    if (Isolated(c, r)) Block(c, r, [](int i, int j) { --WorkBoard[i][j]; });
    --SafeLeft;
}

void OpenRegion(int c, int r) {
    if (!In(c, r) || VisibleBoard[c][r] == 1) return;
    --WorkBoard[c][r];
    if (VisibleBoard[c][r] != csCovered) {
        VisibleBoard[c][r] = 1;
        return;
    }
    SetOpened(c, r);
    VisibleBoard[c][r] = 1;
    if (HiddenBoard[c][r] != 0) return;
    static constexpr int kOrder[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                         {0, 1},   {1, -1}, {1, 0},  {1, 1}};
    for (const auto& d : kOrder)
        OpenRegion(c + d[0], r + d[1]);
}

void OpenCell(int c, int r) {
    if (!In(c, r) || Mine(c, r) || VisibleBoard[c][r] != csCovered) return;
    if (HiddenBoard[c][r] != 0) {
        SetOpened(c, r);
        return;
    }
    OpenRegion(c, r);
    for (int i = 0; i <= LastColumn; ++i)
        for (int j = 0; j <= LastRow; ++j)
            if (VisibleBoard[i][j] == 1) VisibleBoard[i][j] = 0;
}

void Click(uint16_t& n, int c, int r) {
    if (!In(c, r)) return;
    ++n;
    OpenCell(c, r);
}

void PlaceFlag(uint16_t& n, int c, int r) {
    if (VisibleBoard[c][r] == csFlag) return;
    ++n;
    ++Flags;
    VisibleBoard[c][r] = csFlag;
    Block(c, r, [](int i, int j) { ++WorkBoard[i][j]; });
}

void FlagMinesAround(uint16_t& n, int c, int r) {
    Block(c, r, [&](int i, int j) {
        if (Mine(i, j)) PlaceFlag(n, i, j);
    });
}

void Chord(uint16_t& n, int c, int r) {
    ++n;
    Block(c, r, [](int i, int j) { OpenCell(i, j); });
}

bool Best(bool openedOnly, int& bc, int& br) {
    int32_t best = -1;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            if (Mine(c, r) || (openedOnly && VisibleBoard[c][r] != 0)) continue;
            if (WorkBoard[c][r] >= 0 && WorkBoard[c][r] > best) {
                best = WorkBoard[c][r];
                bc = c;
                br = r;
            }
        }
    }
    return best >= 0;
}

template <typename Step> void Pass(uint16_t& n, Step step) {
    while (SafeLeft > 0) {
        const int32_t safeBefore = SafeLeft;
        const int flagsBefore = Flags;
        const uint16_t countBefore = n;
        step();
        if (SafeLeft == safeBefore && Flags == flagsBefore) {
            n = countBefore;
            return;
        }
    }
}

void CoverBoard() {
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            VisibleBoard[c][r] = csCovered;
}

void CalcZiNi() {
    GZiNi = HZiNi = 0;
    const TBoardLayer saved = VisibleBoard;
    CoverBoard();
    SafeLeft = (LastColumn + 1) * (LastRow + 1) - MineCount;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            Block(c, r, [&](int i, int j) { WorkBoard[c][r] += !Mine(i, j) && Isolated(i, j); });
            WorkBoard[c][r] -= HiddenBoard[c][r] + 2;
        }
    }
    const TWorkLayer premiums = WorkBoard;
    Pass(GZiNi, [] {
        int c = 0, r = 0;
        if (Best(false, c, r)) {
            if (VisibleBoard[c][r] == csCovered) Click(GZiNi, c, r);
            FlagMinesAround(GZiNi, c, r);
            Chord(GZiNi, c, r);
            return;
        }
        for (int i = 0; i <= LastColumn; ++i)
            for (int j = 0; j <= LastRow; ++j)
                if (!Mine(i, j) && VisibleBoard[i][j] == csCovered &&
                    (HiddenBoard[i][j] == 0 || Isolated(i, j))) {
                    Click(GZiNi, i, j);
                    return;
                }
    });
    CoverBoard();
    WorkBoard = premiums;
    SafeLeft = (LastColumn + 1) * (LastRow + 1) - MineCount;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            if (HiddenBoard[c][r] == 0 && VisibleBoard[c][r] == csCovered) Click(HZiNi, c, r);
    Pass(HZiNi, [] {
        int c = 0, r = 0;
        if (Best(true, c, r)) {
            FlagMinesAround(HZiNi, c, r);
            Chord(HZiNi, c, r);
            return;
        }
        for (int i = 0; i <= LastColumn; ++i)
            for (int j = 0; j <= LastRow; ++j)
                if (!Mine(i, j) && VisibleBoard[i][j] == csCovered && Isolated(i, j)) {
                    Click(HZiNi, i, j);
                    return;
                }
    });
    VisibleBoard = saved;
}

} // namespace literal

// A board of the given size with about percent % mines, numbered by the cell rules.
void RandomBoard(int columns, int rows, int percent) {
    HiddenBoard = {};
    LastColumn = static_cast<uint8_t>(columns - 1);
    LastRow = static_cast<uint8_t>(rows - 1);
    MineCount = 0;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const bool mine = static_cast<int>(Random(100)) < percent;
            HiddenBoard[c][r] = mine ? csMine : csCovered;
            MineCount += mine;
        }
    }
    ComputeNumbers();
}

TEST_F(ZiNiTest, MatchesALiteralWalkOfTheRules) {
    // Sizes from a strip to 30x30, densities from sparse to nearly full; marks on the visible
    // board must come back.
    const int sizes[][2] = {{8, 8}, {16, 16}, {30, 16}, {30, 30}, {8, 30}, {30, 8}, {3, 1}, {1, 9}};
    const int densities[] = {5, 12, 20, 30, 50, 85};
    RandomSeed = 4242;
    int boards = 0;
    for (const auto& size : sizes) {
        for (int percent : densities) {
            for (int k = 0; k < 4; ++k, ++boards) {
                RandomBoard(size[0], size[1], percent);
                VisibleBoard = {};
                VisibleBoard[0][0] = csFlag;
                VisibleBoard[LastColumn][LastRow] = csQuestion;
                const TBoardLayer visible = VisibleBoard;
                const TWorkLayer entry = WorkBoard;
                literal::CalcZiNi();
                const uint16_t greedy = GZiNi, human = HZiNi;
                const TWorkLayer work = WorkBoard;
                WorkBoard = entry;
                CalcZiNi();
                ASSERT_EQ(GZiNi, greedy) << size[0] << "x" << size[1] << " " << percent << "% #" << k;
                ASSERT_EQ(HZiNi, human) << size[0] << "x" << size[1] << " " << percent << "% #" << k;
                ASSERT_EQ(WorkBoard, work) << size[0] << "x" << size[1] << " " << percent << "% #" << k;
                ASSERT_EQ(VisibleBoard, visible);
            }
        }
    }
    EXPECT_EQ(boards, 8 * 6 * 4);
}

TEST_F(ZiNiTest, PremiumsBeyondSixteenBitsGiveTheLiteralResult) {
    // A WorkBoard that Calc3BV did not leave: premiums too large for the compact simulation.
    RandomSeed = 77;
    for (int k = 0; k < 6; ++k) {
        RandomBoard(30, 16, 20);
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                WorkBoard[c][r] += (c * 7 + r * 3 + k) % 5 == 0 ? 40000 : -(c % 3) * 20000;
        const TWorkLayer entry = WorkBoard;
        literal::CalcZiNi();
        const uint16_t greedy = GZiNi, human = HZiNi;
        const TWorkLayer work = WorkBoard;
        WorkBoard = entry;
        CalcZiNi();
        EXPECT_EQ(GZiNi, greedy) << k;
        EXPECT_EQ(HZiNi, human) << k;
        EXPECT_EQ(WorkBoard, work) << k;
    }
}

} // namespace
} // namespace quorlet
