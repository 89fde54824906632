// The game clock and its tick: order of the steps, limits, samples and the 999-second end.
#include <gtest/gtest.h>

#include "core/FData.h"
#include "core/clock.h"
#include "core/endgame.h"
#include "core/test_mouse_fixture.h"
#include "core/video.h"
#include "testutil.h"

namespace quorlet {
namespace {

class ClockTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        UiHooks.RedrawBoard = [this] { ++newGames; };
        UiHooks.DrawTimer = [this] { ++timerDraws; };
        UiHooks.Beep = [this] { ++beeps; };
        UiHooks.BoardCursorPos = [this](int& x, int& y) {
            x = cursorX;
            y = cursorY;
        };
        UiHooks.SetGameTimer = [this](bool on) { timerHook = on ? 1 : 0; };
        test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
        BoardTouched = 1;
    }
    int newGames = 0;
    int timerDraws = 0;
    int beeps = 0;
    int timerHook = -1;
    int cursorX = 0;
    int cursorY = 0;
};

TEST_F(ClockTest, StartGameClockResetsOnlyWhenStopped) {
    EXPECT_EQ(GameTimerEnabled, 1);
    EXPECT_EQ(timerHook, 1);
    SetClock(4, 50);
    StartGameClock();
    EXPECT_EQ(GameClock.seconds, 4);
    DisableGameTimer();
    StartGameClock();
    EXPECT_EQ(GameClock.seconds, 0);
    EXPECT_EQ(GameClock.hundredths, 0);
}

TEST_F(ClockTest, StopGameClockEndsGameUnlessFirstClickPending) {
    WaitingFirstClick = 1;
    StopGameClock();
    EXPECT_EQ(GameOver, 0);
    EXPECT_EQ(GameTimerEnabled, 1);
    WaitingFirstClick = 0;
    StopGameClock();
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(GameTimerEnabled, 0);
    EXPECT_EQ(timerHook, 0);
}

TEST_F(ClockTest, StopGameClockDuringPlaybackDisablesTimer) {
    ReplayMode = 1;
    WaitingFirstClick = 1;
    StopGameClock();
    EXPECT_EQ(GameTimerEnabled, 0);
    EXPECT_EQ(GameOver, 0);
}

TEST_F(ClockTest, SetClockFromLastEventTakesTheLastStamp) {
    SetClock(3, 4);
    RecordLeftPress(0, 0);
    SetClock(7, 8);
    RecordLeftRelease(0, 0);
    SetClock(9, 9);
    SetClockFromLastEvent();
    EXPECT_EQ(GameClock.seconds, 7);
    EXPECT_EQ(GameClock.hundredths, 8);
}

TEST_F(ClockTest, SetClockFromLastEventWithoutEventsKeepsTheClock) {
    SetClock(9, 9);
    SetClockFromLastEvent();
    EXPECT_EQ(GameClock.seconds, 9);
    EXPECT_EQ(GameClock.hundredths, 9);
}

TEST_F(ClockTest, TickAdvancesHundredthsAndCarriesIntoSeconds) {
    test::Ticks(99);
    EXPECT_EQ(GameClock.seconds, 0);
    EXPECT_EQ(GameClock.hundredths, 99);
    test::Ticks(1);
    EXPECT_EQ(GameClock.seconds, 1);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_EQ(VideoEventCount, 100u);
}

TEST_F(ClockTest, TickRecordsTheClampedCursorSample) {
    struct Case {
        int x, y;
        uint16_t ex, ey;
    };
    const Case cases[] = {{40, 50, 40, 50}, {-3, 0, 0, 0}, {500, 128, 127, 127}, {127, -100, 127, 0}};
    for (const Case& c : cases) {
        cursorX = c.x;
        cursorY = c.y;
        test::Ticks(1);
        const TVideoEvent& e = VideoEvents[VideoEventCount - 1];
        EXPECT_EQ(e.x, c.ex) << c.x;
        EXPECT_EQ(e.y, c.ey) << c.y;
        EXPECT_EQ(e.hundredths, GameClock.hundredths);
        EXPECT_EQ(e.leftPress + e.leftRelease + e.rightPress, 0);
    }
}

TEST_F(ClockTest, TicksThatMustNotRunDoNothing) {
    struct Case {
        const char* name;
        bool disableTimerOption;
        bool timerOff;
    };
    const Case cases[] = {{"timer disabled by option", true, false},
                          {"tick queued after a disable", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options.doDisableTimer = c.disableTimerOption;
        GameTimerEnabled = c.timerOff ? 0 : 1;
        SetClock(2, 3);
        const uint32_t events = VideoEventCount;
        test::Ticks(5);
        EXPECT_EQ(GameClock.seconds, 2);
        EXPECT_EQ(GameClock.hundredths, 3);
        EXPECT_EQ(VideoEventCount, events);
    }
}

TEST_F(ClockTest, UntouchedBoardStartsANewGameAndEndsTheTick) {
    BoardTouched = 0;
    test::Ticks(1);
    EXPECT_EQ(newGames, 1);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_EQ(VideoEventCount, 0u);
}

TEST_F(ClockTest, ForcedNewGameAtTheLevelLimit) {
    Options.doForcedNewGame = true;
    Options.doFNGB = 60;
    SetClock(59, 99);
    test::Ticks(1);
    EXPECT_EQ(newGames, 0);
    EXPECT_EQ(GameClock.seconds, 60);
    test::Ticks(1);
    EXPECT_EQ(newGames, 1);
    EXPECT_EQ(GameClock.hundredths, 0);
}

TEST_F(ClockTest, ForcedNewGameNeverOnCustom) {
    GameLevel = glCustom;
    Options.doForcedNewGame = true;
    SetClock(100, 0);
    test::Ticks(1);
    EXPECT_EQ(newGames, 0);
}

TEST_F(ClockTest, BeepWhenTheSecondsReachTheLimit) {
    Options.doBeepIfTimeExceedsValues = true;
    Options.doFNGB = 3;
    test::Ticks(300);
    EXPECT_EQ(beeps, 1);
    test::Ticks(100);
    EXPECT_EQ(beeps, 1);
}

TEST_F(ClockTest, DrawTimerFollowsTheShowTenthsRule) {
    Options.doTimer = true;
    // Below 10 s every hundredth is drawn with tenths shown.
    Options.doShowTenths = true;
    test::Ticks(100);
    EXPECT_EQ(timerDraws, 100);
    // From 10 s on: only every tenth, and the whole second.
    SetClock(10, 0);
    timerDraws = 0;
    test::Ticks(100);
    EXPECT_EQ(timerDraws, 10);
    // Without tenths: only the whole second (and hundredth 1 below 10 s).
    Options.doShowTenths = false;
    SetClock(20, 0);
    timerDraws = 0;
    test::Ticks(100);
    EXPECT_EQ(timerDraws, 1);
    SetClock(5, 0);
    timerDraws = 0;
    test::Ticks(100);
    EXPECT_EQ(timerDraws, 2);
}

TEST_F(ClockTest, CountersRefreshEverySecondAndByTheRefreshDivisor) {
    CountersWindowCreated = 1;
    CountersTemplateLines = {"Time|TIME"};
    int fills = 0;
    UiHooks.FillCountersGrid = [&](int32_t) { ++fills; };
    Options.CounterRefresh = 25;
    Options.doCalculateCounters = false;
    test::Ticks(200);
    EXPECT_EQ(fills, 2);
    fills = 0;
    Options.doCalculateCounters = true;
    test::Ticks(100);
    // Hundredths 25, 50 and 75, and the whole second.
    EXPECT_EQ(fills, 4);
}

TEST_F(ClockTest, GameIsLostOnTheTickAfter999Seconds) {
    DebugWindowOn = 1;
    SetClock(998, 99);
    test::Ticks(1);
    EXPECT_EQ(GameClock.seconds, 999);
    EXPECT_EQ(GameOver, 0);
    const uint32_t events = VideoEventCount;
    test::Ticks(1);
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(GameTimerEnabled, 0);
    EXPECT_EQ(GameClock.seconds, 999);
    EXPECT_EQ(GameClock.hundredths, 0);
    // No sample after the loss.
    EXPECT_EQ(VideoEventCount, events);
    EXPECT_EQ(VisibleBoard[0][0], csBlasted);
    ASSERT_FALSE(DebugLogLines.empty());
    bool logged = false;
    for (const std::string& line : DebugLogLines)
        logged |= line.find("you are too slow. sorry, game is over") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(ClockTest, TimeOutLossIgnoresInfiniteLives) {
    Options.doInfiniteLives = true;
    SetClock(999, 0);
    test::Ticks(1);
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(VisibleBoard[0][0], csBlasted);
}

} // namespace
} // namespace quorlet
