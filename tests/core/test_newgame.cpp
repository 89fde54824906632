// The new-game and level commands as the engine runs them, with the window hooks recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FData.h"
#include "core/newgame.h"
#include "core/test_mouse_fixture.h"
#include "core/video.h"
#include "testutil.h"

namespace quorlet {
namespace {

class NewGameTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        DebugWindowOn = 1;
        CountersWindowCreated = 1;
        auto record = [this](const char* name) { return [this, name] { calls.push_back(name); }; };
        UiHooks.ReloadInterface = record("layout");
        UiHooks.RedrawBoard = record("redraw");
        UiHooks.HideProgressBarWindow = record("bar hidden");
        UiHooks.ShowCountersWindow = record("counters shown");
        UiHooks.HideCountersWindow = record("counters hidden");
        UiHooks.ShowReplayCursor = [this](bool visible) {
            calls.push_back(visible ? "cursor shown" : "cursor hidden");
        };
        UiHooks.SetMainCaption = [this](const std::string& caption) { this->caption = caption; };
        UiHooks.SetGameTimerInterval = [this](uint32_t ms) { interval = ms; };
        UiHooks.SetSaveReplayEnabled = [this](bool on) { saveItems = on ? 1 : 0; };
    }

    // A game well under way: cells open, a flag, clicks counted, a video, the clock at 7 s.
    static void PlaySomeGame() {
        test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
        test::Ticks(20);
        test::Click(mbLeft, 7, 3);
        test::Click(mbRight, 0, 0);
        SetClock(7, 0);
        ReplayPlayerName = "Bob";
        ASSERT_GT(VideoEventCount, 0u);
        ASSERT_GT(LeftClicks, 0u);
    }

    bool Called(const char* name) const {
        for (const std::string& c : calls)
            if (c == name) return true;
        return false;
    }
    bool Logged(const std::string& text) const {
        for (const std::string& line : DebugLogLines)
            if (line.size() >= 13 && line.compare(13, std::string::npos, text) == 0) return true;
        return false;
    }
    static void ExpectFreshGame() {
        EXPECT_EQ(WaitingFirstClick, 1);
        EXPECT_EQ(GameOver, 0);
        EXPECT_EQ(BoardTouched, 0);
        EXPECT_EQ(ReplayMode, 0);
        EXPECT_EQ(PreviewReplayMode, 0);
        EXPECT_EQ(GameTimerEnabled, 0);
        EXPECT_EQ(GameClock.seconds, 0);
        EXPECT_EQ(GameClock.hundredths, 0);
        EXPECT_EQ(GameTimerInterval, 10u);
        EXPECT_EQ(LeftClicks + RightClicks + DoubleClicks + CellsOpenedByLeft + FlagsOnMines, 0u);
        EXPECT_EQ(Solved3BV + FlagsPlaced + OpenedOpenings + ChordsThatOpened, 0u);
        EXPECT_EQ(LeftDown + RightDown + MiddleDown + ChordGuard, 0);
        EXPECT_EQ(VideoEventCount, 0u);
        EXPECT_TRUE(ReplayPlayerName.empty());
        EXPECT_EQ(NewGameFace, imf1);
        for (const auto& column : VisibleBoard)
            for (TCellState cell : column)
                EXPECT_EQ(cell, csCovered);
        for (uint32_t i = 0; i < kVideoSlots; ++i)
            if (VideoEvents[i].x || VideoEvents[i].y || VideoEvents[i].seconds || VideoEvents[i].leftRelease)
                FAIL() << "video slot " << i << " kept an event";
    }

    std::vector<std::string> calls;
    std::string caption;
    uint32_t interval = 0;
    int saveItems = -1;
};

TEST_F(NewGameTest, NewGameResetsTheWholeGameAndAsksTheWindowToShowIt) {
    for (bool counters : {true, false}) {
        SCOPED_TRACE(counters);
        PlaySomeGame();
        Options.doShowCounters = counters;
        Options.doProhibitMultInstances = false;
        ReplayMode = PreviewReplayMode = 1;
        calls.clear();
        DebugLogLines.clear();
        NewGameCommand();
        ExpectFreshGame();
        EXPECT_EQ(LastColumn, 7);
        EXPECT_EQ(MineCount, 10);
        EXPECT_EQ(caption, "Minesweeper Quorlet ");
        EXPECT_EQ(interval, 10u);
        EXPECT_EQ(saveItems, 0);
        for (const char* step : {"layout", "redraw", "bar hidden", "cursor hidden"})
            EXPECT_TRUE(Called(step)) << step;
        EXPECT_EQ(Called("counters shown"), counters);
        EXPECT_EQ(Called("counters hidden"), !counters);
        EXPECT_TRUE(Logged("data clearance done for beginner board 8x8, 10 mines"));
    }
}

TEST_F(NewGameTest, NewGameKeepsACustomSizeAndSetsAStandardOneAgain) {
    struct Case {
        uint8_t level;
        uint8_t lastColumn, lastRow;
        uint16_t mines;
        const char* log;
    };
    const Case cases[] = {
        {glIntermediate, 15, 15, 40, "data clearance done for intermediate board 16x16, 40 mines"},
        {glExpert, 29, 15, 99, "data clearance done for expert board 30x16, 99 mines"},
        {glCustom, 11, 5, 13, "data clearance done for custom board 12x6, 13 mines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        GameLevel = c.level;
        // A standard level's size spoilt by a loaded board comes back; Custom keeps its own.
        LastColumn = 11, LastRow = 5, MineCount = 13;
        NewGameCommand();
        EXPECT_EQ(LastColumn, c.lastColumn);
        EXPECT_EQ(LastRow, c.lastRow);
        EXPECT_EQ(MineCount, c.mines);
        EXPECT_TRUE(Logged(c.log));
    }
}

TEST_F(NewGameTest, LevelItemsStartANewGameOnTheirLevelAndKeepTheCountersWindow) {
    const struct {
        uint8_t level;
        uint8_t lastColumn;
        uint16_t mines;
        const char* log;
    } cases[] = {
        {glBeginner, 7, 10, "beginner mode selected"},
        {glIntermediate, 15, 40, "intermediate mode selected"},
        {glExpert, 29, 99, "expert mode selected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        PlaySomeGame();
        calls.clear();
        SelectLevelCommand(c.level);
        ExpectFreshGame();
        EXPECT_EQ(GameLevel, c.level);
        EXPECT_EQ(Options.doStartUpMode, c.level);
        EXPECT_EQ(LastColumn, c.lastColumn);
        EXPECT_EQ(MineCount, c.mines);
        EXPECT_TRUE(Logged(c.log));
        EXPECT_TRUE(Called("layout"));
        EXPECT_TRUE(Called("redraw"));
        EXPECT_FALSE(Called("counters shown"));
        EXPECT_FALSE(Called("counters hidden"));
    }
}

TEST_F(NewGameTest, ClearingTheVideoClearsEverySlotAFileFilled) {
    // Guards the partial clear: a loaded file leaves end markers past the count it keeps.
    for (uint32_t i = 0; i < 40; ++i)
        ASSERT_TRUE(DecodeVideoEvent(i, std::array<uint8_t, 8>{0x05, 0, 1, 2, 3, 4, 0, 6}));
    VideoEventCount = 3;
    NewGameCommand();
    ExpectFreshGame();
}

} // namespace
} // namespace quorlet
