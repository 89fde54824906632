// Mine placement and the first-click board generation.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/generation.h"
#include "core/metrics.h"
#include "core/random.h"
#include "core/uihooks.h"
#include "test_metrics_fixture.h"
#include "testutil.h"

namespace quorlet {
namespace {

class GenerationTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Options.BegName = "Beg";
        Options.IntName = "Int";
        Options.ExpName = "Exp";
        Options.CusName = "Cus";
        WaitingFirstClick = 1;
    }

    static void SetBoard(uint8_t level, uint8_t lastColumn, uint8_t lastRow, uint16_t mines) {
        GameLevel = level;
        LastColumn = lastColumn;
        LastRow = lastRow;
        MineCount = mines;
    }

    static int MinesOnBoard() {
        int mines = 0;
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                mines += HiddenBoard[c][r] == csMine;
        return mines;
    }

    // The log without time stamps, newest first.
    static std::vector<std::string> Log() {
        std::vector<std::string> lines = DebugLogLines;
        for (auto& line : lines)
            if (line.size() >= 13 && line[2] == ':' && line[5] == ':' && line[8] == ':') line.erase(0, 13);
        return lines;
    }

    static bool LogHas(const std::string& text) {
        const auto log = Log();
        return std::find(log.begin(), log.end(), text) != log.end();
    }

    static bool LogHasPrefix(const std::string& prefix) {
        for (const auto& line : Log())
            if (line.rfind(prefix, 0) == 0) return true;
        return false;
    }
};

uint32_t Fnv1a(const std::string& bytes) {
    uint32_t h = 2166136261u;
    for (unsigned char b : bytes)
        h = (h ^ b) * 16777619u;
    return h;
}

// ---- Placement ----

TEST_F(GenerationTest, PlaceMinesKeepsMarksAndCoversEverythingElse) {
    SetBoard(glBeginner, 7, 7, 10);
    VisibleBoard[0][0] = csFlag;
    VisibleBoard[1][0] = csQuestion;
    VisibleBoard[2][0] = csPressedQuestion;
    VisibleBoard[3][0] = 4;
    VisibleBoard[4][0] = csPressedCovered;
    VisibleBoard[5][0] = csMine;
    HiddenBoard[6][6] = 3; // a number from the last game goes too
    RandomSeed = 3;
    PlaceMines(10);
    EXPECT_EQ(MinesOnBoard(), 10);
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(VisibleBoard[1][0], csQuestion);
    EXPECT_EQ(VisibleBoard[2][0], csPressedQuestion);
    for (int c = 3; c <= 5; ++c)
        EXPECT_EQ(VisibleBoard[c][0], csCovered) << c;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            EXPECT_TRUE(HiddenBoard[c][r] == csMine || HiddenBoard[c][r] == csCovered);
}

TEST_F(GenerationTest, PlaceMinesWithMoreMinesThanCellsLeavesOneFreeAndLogs) {
    DebugWindowOn = 1;
    SetBoard(glCustom, 7, 7, 64);
    PlaceMines(200);
    EXPECT_EQ(MinesOnBoard(), 63);
    EXPECT_TRUE(LogHas("fatal error: can not generate board"));
}

TEST_F(GenerationTest, PlacementDrawsColumnThenRowByRandom) {
    // Each try is Random(columns) then Random(rows), drawn again on a mine, exactly as the
    // generator's own calls would run; boards are reproducible from the seed only so.
    const struct {
        uint8_t lastColumn, lastRow;
        uint16_t mines;
    } cases[] = {{7, 7, 10}, {15, 15, 40}, {29, 15, 99}, {29, 29, 800}, {7, 29, 100}, {0, 9, 5}};
    for (const auto& tc : cases) {
        SetBoard(glCustom, tc.lastColumn, tc.lastRow, tc.mines);
        for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 20261210u}) {
            RandomSeed = seed;
            TBoardLayer expected{};
            for (int n = 0; n < tc.mines;) {
                const uint32_t c = Random(tc.lastColumn + 1u);
                const uint32_t r = Random(tc.lastRow + 1u);
                if (expected[c][r]) continue;
                expected[c][r] = 1;
                ++n;
            }
            const uint32_t seedAfter = RandomSeed;
            RandomSeed = seed;
            PlaceMines(tc.mines);
            EXPECT_EQ(RandomSeed, seedAfter) << seed;
            for (int c = 0; c <= LastColumn; ++c)
                for (int r = 0; r <= LastRow; ++r)
                    ASSERT_EQ(HiddenBoard[c][r] == csMine, expected[c][r] == 1)
                        << seed << " " << c << "," << r;
        }
    }
}

// ---- Relocation of a mine under the first click ----

struct TRelocationCase {
    uint8_t lastColumn, lastRow;
    uint16_t mines;
    uint32_t seed; // the first placement puts a mine under the click
    uint8_t column, row;
};

TEST_F(GenerationTest, MineUnderTheClickMovesOutOfItsColumnAndRow) {
    const TRelocationCase cases[] = {{7, 7, 10, 14, 0, 0}, {29, 15, 99, 4, 29, 15}};
    for (const auto& tc : cases) {
        SetBoard(glCustom, tc.lastColumn, tc.lastRow, tc.mines);
        RandomSeed = tc.seed;
        PlaceMines(tc.mines);
        ASSERT_EQ(HiddenBoard[tc.column][tc.row], csMine) << tc.seed;
        const TBoardLayer placed = HiddenBoard;
        MoveMineFromClickedCell(tc.column, tc.row);
        EXPECT_EQ(HiddenBoard[tc.column][tc.row], csCovered);
        EXPECT_EQ(MinesOnBoard(), tc.mines);
        int moved = 0;
        for (int c = 0; c <= LastColumn; ++c) {
            for (int r = 0; r <= LastRow; ++r) {
                if (placed[c][r] == csMine || HiddenBoard[c][r] != csMine) continue;
                ++moved;
                EXPECT_NE(c, tc.column);
                EXPECT_NE(r, tc.row);
            }
        }
        EXPECT_EQ(moved, 1);
    }
}

TEST_F(GenerationTest, SafeClickDrawsNothingForRelocation) {
    SetBoard(glBeginner, 7, 7, 10);
    for (auto& column : HiddenBoard)
        column.fill(csCovered);
    RandomSeed = 11;
    MoveMineFromClickedCell(2, 2);
    EXPECT_EQ(RandomSeed, 11u);
}

TEST_F(GenerationTest, DenseBoardWithoutFreeCellOutsideTheClickedLinesStillRelocates) {
    // Only (3,5) is free, in the clicked column: the draws could never succeed.
    SetBoard(glCustom, 7, 7, 63);
    for (auto& column : HiddenBoard)
        column.fill(csMine);
    HiddenBoard[3][5] = csCovered;
    MoveMineFromClickedCell(3, 2);
    EXPECT_EQ(HiddenBoard[3][2], csCovered);
    EXPECT_EQ(HiddenBoard[3][5], csMine);
    EXPECT_EQ(MinesOnBoard(), 63);
}

TEST_F(GenerationTest, DenseBoardPrefersTheFreeCellOutsideTheClickedLines) {
    SetBoard(glCustom, 7, 7, 62);
    for (auto& column : HiddenBoard)
        column.fill(csMine);
    HiddenBoard[3][5] = csCovered; // same column as the click
    HiddenBoard[6][6] = csCovered;
    MoveMineFromClickedCell(3, 2);
    EXPECT_EQ(HiddenBoard[3][2], csCovered);
    EXPECT_EQ(HiddenBoard[6][6], csMine);
    EXPECT_EQ(HiddenBoard[3][5], csCovered);
}

TEST_F(GenerationTest, FirstClickOnANearlyFullCustomBoardEnds) {
    SetBoard(glCustom, 7, 7, 63);
    RandomSeed = 5;
    GenerateFirstClickBoard(4, 4, {});
    EXPECT_NE(HiddenBoard[4][4], csMine);
    EXPECT_EQ(MinesOnBoard(), 63);
    EXPECT_EQ(Board3BV, 1);
    EXPECT_EQ(WaitingFirstClick, 0);
}

// ---- Golden boards ----

struct TGoldenCase {
    uint8_t level, lastColumn, lastRow;
    uint16_t mines;
    uint32_t seed;
    uint8_t column, row;
    uint16_t bbbv;
    uint8_t openings, islands;
    uint16_t gzini, hzini;
    uint32_t seedAfter; // pins the number of draws, so the number of boards made
    uint32_t boardHash; // FNV-1a of BoardString
};

// From a separate, literal re-implementation of the draws, placement, relocation, numbers,
// 3BV, islands and both ZiNi passes (recursive, no shortcuts).
const TGoldenCase kGoldenCases[] = {
    {glBeginner, 7, 7, 10, 12345u, 3, 3, 12, 4, 4, 12, 12, 3799932533u, 0xF97F2403u},
    {glIntermediate, 15, 15, 40, 2026u, 0, 0, 87, 10, 8, 58, 67, 1016106276u, 0x2253888Bu},
    {glExpert, 29, 15, 99, 777u, 15, 8, 181, 7, 6, 120, 131, 115549235u, 0x4D979806u},
    {glExpert, 29, 15, 99, 1u, 0, 0, 183, 12, 7, 118, 121, 353468321u, 0x61317D51u},
    // The first board puts a mine under the click.
    {glBeginner, 7, 7, 10, 14u, 0, 0, 24, 3, 3, 15, 16, 1247365686u, 0x421EBD2Bu},
    {glExpert, 29, 15, 99, 4u, 29, 15, 186, 10, 4, 121, 132, 1903633870u, 0xAFD4862Fu},
    // The first board has 3BV 1, below the Beginner minimum: the second is played.
    {glBeginner, 7, 7, 10, 89381u, 0, 0, 7, 1, 2, 7, 7, 2969353385u, 0x99B7D10Bu},
    {glCustom, 9, 9, 90, 5u, 4, 4, 10, 0, 8, 10, 10, 1974473745u, 0xC1CABEC5u},
};

class GenerationGoldenTest : public GenerationTest, public ::testing::WithParamInterface<TGoldenCase> {};

TEST_P(GenerationGoldenTest, FixedSeedGivesFixedBoardAndMetrics) {
    const TGoldenCase& tc = GetParam();
    SetBoard(tc.level, tc.lastColumn, tc.lastRow, tc.mines);
    RandomSeed = tc.seed;
    GenerateFirstClickBoard(tc.column, tc.row, {});
    EXPECT_EQ(Board3BV, tc.bbbv);
    EXPECT_EQ(Openings, tc.openings);
    EXPECT_EQ(Islands, tc.islands);
    EXPECT_EQ(GZiNi, tc.gzini);
    EXPECT_EQ(HZiNi, tc.hzini);
    EXPECT_EQ(RandomSeed, tc.seedAfter);
    EXPECT_EQ(Fnv1a(BoardString), tc.boardHash);
    EXPECT_NE(HiddenBoard[tc.column][tc.row], csMine);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GenerationGoldenTest, ::testing::ValuesIn(kGoldenCases));

TEST_F(GenerationTest, BeginnerGoldenBoardByHand) {
    SetBoard(glBeginner, 7, 7, 10);
    RandomSeed = 12345;
    GenerateFirstClickBoard(3, 3, {});
    // Checked by hand: openings top left, top right, bottom middle and right middle; 8 safe cells
    // outside them ((3,1) (4,2) (6,2) (0,5) (0,6) (1,7) (7,6) (7,7)) make 3BV 12 and 4 islands.
    EXPECT_EQ(test::HiddenText(), "001*1000\n"
                                  "00223121\n"
                                  "001*3*2*\n"
                                  "1112*221\n"
                                  "*1011100\n"
                                  "22100111\n"
                                  "2*1002*2\n"
                                  "*21002*2");
    const std::string expected = {8, 8, 0, 10, 0, 4, 0, 7, 1, 6, 3, 0, 3, 2, 4, 3, 5, 2, 6, 6, 6, 7, 7, 2};
    EXPECT_EQ(BoardString, expected);
}

// ---- Regeneration until the level's minimum ----

TEST_F(GenerationTest, EachLevelMeetsItsMinimum3BV) {
    struct {
        uint8_t level, lastColumn, lastRow;
        uint16_t mines, minimum;
    } levels[] = {{glBeginner, 7, 7, 10, 2}, {glIntermediate, 15, 15, 40, 30}, {glExpert, 29, 15, 99, 100}};
    for (const auto& lv : levels) {
        for (uint32_t seed = 1; seed <= 30; ++seed) {
            SetBoard(lv.level, lv.lastColumn, lv.lastRow, lv.mines);
            RandomSeed = seed * 7919u;
            GenerateFirstClickBoard(0, 0, {});
            EXPECT_GE(Board3BV, lv.minimum) << int(lv.level) << " seed " << seed;
        }
    }
}

TEST_F(GenerationTest, AFirstBoardBelowTheLevelsMinimumIsDrawnAgain) {
    // Seeds whose first board for a click on (0, 0) falls below the minimum: without the
    // regeneration each level would keep it. Custom keeps its first board, whatever its 3BV.
    struct Case {
        const char* name;
        uint8_t level, lastColumn, lastRow;
        uint16_t mines;
        uint32_t seed;
        uint16_t minimum; // 0: no minimum, the first board stays
        uint16_t firstBelow;
    };
    const Case cases[] = {
        {"Beginner", glBeginner, 7, 7, 10, 89381, 2, 2},
        {"Intermediate", glIntermediate, 15, 15, 40, 15025, 30, 30},
        {"Expert", glExpert, 29, 15, 99, 177473, 100, 100},
        {"Custom of Expert size", glCustom, 29, 15, 99, 177473, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetBoard(c.level, c.lastColumn, c.lastRow, c.mines);
        RandomSeed = c.seed;
        GenerateBoardForClick(0, 0);
        const uint16_t first = Board3BV;
        const uint32_t afterOneBoard = RandomSeed;
        ASSERT_LT(first, c.firstBelow) << "the seed no longer draws a board below the minimum";
        SetBoard(c.level, c.lastColumn, c.lastRow, c.mines);
        RandomSeed = c.seed;
        GenerateFirstClickBoard(0, 0, {});
        if (c.minimum == 0) {
            EXPECT_EQ(RandomSeed, afterOneBoard);
            EXPECT_EQ(Board3BV, first);
        } else {
            EXPECT_NE(RandomSeed, afterOneBoard);
            EXPECT_GE(Board3BV, c.minimum);
        }
    }
}

TEST_F(GenerationTest, MinimumFollowsTheLevelNotTheSize) {
    // An Expert-sized Custom board takes its first board, whatever its 3BV.
    SetBoard(glCustom, 29, 15, 99);
    RandomSeed = 777;
    GenerateBoardForClick(15, 8);
    const uint32_t afterOneBoard = RandomSeed;
    SetBoard(glCustom, 29, 15, 99);
    RandomSeed = 777;
    GenerateFirstClickBoard(15, 8, {});
    EXPECT_EQ(RandomSeed, afterOneBoard);
}

// ---- Search branches ----

TEST_F(GenerationTest, OnlyTheFirstSearchBranchRuns) {
    DebugWindowOn = 1;
    std::vector<std::string> captions;
    UiHooks.SetMainCaption = [&](const std::string& c) { captions.push_back(c); };
    Options.doMustHave7 = true;
    Options.doApprox3BV = true;
    Options.se3BVValue = 5;
    Options.seAttemptsValue = 1;
    SetBoard(glBeginner, 7, 7, 10);
    RandomSeed = 1;
    GenerateFirstClickBoard(0, 0, {});
    const bool found = BoardHasSeven();
    EXPECT_TRUE(LogHasPrefix(found ? "board with \"7\" was generated with "
                                   : "board with \"7\" was not generated with 1000 attempts"));
    EXPECT_FALSE(LogHasPrefix("3bv <="));
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(captions[0], "Minesweeper Quorlet ");
    ASSERT_EQ(captions[1].size(), captions[0].size() + 1 + std::string(" - searching \"7\"").size());
    const char code = captions[1][captions[0].size()];
    EXPECT_GE(code, 2);
    EXPECT_LE(code, 6);
    EXPECT_EQ(captions[1].substr(captions[0].size() + 1), " - searching \"7\"");
    EXPECT_EQ(captions[2], captions[0]);
}

struct TSearchCase {
    const char* name;
    bool seven, eight, atMost, atLeast;
    uint16_t bound;
    uint8_t attempts;
    const char* logLine;
};

// The search draws the caption code first; the seed after that draw, 89381, makes a first
// Beginner board (click at 0,0) of 3BV 1 without a 7 or an 8.
constexpr uint32_t kSearchSeed = 676541908u;
const TSearchCase kSearchCases[] = {
    // Found at once: no minimum 3BV applies in a search, so the 3BV 1 board is played.
    {"AtLeastFoundAtOnce", false, false, false, true, 1, 1, "3bv >= 1 board was generated with 1 attempts"},
    {"AtMostFoundAtOnce", false, false, true, false, 1, 1, "3bv <= 1 board was generated with 1 attempts"},
    // No attempts allowed still makes one board.
    {"ZeroLimitMakesOneBoard", false, false, true, false, 0, 0,
     "3bv <= 0 board was not generated with 1 attempts"},
    {"NotFoundWithinTheLimit", false, false, false, true, 60, 1,
     "3bv >= 60 board was not generated with 1000 attempts"},
    {"EightNotFound", false, true, false, false, 0, 0, "board with \"8\" was not generated with 1 attempts"},
};

class GenerationSearchTest : public GenerationTest, public ::testing::WithParamInterface<TSearchCase> {};

TEST_P(GenerationSearchTest, LogsTheOutcome) {
    const TSearchCase& tc = GetParam();
    DebugWindowOn = 1;
    Options.doMustHave7 = tc.seven;
    Options.doMustHave8 = tc.eight;
    Options.doApprox3BV = tc.atMost;
    Options.doApprox3BV2 = tc.atLeast;
    Options.se3BVValue = tc.bound;
    Options.se3BVValue2 = tc.bound;
    Options.seAttemptsValue = tc.attempts;
    SetBoard(glBeginner, 7, 7, 10);
    RandomSeed = kSearchSeed;
    GenerateFirstClickBoard(0, 0, {});
    EXPECT_TRUE(LogHas(tc.logLine)) << Log().size();
}

INSTANTIATE_TEST_SUITE_P(Branches, GenerationSearchTest, ::testing::ValuesIn(kSearchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GenerationTest, SearchFoundAtOncePlaysTheBoardBelowTheMinimum) {
    Options.doApprox3BV2 = true;
    Options.se3BVValue2 = 1;
    Options.seAttemptsValue = 1;
    SetBoard(glBeginner, 7, 7, 10);
    RandomSeed = kSearchSeed;
    GenerateFirstClickBoard(0, 0, {});
    EXPECT_EQ(Board3BV, 1);
}

TEST_F(GenerationTest, SingleInstanceTitleHasNoTrailingBlank) {
    std::vector<std::string> captions;
    UiHooks.SetMainCaption = [&](const std::string& c) { captions.push_back(c); };
    Options.doProhibitMultInstances = true;
    SetBoard(glBeginner, 7, 7, 10);
    GenerateFirstClickBoard(0, 0, {});
    EXPECT_EQ(captions, std::vector<std::string>{"Minesweeper Quorlet"});
}

// ---- What the first click sets after the board ----

TEST_F(GenerationTest, MarksSurviveAndFlagCountersMatchTheNewBoard) {
    SetBoard(glBeginner, 7, 7, 10);
    VisibleBoard[5][5] = csFlag;
    VisibleBoard[6][6] = csQuestion;
    VisibleBoard[7][7] = csPressedQuestion;
    FlagsPlaced = 1;
    FlagsOnMines = 1; // judged against the previous game's mines
    RandomSeed = 12345;
    GenerateFirstClickBoard(3, 3, {});
    EXPECT_EQ(VisibleBoard[5][5], csFlag);
    EXPECT_EQ(VisibleBoard[6][6], csQuestion);
    EXPECT_EQ(VisibleBoard[7][7], csPressedQuestion);
    EXPECT_EQ(FlagsPlaced, 1);
    // The golden Beginner board has no mine at (5,5).
    EXPECT_EQ(HiddenBoard[5][5], 1);
    EXPECT_EQ(FlagsOnMines, 0);
}

TEST_F(GenerationTest, AutoFlagFlagsEveryMineAndCountsThemOnce) {
    DebugWindowOn = 1;
    Options.doAutoFlag = true;
    SetBoard(glBeginner, 7, 7, 10);
    VisibleBoard[3][0] = csFlag; // on a mine of the golden board: must not count twice
    VisibleBoard[0][0] = csFlag; // on a safe cell: taken away
    FlagsPlaced = 2;
    RandomSeed = 12345;
    GenerateFirstClickBoard(3, 3, {});
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            EXPECT_EQ(VisibleBoard[c][r], HiddenBoard[c][r] == csMine ? csFlag : csCovered);
    EXPECT_EQ(FlagsPlaced, 10);
    EXPECT_EQ(FlagsOnMines, 10);
    EXPECT_TRUE(LogHas("flags auto set complete"));
}

TEST_F(GenerationTest, ShownMinesReplaceEarlyFlagsAndTheFlagCountFollows) {
    Options.doShowMinesPos = true;
    SetBoard(glBeginner, 7, 7, 10);
    VisibleBoard[3][0] = csFlag; // a mine of the golden board: shown as a mine instead
    VisibleBoard[0][0] = csFlag; // a safe cell: stays a flag
    FlagsPlaced = 2;
    FlagsOnMines = 1;
    RandomSeed = 12345;
    GenerateFirstClickBoard(3, 3, {});
    EXPECT_EQ(VisibleBoard[3][0], csMine);
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(FlagsPlaced, 1);
    EXPECT_EQ(FlagsOnMines, 0);
    // Flagging the shown mine again counts one flag more, not two.
    CycleMark(3, 0);
    EXPECT_EQ(FlagsPlaced, 2);
    EXPECT_EQ(FlagsOnMines, 1);
}

TEST_F(GenerationTest, ShowMinesPosShowsEveryMine) {
    Options.doShowMinesPos = true;
    SetBoard(glExpert, 29, 15, 99);
    RandomSeed = 1;
    GenerateFirstClickBoard(0, 0, {});
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            EXPECT_EQ(VisibleBoard[c][r] == csMine, HiddenBoard[c][r] == csMine);
}

TEST_F(GenerationTest, FirstClickSetsCountsStampsAndStartsTheClock) {
    DebugWindowOn = 1;
    SystemTimeSource = [] {
        TSystemTime t;
        t.year = 2026, t.month = 3, t.day = 5, t.hour = 14, t.minute = 7, t.second = 9, t.milliseconds = 45;
        return t;
    };
    bool timerOn = false;
    UiHooks.SetGameTimer = [&](bool on) { timerOn = on; };
    SetBoard(glCustom, 29, 29, 200);
    OpenedNumberCounts[2] = 5;
    GameEndStamp = "old";
    MousePathLength = 12.5;
    BoardTouched = 1;
    GameClock = {3, 40};
    RandomSeed = 9;
    GenerateFirstClickBoard(10, 10, {160, 170});

    EXPECT_EQ(GameIdText, "3|W30H30M200|5.3.2026.14:07:09:045");
    EXPECT_EQ(GameEndStamp, "");
    EXPECT_EQ(OpenedNumberCounts, (std::array<uint16_t, 9>{}));
    int numbered = 0;
    for (uint16_t n : NumberCellCounts)
        numbered += n;
    EXPECT_EQ(numbered, 900 - 200);
    ASSERT_EQ(BoardString.size(), 4u + 2 * 200);
    EXPECT_EQ(BoardString.substr(0, 4), std::string({30, 30, 0, static_cast<char>(200)}));
    EXPECT_EQ(TimeEstimate, 0); // Custom
    EXPECT_EQ(LastCursorPos.x, 160);
    EXPECT_EQ(LastCursorPos.y, 170);
    EXPECT_EQ(MousePathLength, 0);
    EXPECT_TRUE(timerOn);
    EXPECT_EQ(GameTimerEnabled, 1);
    EXPECT_EQ(GameClock.seconds, 0);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_EQ(WaitingFirstClick, 0);
    EXPECT_EQ(BoardTouched, 0);
    EXPECT_TRUE(LogHas("game start on Cus board 30x30, 200 mines"));
}

TEST_F(GenerationTest, FirstClickShowsOrHidesTheCountersAndSetsTheGameInterval) {
    CountersWindowCreated = 1;
    for (bool show : {true, false}) {
        std::vector<std::string> calls;
        UiHooks.ShowCountersWindow = [&] { calls.push_back("show"); };
        UiHooks.HideCountersWindow = [&] { calls.push_back("hide"); };
        UiHooks.SetGameTimerInterval = [&](uint32_t ms) {
            calls.push_back("interval " + std::to_string(ms));
        };
        Options.doShowCounters = show;
        GameTimerInterval = 200; // left by a playback
        GameTimerEnabled = 0;
        WaitingFirstClick = 1;
        SetBoard(glBeginner, 7, 7, 10);
        GenerateFirstClickBoard(0, 0, {});
        EXPECT_EQ(GameTimerInterval, 10u);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), show ? "show" : "hide");
        EXPECT_EQ(calls.back(), "interval 10");
    }
}

TEST_F(GenerationTest, BoardStringHighByteOfALargeMineCount) {
    SetBoard(glCustom, 29, 29, 300);
    RandomSeed = 2;
    GenerateFirstClickBoard(0, 0, {});
    ASSERT_EQ(BoardString.size(), 4u + 2 * 300);
    EXPECT_EQ(static_cast<unsigned char>(BoardString[2]), 1);
    EXPECT_EQ(static_cast<unsigned char>(BoardString[3]), 300 - 256);
}

TEST_F(GenerationTest, StandardLevelGetsTimeEstimateAndIslands) {
    DebugWindowOn = 1;
    SetBoard(glBeginner, 7, 7, 10);
    RandomSeed = 12345;
    GenerateFirstClickBoard(3, 3, {});
    // The golden board: 3BV 12, 4 openings, 54 safe cells of which 18 zeros.
    int numbered = 0;
    for (int n = 1; n <= 8; ++n)
        numbered += NumberCellCounts[n];
    EXPECT_EQ(NumberCellCounts[0], 18);
    EXPECT_EQ(numbered, 36);
    EXPECT_NEAR(static_cast<double>(TimeEstimate), 12 * 0.43 + 36 * 0.07 + 4 * 2.27, 1e-9);
    EXPECT_EQ(Islands, 4);
    EXPECT_TRUE(LogHas("game start on Beg board 8x8, 10 mines"));
}

} // namespace
} // namespace quorlet
