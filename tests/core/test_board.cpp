// Cell rules over small boards written as strings: one row per line, one character per column.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/board.h"
#include "testutil.h"

namespace quorlet {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Hidden layer from '*' (mine) and '.' (safe); sets the size and numbers the safe cells.
void LoadHidden(const std::string& text) {
    const auto lines = Lines(text);
    LastRow = static_cast<uint8_t>(lines.size() - 1);
    LastColumn = static_cast<uint8_t>(lines[0].size() - 1);
    for (uint8_t r = 0; r <= LastRow; ++r)
        for (uint8_t c = 0; c <= LastColumn; ++c)
            HiddenBoard[c][r] = lines[r][c] == '*' ? csMine : csCovered;
    ComputeNumbers();
}

// Visible symbols: '#' covered, 'F' flag, '?' question, 'p' pressed covered, 'q' pressed question,
// 'M' shown mine, 'W' wrong mark, 'X' blasted mine, digits opened.
TCellState FromSymbol(char s) {
    switch (s) {
    case '#': return csCovered;
    case 'F': return csFlag;
    case '?': return csQuestion;
    case 'p': return csPressedCovered;
    case 'q': return csPressedQuestion;
    case 'M': return csMine;
    case 'W': return csWrongMark;
    case 'X': return csBlasted;
    default: return static_cast<TCellState>(s - '0');
    }
}

char ToSymbol(TCellState state) {
    if (IsNumberState(state)) return static_cast<char>('0' + state);
    for (char s : std::string("#F?pqMWX"))
        if (FromSymbol(s) == state) return s;
    return '!';
}

void LoadVisible(const std::string& text) {
    const auto lines = Lines(text);
    for (uint8_t r = 0; r <= LastRow; ++r)
        for (uint8_t c = 0; c <= LastColumn; ++c)
            VisibleBoard[c][r] = FromSymbol(lines[r][c]);
}

std::string Visible() {
    std::string out;
    for (uint8_t r = 0; r <= LastRow; ++r) {
        for (uint8_t c = 0; c <= LastColumn; ++c)
            out += ToSymbol(VisibleBoard[c][r]);
        out += '\n';
    }
    return out;
}

std::string HiddenNumbers() {
    std::string out;
    for (uint8_t r = 0; r <= LastRow; ++r) {
        for (uint8_t c = 0; c <= LastColumn; ++c)
            out += HiddenBoard[c][r] == csMine ? '*' : static_cast<char>('0' + HiddenBoard[c][r]);
        out += '\n';
    }
    return out;
}

class BoardTest : public test::EngineTest {};

TEST_F(BoardTest, InBoardRejectsEveryCellPastAnEdge) {
    struct Case {
        int column, row;
        bool inside;
    };
    const Case cases[] = {
        {0, 0, true},   {7, 7, true},   {7, 0, true},    {8, 0, false},   {0, 8, false},
        {-1, 0, false}, {0, -1, false}, {-1, -1, false}, {29, 29, false},
    };
    LastColumn = 7, LastRow = 7;
    for (const Case& c : cases)
        EXPECT_EQ(InBoard(static_cast<uint8_t>(c.column), static_cast<uint8_t>(c.row)), c.inside)
            << c.column << "," << c.row;
}

TEST_F(BoardTest, InBoardStaysInsideTheLayersWhateverTheSize) {
    LastColumn = 200, LastRow = 200;
    EXPECT_TRUE(InBoard(29, 29));
    EXPECT_FALSE(InBoard(30, 0));
    EXPECT_FALSE(InBoard(0, 30));
}

TEST_F(BoardTest, NeighbourWalkFollowsTheOrderAndSkipsCellsOutside) {
    LastColumn = 2, LastRow = 2;
    std::vector<std::pair<int, int>> seen;
    ForEachNeighbour(1, 1, [&](uint8_t c, uint8_t r) { seen.emplace_back(c, r); });
    const std::vector<std::pair<int, int>> order = {{0, 0}, {2, 0}, {1, 0}, {0, 2},
                                                    {2, 2}, {1, 2}, {0, 1}, {2, 1}};
    EXPECT_EQ(seen, order);

    seen.clear();
    ForEachNeighbour(0, 0, [&](uint8_t c, uint8_t r) { seen.emplace_back(c, r); });
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {0, 1}, {1, 0}}));

    seen.clear();
    EXPECT_FALSE(ForEachNeighbour(1, 1, [&](uint8_t c, uint8_t r) {
        seen.emplace_back(c, r);
        return seen.size() < 2;
    }));
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(BoardTest, ComputeNumbersCountsMinesAroundEverySafeCell) {
    LoadHidden("*..*\n"
               "....\n"
               ".**.\n");
    EXPECT_EQ(HiddenNumbers(), "*11*\n"
                               "2332\n"
                               "1**1\n");
    EXPECT_EQ(Board3BV, 8); // no opening: every safe cell is one click
}

TEST_F(BoardTest, FlagCountsAndMinesLeftGoNegativeWhenOverFlagged) {
    LoadHidden("*..\n"
               "...\n"
               "...\n");
    MineCount = 1;
    LoadVisible("FF#\n"
                "#1#\n"
                "##F\n");
    EXPECT_EQ(CountAdjacentFlags(1, 1), 3);
    EXPECT_EQ(CountAdjacentFlags(2, 0), 1);
    EXPECT_EQ(CountFlags(), 3);
    EXPECT_EQ(MinesLeft(), -2);
    // A flag left outside a smaller board does not count.
    LastColumn = 1;
    EXPECT_EQ(CountFlags(), 2);
}

TEST_F(BoardTest, OpenCellActsByWhatTheCellShows) {
    struct Case {
        char shown;
        TOpenCellResult result;
        char after;
    };
    const Case cases[] = {
        {'F', TOpenCellResult::Marked, 'F'}, {'?', TOpenCellResult::Marked, '#'},
        {'q', TOpenCellResult::Marked, '#'}, {'#', TOpenCellResult::Opened, '2'},
        {'p', TOpenCellResult::Opened, '2'}, {'2', TOpenCellResult::Nothing, '2'},
    };
    for (const Case& c : cases) {
        ResetGlobals();
        LoadHidden("*.*\n");
        LoadVisible(std::string("#") + c.shown + "#\n");
        EXPECT_EQ(OpenCell(1, 0), c.result) << c.shown;
        EXPECT_EQ(ToSymbol(VisibleBoard[1][0]), c.after) << c.shown;
        const int opened = c.result == TOpenCellResult::Opened ? 1 : 0;
        EXPECT_EQ(CellsOpenedByLeft, opened) << c.shown;
        EXPECT_EQ(OpenedNumberCounts[2], opened) << c.shown;
        EXPECT_EQ(Solved3BV, opened) << c.shown;
    }
}

TEST_F(BoardTest, OpenCellOnAMineLosesAndOpensNothing) {
    LoadHidden("*..\n");
    LoadVisible("###\n");
    EXPECT_EQ(OpenCell(0, 0), TOpenCellResult::Mine);
    EXPECT_EQ(VisibleBoard[0][0], csBlasted);
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(CellsOpenedByLeft, 0);
    EXPECT_EQ(OpenedNumberCounts, (std::array<uint16_t, 9>{}));
    EXPECT_EQ(VisibleBoard[1][0], csCovered);
}

TEST_F(BoardTest, OpenCellOutsideTheBoardDoesNothing) {
    LoadHidden("..\n");
    LoadVisible("##\n");
    EXPECT_EQ(OpenCell(2, 0), TOpenCellResult::Nothing);
    EXPECT_EQ(OpenCell(255, 0), TOpenCellResult::Nothing);
    EXPECT_EQ(Visible(), "##\n");
}

TEST_F(BoardTest, OpeningAZeroFloodsAndCountsOneOpening) {
    LoadHidden("....\n"
               "....\n"
               "...*\n");
    ClearBoard();
    EXPECT_EQ(OpenCell(0, 0), TOpenCellResult::Opened);
    EXPECT_EQ(Visible(), "0000\n"
                         "0011\n"
                         "001#\n");
    EXPECT_EQ(Solved3BV, 1);
    EXPECT_EQ(OpenedOpenings, 1);
    EXPECT_EQ(CellsOpenedByLeft, 1);
    EXPECT_EQ(OpenedNumberCounts[0], 8);
    EXPECT_EQ(OpenedNumberCounts[1], 3);
}

TEST_F(BoardTest, NumbersCountSolved3BVOnlyWhenTheyBorderNoOpening) {
    LoadHidden("..*.*\n");
    ClearBoard();
    OpenCell(1, 0); // touches the zero at column 0
    EXPECT_EQ(Solved3BV, 0);
    OpenCell(3, 0); // between two mines
    EXPECT_EQ(Solved3BV, 1);
    EXPECT_EQ(Visible(), "#1#2#\n");
}

TEST_F(BoardTest, FloodLeavesMarksAloneAndTheUnmarkedZeroAddsNo3BV) {
    LoadHidden("....*\n");
    LoadVisible("#F?##\n");
    OpenCell(0, 0);
    EXPECT_EQ(Visible(), "0F?##\n");
    EXPECT_EQ(Solved3BV, 1);

    LoadVisible("0####\n");
    OpenCell(1, 0);
    EXPECT_EQ(Visible(), "0001#\n");
    EXPECT_EQ(Solved3BV, 1);
    EXPECT_EQ(OpenedOpenings, 1);
}

TEST_F(BoardTest, FloodOpensPressedCellsAndChangesOnlyTheOpenedCounts) {
    LoadHidden("...\n"
               "***\n");
    LoadVisible("#p#\n"
                "###\n");
    OpenAround(0, 0);
    EXPECT_EQ(Visible(), "#3#\n"
                         "###\n");
    EXPECT_EQ(OpenedNumberCounts[3], 1);
    EXPECT_EQ(Solved3BV, 0);
    EXPECT_EQ(CellsOpenedByLeft, 0);
}

TEST_F(BoardTest, ChordWithAWrongFlagStopsAtTheFirstMineInNeighbourOrder) {
    // Order from the centre: top-left (flagged, safe), top-right, top (the mine), then the rest.
    LoadHidden(".*.\n"
               "...\n"
               "...\n");
    LoadVisible("F##\n"
                "#1#\n"
                "###\n");
    EXPECT_TRUE(ChordOpen(1, 1));
    // Lost at the mine (blasted), the wrong flag revealed, the later neighbours still covered.
    EXPECT_EQ(Visible(), "WX1\n"
                         "#1#\n"
                         "###\n");
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(Solved3BV, 1);
}

TEST_F(BoardTest, ChordOpensQuestionMarksButNeverFlags) {
    LoadHidden("*..\n"
               "...\n"
               "...\n");
    LoadVisible("F?q\n"
                "#1p\n"
                "###\n");
    EXPECT_TRUE(ChordOpen(1, 1));
    EXPECT_EQ(Visible(), "F10\n"
                         "110\n"
                         "000\n");
    EXPECT_EQ(OpenedNumberCounts[1], 2);
    EXPECT_EQ(OpenedNumberCounts[0], 5);
}

TEST_F(BoardTest, ChordActsOnlyOnAnOpenedCellWithMatchingFlags) {
    struct Case {
        const char* visible;
        bool disableGroupOpen;
        bool opened;
    };
    const Case cases[] = {
        {"F##\n#1#\n###\n", false, true},  // matching flag
        {"F##\n#1#\n###\n", true, false},  // chords switched off
        {"###\n#1#\n###\n", false, false}, // too few flags
        {"FF#\n#1#\n###\n", false, false}, // too many flags
        {"F##\n###\n###\n", false, false}, // centre still covered
        {"F##\n#F#\n###\n", false, false}, // centre flagged
    };
    for (const Case& c : cases) {
        ResetGlobals();
        LoadHidden("*..\n...\n...\n");
        LoadVisible(c.visible);
        Options.doDisableGroupOpen = c.disableGroupOpen;
        EXPECT_EQ(ChordOpen(1, 1), c.opened) << c.visible;
        if (!c.opened) {
            EXPECT_EQ(Visible(), c.visible);
        }
    }
}

TEST_F(BoardTest, ChordOnAnOpenedZeroOpensAMarkTheFloodSkipped) {
    LoadHidden("...\n"
               "...\n");
    LoadVisible("0?0\n"
                "000\n");
    EXPECT_TRUE(ChordOpen(0, 0));
    EXPECT_EQ(Visible(), "000\n000\n");
    // The zero touches opened zeros: no new opening.
    EXPECT_EQ(OpenedOpenings, 0);
    EXPECT_FALSE(ChordOpen(0, 0));
}

TEST_F(BoardTest, CycleMarkFollowsTheMarkTable) {
    struct Case {
        char before;
        bool marks, showMines, mine;
        uint16_t placed, onMines;
        char after;
        uint16_t placedAfter, onMinesAfter;
    };
    const Case cases[] = {
        {'#', true, false, false, 0, 0, 'F', 1, 0},
        {'#', true, false, true, 0, 0, 'F', 1, 1},
        {'M', false, true, true, 0, 0, 'F', 1, 1},
        {'M', false, false, true, 0, 0, 'M', 0, 0},
        {'F', true, true, true, 1, 1, 'M', 0, 0},
        {'F', true, true, true, 1, 0, 'M', 0, 0},
        {'F', true, true, false, 1, 0, '#', 0, 0},
        {'F', true, false, true, 1, 1, '?', 0, 0},
        {'F', true, false, false, 1, 0, '?', 0, 0},
        {'F', false, false, true, 2, 2, '#', 1, 1},
        {'F', false, false, true, 2, 0, '#', 1, 0},
        {'F', false, false, false, 0, 0, '#', 0, 0}, // counter never wraps below 0
        {'?', true, false, false, 0, 0, '#', 0, 0},
        {'?', true, false, true, 3, 1, '#', 3, 1},
        {'q', true, false, false, 0, 0, 'q', 0, 0},
        {'p', true, false, false, 0, 0, 'p', 0, 0},
        {'2', true, true, false, 0, 0, '2', 0, 0},
    };
    for (const Case& c : cases) {
        ResetGlobals();
        LoadHidden(c.mine ? "*\n" : ".\n");
        VisibleBoard[0][0] = FromSymbol(c.before);
        Options.doMarks = c.marks;
        Options.doShowMinesPos = c.showMines;
        FlagsPlaced = c.placed;
        FlagsOnMines = c.onMines;
        CycleMark(0, 0);
        const std::string what = std::string(1, c.before) + " marks=" + std::to_string(c.marks) +
                                 " show=" + std::to_string(c.showMines) + " mine=" + std::to_string(c.mine);
        EXPECT_EQ(ToSymbol(VisibleBoard[0][0]), c.after) << what;
        EXPECT_EQ(FlagsPlaced, c.placedAfter) << what;
        EXPECT_EQ(FlagsOnMines, c.onMinesAfter) << what;
    }
}

TEST_F(BoardTest, PressPreviewsAndTheirRelease) {
    struct Case {
        const char* name;
        void (*press)();
        const char* pressed;
    };
    const Case cases[] = {
        {"single covered", [] { PressCell(0, 0); }, "p?#F\n?#1#\n"},
        {"single question", [] { PressCell(0, 1); }, "#?#F\nq#1#\n"},
        {"single opened number", [] { PressCell(2, 1); }, "#?#F\n?#1#\n"},
        {"3x3 covered only", [] { PressAround(1, 0, false); }, "p?pF\n?p1#\n"},
        {"3x3 with question marks", [] { PressAround(1, 0, true); }, "pqpF\nqp1#\n"},
        {"3x3 at the corner", [] { PressAround(3, 1, true); }, "#?pF\n?#1p\n"},
    };
    for (const Case& c : cases) {
        ResetGlobals();
        LoadHidden("....\n....\n");
        LoadVisible("#?#F\n?#1#\n");
        c.press();
        EXPECT_EQ(Visible(), c.pressed) << c.name;
        ReleasePressedCells();
        EXPECT_EQ(Visible(), "#?#F\n?#1#\n") << c.name;
    }
}

TEST_F(BoardTest, ReleaseAlsoRestoresPressedMarksAfterMarksWereSwitchedOff) {
    LoadHidden("..\n");
    LoadVisible("pq\n");
    Options.doMarks = false;
    ReleasePressedCells();
    EXPECT_EQ(Visible(), "#?\n");
}

TEST_F(BoardTest, ClearBoardCoversAllLayerCellsAndTouchNeedsAnUncoveredCell) {
    LastColumn = 1, LastRow = 1;
    VisibleBoard[29][29] = 3;
    VisibleBoard[1][1] = csFlag;
    ClearBoard();
    for (const auto& column : VisibleBoard)
        for (TCellState s : column)
            ASSERT_EQ(s, csCovered);

    VisibleBoard[0][0] = csPressedCovered;
    VisibleBoard[5][5] = csFlag; // outside the 2x2 board
    MarkBoardTouched();
    EXPECT_EQ(BoardTouched, 0);
    VisibleBoard[1][0] = csQuestion;
    MarkBoardTouched();
    EXPECT_EQ(BoardTouched, 1);
}

TEST_F(BoardTest, BoardIsSolvedWhenEverySafeCellIsOpenAndAll3BVIsDone) {
    LoadHidden("*..\n");
    Board3BV = 1;
    LoadVisible("F1#\n");
    Solved3BV = 1;
    EXPECT_FALSE(IsBoardSolved());
    LoadVisible("#10\n");
    EXPECT_TRUE(IsBoardSolved());
    Solved3BV = 0;
    EXPECT_FALSE(IsBoardSolved());
}

TEST_F(BoardTest, ZeroNeighbourTestsLookAtTheirOwnLayer) {
    LoadHidden("..*\n");
    LoadVisible("#1#\n");
    EXPECT_TRUE(HasHiddenZeroNeighbour(1, 0));
    EXPECT_FALSE(HasVisibleZeroNeighbour(1, 0));
    EXPECT_FALSE(HasHiddenZeroNeighbour(0, 0)); // itself a zero: only neighbours count
    VisibleBoard[0][0] = 0;
    EXPECT_TRUE(HasVisibleZeroNeighbour(1, 0));
}

TEST_F(BoardTest, NoFlagGameMeansNoRightClick) {
    EXPECT_TRUE(IsNoFlagGame());
    RightClicks = 1;
    EXPECT_FALSE(IsNoFlagGame());
}

TEST_F(BoardTest, NewGameSetsTheLevelSizeAndClearsTheGame) {
    struct Case {
        uint8_t level;
        uint8_t lastColumn, lastRow;
        uint16_t mines;
    };
    const Case cases[] = {
        {glBeginner, 7, 7, 10},
        {glIntermediate, 15, 15, 40},
        {glExpert, 29, 15, 99},
        {glCustom, 11, 20, 55}, // keeps the custom size
    };
    for (const Case& c : cases) {
        ResetGlobals();
        GameLevel = c.level;
        LastColumn = 11, LastRow = 20, MineCount = 55;
        VisibleBoard[3][3] = csFlag;
        LeftClicks = RightClicks = DoubleClicks = CellsOpenedByLeft = FlagsOnMines = 5;
        ChordsThatOpened = Solved3BV = FlagsPlaced = OpenedOpenings = 5;
        OpenedNumberCounts[4] = 5;
        MousePathLength = 12.5L;
        LeftDown = RightDown = MiddleDown = ChordGuard = 1;
        BoardTouched = GameOver = ReplayMode = PreviewReplayMode = 1;
        NumberCellCounts[2] = 7;
        LevelGameCounts[1] = 9;
        GameClock = {12, 34};
        GameTimerEnabled = 1;
        WaitingFirstClick = 1; // a new game over a new game must still stop the timer

        ResetBoardForNewGame();

        const int level = c.level;
        EXPECT_EQ(LastColumn, c.lastColumn) << level;
        EXPECT_EQ(LastRow, c.lastRow) << level;
        EXPECT_EQ(MineCount, c.mines) << level;
        EXPECT_EQ(VisibleBoard[3][3], csCovered) << level;
        EXPECT_EQ(LeftClicks + RightClicks + DoubleClicks + CellsOpenedByLeft + FlagsOnMines, 0);
        EXPECT_EQ(ChordsThatOpened + Solved3BV + FlagsPlaced + OpenedOpenings, 0);
        EXPECT_EQ(OpenedNumberCounts, (std::array<uint16_t, 9>{}));
        EXPECT_EQ(MousePathLength, 0);
        EXPECT_EQ(LeftDown + RightDown + MiddleDown + ChordGuard, 0);
        EXPECT_EQ(BoardTouched + GameOver + ReplayMode + PreviewReplayMode, 0);
        EXPECT_EQ(WaitingFirstClick, 1);
        EXPECT_EQ(GameClock.seconds + GameClock.hundredths, 0);
        EXPECT_EQ(GameTimerEnabled, 0);
        // Board statistics and the history counts survive a new game.
        EXPECT_EQ(NumberCellCounts[2], 7);
        EXPECT_EQ(LevelGameCounts[1], 9u);
    }
}

} // namespace
} // namespace quorlet
