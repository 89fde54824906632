#include <gtest/gtest.h>

#include <string>

#include "core/FData.h"
#include "core/layout.h"
#include "testutil.h"

namespace quorlet {
namespace {

std::string Text(const std::array<char, 3>& t) {
    return std::string(t.begin(), t.end());
}

TEST(MainLayout, BeginnerAndExpertPanelsFollowTheBoardSize) {
    struct Case {
        int columns, rows;
        TRectI pBox, pMain, box;
        int timerLeft, faceLeft;
    };
    const Case cases[] = {
        {8, 8, {9, 52, 134, 134}, {0, 0, 152, 195}, {3, 3, 128, 128}, 134 - kLedPanelWidth - 8, 54},
        {16, 16, {9, 52, 262, 262}, {0, 0, 280, 323}, {3, 3, 256, 256}, 262 - kLedPanelWidth - 8, 118},
        {30, 16, {9, 52, 486, 262}, {0, 0, 504, 323}, {3, 3, 480, 256}, 486 - kLedPanelWidth - 8, 230},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows));
        const TMainLayout l = ComputeMainLayout(c.columns, c.rows, false);
        EXPECT_EQ(l.pBox, c.pBox);
        EXPECT_EQ(l.pMain, c.pMain);
        EXPECT_EQ(l.box, c.box);
        EXPECT_EQ(l.pInfo.width, c.pBox.width);
        EXPECT_EQ(l.pTimer.left, c.timerLeft);
        EXPECT_EQ(l.bNewGame.left, c.faceLeft);
        EXPECT_EQ(l.bNewGame.width, 26);
        EXPECT_EQ(l.NameLabel, (TRectI{6, c.pMain.height + 6, c.pBox.width + 6, kNameLabelHeight}));
        EXPECT_EQ(l.clientWidth, c.pMain.width);
        EXPECT_EQ(l.clientHeight, c.pMain.height);
    }
}

TEST(MainLayout, NameLineAddsItsHeightAndAMarginWhenShown) {
    const TMainLayout l = ComputeMainLayout(8, 8, true, 20);
    EXPECT_EQ(l.clientHeight, 195 + 20 + 12);
}

TEST(LedDisplay, GlyphIndexOfEachCharacter) {
    const std::pair<char, int> cases[] = {{' ', 0}, {'-', 1},  {'0', 2}, {'1', 3},
                                          {'5', 7}, {'9', 11}, {'x', 2}};
    for (auto [c, index] : cases)
        EXPECT_EQ(LedGlyphIndex(c), index) << c;
}

TEST(LedDisplay, MineCounterShowsThreeCharactersWithMinusForOverFlagging) {
    const std::pair<int, const char*> cases[] = {{10, "010"},   {0, "000"},  {99, "099"}, {-5, "-05"},
                                                 {-123, "-23"}, {-1, "-01"}, {999, "999"}};
    for (auto [v, text] : cases)
        EXPECT_EQ(Text(MineCounterText(v)), text) << v;
}

TEST(LedDisplay, TimerTextsAndDots) {
    struct Case {
        uint16_t seconds;
        uint8_t hundredths;
        bool tenths, recorder;
        const char* text;
        int dot;
    };
    const Case cases[] = {
        {7, 0, false, false, "007", 0},  {41, 50, false, false, "042", 0}, // whole seconds rounded up
        {0, 0, false, false, "000", 0},  {999, 1, false, false, "999", 0}, // never 1000
        {9, 99, true, false, "999", 1},                                    // 9.99
        {10, 1, true, false, "101", 2},  // 10.01 shows 10.1: tenths rounded up
        {10, 0, true, false, "100", 2},  // 10.0
        {99, 81, true, false, "999", 2}, // 99.81 rounds up to 99.9
        {100, 0, true, false, "100", 0}, // from 100 s on: whole seconds, no dot
        {99, 91, true, false, "100", 0}, {999, 1, true, false, "999", 0}, // never 1000
        {0, 0, true, true, "100", 1},                                     // recorder style adds a second
        {98, 95, true, true, "100", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.seconds) + "." + std::to_string(c.hundredths));
        const TTimerDisplay d = TimerDisplay(c.seconds, c.hundredths, c.tenths, c.recorder);
        EXPECT_EQ(Text(d.text), c.text);
        EXPECT_EQ(d.dotAfter, c.dot);
    }
}

class ProbabilityHint : public test::EngineTest {
  protected:
    // Rows of a 8x8 board: '*' covered mine, '.' covered safe cell with the given hidden number
    // from `numbers`, digits are opened numbers.
    void SetBoard(const char* const (&rows)[8], const char* const (&hidden)[8]) {
        LastColumn = LastRow = 7;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const char v = rows[r][c];
                const char h = hidden[r][c];
                VisibleBoard[c][r] = v == '.' ? TCellState{csCovered} : static_cast<TCellState>(v - '0');
                HiddenBoard[c][r] = h == '*' ? TCellState{csMine} : static_cast<TCellState>(h - '0');
            }
    }
};

TEST_F(ProbabilityHint, ColourFollowsHiddenStateAndCoveredNeighbours) {
    const char* const visible[8] = {"........", "........", "........", "........",
                                    "........", "........", "....0000", "....0101"};
    const char* const hidden[8] = {"*1000000", "81000000", "80000000", "00000000",
                                   "00000000", "00000000", "00000000", "00000101"};
    SetBoard(visible, hidden);
    EXPECT_EQ(ProbabilityHintColour(0, 0), THintColour::Red);    // covered mine
    EXPECT_EQ(ProbabilityHintColour(1, 0), THintColour::Green);  // safe 1
    EXPECT_EQ(ProbabilityHintColour(0, 1), THintColour::Yellow); // an 8 equals 8 per neighbour
    EXPECT_EQ(ProbabilityHintColour(5, 7), THintColour::None);   // shows a number
    EXPECT_EQ(ProbabilityHintColour(-1, 0), THintColour::None);
    EXPECT_EQ(ProbabilityHintColour(8, 0), THintColour::None);
}

TEST_F(ProbabilityHint, CellWithoutCoveredNeighboursIsYellow) {
    const char* const visible[8] = {"00000000", "00000000", "00000000", "00000000",
                                    "00000000", "00000000", "00000000", "000000.0"};
    const char* const hidden[8] = {"00000000", "00000000", "00000000", "00000000",
                                   "00000000", "00000000", "00000000", "00000000"};
    SetBoard(visible, hidden);
    EXPECT_EQ(ProbabilityHintColour(6, 7), THintColour::Yellow);
}

} // namespace
} // namespace quorlet
