// The mouse path chart's primitives from the options and the recorded events.
#include <gtest/gtest.h>

#include <vector>

#include "core/mousechart.h"
#include "test_qvf_fixture.h"

namespace quorlet::test {
namespace {

using P = TChartPoint;

class MouseChartTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        // The settings' defaults for the chart.
        Options.ShowMousePath = Options.ShowDownState = Options.ShowLeftCl = Options.ShowRightCl = true;
        Options.ShowDoubleCl = Options.DoChangeLayout = Options.DarkenBoard = Options.mpShowCells = true;
        Options.DarkenBoard = false;
        Options.mPathColor = 0;
        Options.mpLColor = 3;
        Options.mpRColor = 8;
        Options.mpDColor = 7;
    }
    // Appends events as the recorder does: move, press and release kinds at (x, y).
    enum Kind { Move, LPress, LRelease, RPress, RRelease, MPress, MRelease };
    void Add(std::vector<std::tuple<Kind, int, int>> events) {
        for (auto [kind, x, y] : events) {
            TVideoEvent& e = VideoEvents[VideoEventCount++];
            e = {};
            e.x = static_cast<uint16_t>(x);
            e.y = static_cast<uint16_t>(y);
            e.leftPress = kind == LPress;
            e.leftRelease = kind == LRelease;
            e.rightPress = kind == RPress;
            e.rightRelease = kind == RRelease;
            e.middlePress = kind == MPress;
            e.middleRelease = kind == MRelease;
        }
    }
    static bool Logged(const std::string& text) {
        for (const std::string& line : DebugLogLines)
            if (line.size() >= 13 && line.compare(13, std::string::npos, text) == 0) return true;
        return false;
    }
};

TEST_F(MouseChartTest, DefaultsGiveAWhitePathOnACheckerboardWithLimeLeftAndRedRightDots) {
    Add({{Move, 5, 5}, {LPress, 10, 10}, {Move, 12, 11}, {LRelease, 14, 12}, {RPress, 30, 20}, {RRelease, 30, 20}});
    const TMouseChart chart = BuildMouseChart();
    EXPECT_TRUE(chart.fillBlack);
    EXPECT_TRUE(chart.checkerboard);
    EXPECT_FALSE(chart.darkenCells);
    EXPECT_EQ(chart.path.colour, 0xFFFFFFu);
    // The live buffer's unused slot (0, 0) is not part of the path.
    EXPECT_EQ(chart.path.points, (std::vector<P>{{5, 5}, {10, 10}, {12, 11}, {14, 12}, {30, 20}, {30, 20}}));
    ASSERT_EQ(chart.stretches.size(), 2u);
    EXPECT_EQ(chart.stretches[0].colour, 0x00FF00u);
    EXPECT_EQ(chart.stretches[0].points, (std::vector<P>{{10, 10}, {12, 11}, {14, 12}}));
    EXPECT_EQ(chart.stretches[1].colour, 0xFF0000u);
    ASSERT_EQ(chart.dots.size(), 2u);
    // Right presses are dotted before left presses.
    EXPECT_EQ(chart.dots[0].colour, 0xFF0000u);
    EXPECT_EQ(chart.dots[0].at, (P{30, 20}));
    EXPECT_EQ(chart.dots[1].colour, 0x00FF00u);
    EXPECT_EQ(chart.dots[1].at, (P{10, 10}));
}

TEST_F(MouseChartTest, AMiddlePressTakesTheDoubleClickColourOverTheOtherButtonsUntilARelease) {
    // A press event carrying middle and left at once: middle is tested first.
    Add({{MPress, 1, 1}, {Move, 2, 2}, {MRelease, 3, 3}, {Move, 4, 4}, {LPress, 5, 5}, {RPress, 6, 6}, {Move, 7, 7},
         {LRelease, 8, 8}, {Move, 9, 9}});
    VideoEvents[0].leftPress = 1;
    const TMouseChart chart = BuildMouseChart();
    ASSERT_EQ(chart.stretches.size(), 3u);
    EXPECT_EQ(chart.stretches[0].colour, 0x008000u);
    EXPECT_EQ(chart.stretches[0].points, (std::vector<P>{{1, 1}, {2, 2}, {3, 3}}));
    // A second press while held starts the next stretch from its own position.
    EXPECT_EQ(chart.stretches[1].colour, 0x00FF00u);
    EXPECT_EQ(chart.stretches[1].points, (std::vector<P>{{5, 5}, {6, 6}}));
    EXPECT_EQ(chart.stretches[2].colour, 0xFF0000u);
    EXPECT_EQ(chart.stretches[2].points, (std::vector<P>{{6, 6}, {7, 7}, {8, 8}}));
    // Dots: middle, then right, then left presses; the first event is dotted twice.
    ASSERT_EQ(chart.dots.size(), 4u);
    EXPECT_EQ(chart.dots[0].colour, 0x008000u);
    EXPECT_EQ(chart.dots[1].colour, 0xFF0000u);
    EXPECT_EQ(chart.dots[2].at, (P{1, 1}));
    EXPECT_EQ(chart.dots[3].at, (P{5, 5}));
}

TEST_F(MouseChartTest, EachOptionTurnsItsOwnPartOnOrOff) {
    Add({{Move, 5, 5}, {LPress, 10, 10}, {LRelease, 11, 11}, {MPress, 20, 20}, {MRelease, 21, 21}});
    const struct {
        const char* name;
        void (*set)();
        bool fill, checker, darken, path;
        std::size_t stretches, dots;
    } cases[] = {
        {"defaults", [] {}, true, true, false, true, 2, 2},
        {"layout off: over the board as shown", [] { Options.DoChangeLayout = false; }, false, false, false, true, 2, 2},
        {"darkened cells instead of the checkerboard", [] { Options.DarkenBoard = true; }, true, false, true, true, 2, 2},
        {"plain black", [] { Options.mpShowCells = false; }, true, false, false, true, 2, 2},
        {"no path", [] { Options.ShowMousePath = false; }, true, true, false, false, 2, 2},
        {"no stretches", [] { Options.ShowDownState = false; }, true, true, false, true, 0, 2},
        {"no left dots", [] { Options.ShowLeftCl = false; }, true, true, false, true, 2, 1},
        {"no middle dots", [] { Options.ShowDoubleCl = false; }, true, true, false, true, 2, 1},
    };
    const tOptionsSet defaults = Options;
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Options = defaults;
        tc.set();
        const TMouseChart chart = BuildMouseChart();
        EXPECT_EQ(chart.fillBlack, tc.fill);
        EXPECT_EQ(chart.checkerboard, tc.checker);
        EXPECT_EQ(chart.darkenCells, tc.darken);
        EXPECT_EQ(!chart.path.points.empty(), tc.path);
        EXPECT_EQ(chart.stretches.size(), tc.stretches);
        EXPECT_EQ(chart.dots.size(), tc.dots);
    }
    Options = defaults;
    Options.mPathColor = 12;
    Options.mpLColor = 200; // past the table: the first colour
    const TMouseChart chart = BuildMouseChart();
    EXPECT_EQ(chart.path.colour, 0x0000FFu);
    EXPECT_EQ(chart.dots.back().colour, 0xFFFFFFu);
}

TEST_F(MouseChartTest, APreparedVideoIncludesItsLastEventIndex) {
    Add({{Move, 5, 5}, {LPress, 10, 10}, {LRelease, 11, 11}});
    // Playback: the count names the last event.
    ReplayMode = 1;
    VideoEventCount = 2;
    EXPECT_EQ(BuildMouseChart().path.points, (std::vector<P>{{5, 5}, {10, 10}, {11, 11}}));
    EXPECT_TRUE(BuildMouseChart(0).path.points.empty());
}

TEST_F(MouseChartTest, TheCommandDrawsOnlyAfterAGameOrWhileAVideoIsPaused) {
    const struct {
        const char* name;
        uint8_t timer, over, replay;
        bool allowed;
    } cases[] = {
        {"running game", 1, 0, 0, false}, {"playing video", 1, 0, 1, false}, {"lost game", 0, 1, 0, true},
        {"paused video", 0, 0, 1, true},  {"new game", 0, 0, 0, false},
    };
    LoadBoard("*.\n", glCustom);
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        DebugLogLines.clear();
        GameTimerEnabled = tc.timer;
        GameOver = tc.over;
        ReplayMode = tc.replay;
        EXPECT_EQ(MouseChartAllowed(), tc.allowed);
        EXPECT_EQ(Logged("mouse chart can be shown only on game end or pause"), tc.timer == 1);
    }
}

} // namespace
} // namespace quorlet::test
