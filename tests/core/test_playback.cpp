// Video playback: speeds and labels, the preparation of a video, the step and tick, the bar's
// buttons, and whole games recorded live and played back to the same end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/playback.h"
#include "core/qvf.h"
#include "core/video.h"
#include "test_mouse_fixture.h"
#include "testutil.h"

namespace quorlet {
namespace {

using test::Px;

class PlaybackTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
        UiHooks.RedrawBoard = [this] { ++newGames; };
        UiHooks.ShowReplayCursor = [this](bool visible) { cursorVisible = visible; };
        UiHooks.MoveReplayCursor = [this](int32_t x, int32_t y) { cursor = {x, y}; };
        UiHooks.SetGameTimerInterval = [this](uint32_t ms) { interval = ms; };
        UiHooks.SetupProgressBar = [this](int32_t maximum) { barMaximum = maximum; };
    }

    bool Logged(const std::string& text) const {
        for (const std::string& line : DebugLogLines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    // Events with the given stamps (seconds, hundredths), positions i+1 and no flags.
    static void SetVideo(const std::vector<std::pair<uint16_t, uint8_t>>& stamps) {
        VideoEvents.fill(TVideoEvent{});
        for (std::size_t i = 0; i < stamps.size(); ++i) {
            TVideoEvent& e = VideoEvents[i];
            e.seconds = stamps[i].first;
            e.hundredths = stamps[i].second;
            e.x = static_cast<uint16_t>(i + 1);
            e.y = static_cast<uint16_t>(i + 1);
        }
    }

    std::vector<std::string> messages;
    int newGames = 0;
    bool cursorVisible = false;
    std::pair<int32_t, int32_t> cursor{-1, -1};
    uint32_t interval = 0;
    int32_t barMaximum = -1;
};

// ---- Speeds and the position keys ----

TEST_F(PlaybackTest, SpeedPositionsGiveIntervalAndLabel) {
    struct Case {
        int position;
        uint32_t interval;
        const char* comma;
        const char* dot;
    };
    const Case cases[] = {
        {1, 200, "0,05x", "0.05x"},
        {2, 100, "0,10x", "0.10x"},
        {3, 66, "0,15x", "0.15x"},
        {10, 20, "0,50x", "0.50x"},
        {20, 10, "1,00x", "1.00x"},
        {21, 9, "1,05x", "1.05x"},
        {40, 5, "2,00x", "2.00x"},
        {41, 2, "5,00x", "5,00x"},
        // Out of range ends up at the nearest end, never a division by zero.
        {0, 200, "0,05x", "0.05x"},
        {99, 2, "5,00x", "5,00x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(PlaybackInterval(c.position), c.interval);
        Options.doDotSeparator = 0;
        EXPECT_EQ(PlaybackSpeedLabel(c.position), c.comma);
        Options.doDotSeparator = 1;
        EXPECT_EQ(PlaybackSpeedLabel(c.position), c.dot);
    }
}

TEST_F(PlaybackTest, ProgressKeysStepByTenRoundingHalvesToEven) {
    struct Case {
        int position, maximum;
        bool right;
        int expected;
    };
    const Case cases[] = {
        {95, 1000, true, 100},  // 105 -> 100
        {105, 1000, true, 120}, // 115 -> 120
        {35, 1000, false, 20},  // 25 -> 20
        {45, 1000, false, 40},  // 35 -> 40
        {10, 1000, false, 0},
        {7, 1000, false, 0},
        {0, 1000, false, 0},
        {990, 1000, true, 1000},
        {985, 1000, true, 1000},
        {1000, 1000, true, 1000},
        // Rounding up must not pass a maximum that is not a multiple of ten.
        {96, 107, true, 107},
        {0, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.position) + (c.right ? " right" : " left"));
        EXPECT_EQ(ProgressKeyPosition(c.position, c.maximum, c.right), c.expected);
    }
}

TEST_F(PlaybackTest, SpeedChangesOnlyWhileAVideoPlays) {
    SetPlaybackSpeed(41);
    EXPECT_EQ(PlaybackSpeed, 20);
    EXPECT_EQ(StepPlaybackSpeed(true), 20);
    ReplayMode = 1;
    SetPlaybackSpeed(41);
    EXPECT_EQ(interval, 2u);
    EXPECT_EQ(GameTimerInterval, 2u);
    EXPECT_EQ(StepPlaybackSpeed(true), 41);
    EXPECT_EQ(StepPlaybackSpeed(false), 40);
    EXPECT_EQ(interval, 5u);
    SetPlaybackSpeed(1);
    EXPECT_EQ(StepPlaybackSpeed(false), 1);
    EXPECT_EQ(interval, 200u);
}

// ---- Preparing a video ----

TEST_F(PlaybackTest, FixupVideoStartTakesTheFirstRealPositionAndFillsGaps) {
    SetVideo({{0, 0}, {0, 0}, {0, 5}, {1, 0}, {1, 1}, {1, 2}});
    VideoEvents[0].x = VideoEvents[0].y = 0;
    VideoEvents[3].x = 40;
    VideoEvents[3].y = 50;
    VideoEvents[4].x = VideoEvents[4].y = 0; // after a stamped event: takes its position
    VideoEventCount = 6;
    FixupVideoStart();
    EXPECT_EQ(VideoEvents[0].x, 40);
    EXPECT_EQ(VideoEvents[0].y, 50);
    EXPECT_EQ(VideoEvents[4].x, 40);
    EXPECT_EQ(VideoEvents[4].y, 50);
    EXPECT_EQ(VideoEvents[2].x, 3); // events stamped 0 seconds keep theirs
}

TEST_F(PlaybackTest, FixupVideoStartLooksNoFurtherThanTheCount) {
    // Guards the unbounded search: a qualifying slot past the count must not be used.
    SetVideo({{0, 0}, {0, 0}, {0, 0}, {5, 0}});
    VideoEvents[0].x = VideoEvents[0].y = 0;
    VideoEventCount = 2;
    FixupVideoStart();
    EXPECT_EQ(VideoEvents[0].x, 0);
    EXPECT_EQ(VideoEvents[0].y, 0);

    VideoEventCount = 0;
    VideoEvents[0].seconds = 3;
    VideoEvents[1].x = VideoEvents[1].y = 0;
    FixupVideoStart();
    EXPECT_EQ(VideoEvents[1].x, 0);
}

TEST_F(PlaybackTest, CheckVideoTimesZeroesLeadingStampsAndRefusesBackwards) {
    SetVideo({{0, 40}, {0, 41}, {0, 0}, {0, 1}, {0, 1}, {2, 0}});
    VideoEventCount = 5;
    EXPECT_TRUE(CheckVideoTimes());
    EXPECT_EQ(VideoEvents[0].hundredths, 0);
    EXPECT_EQ(VideoEvents[1].hundredths, 0);
    EXPECT_EQ(VideoEvents[3].hundredths, 1);

    SetVideo({{0, 0}, {1, 50}, {1, 49}});
    VideoEventCount = 2;
    EXPECT_FALSE(CheckVideoTimes());
    SetVideo({{0, 0}, {2, 0}, {1, 99}});
    VideoEventCount = 2;
    EXPECT_FALSE(CheckVideoTimes());
    // The last event counts too (the count names it during playback).
    SetVideo({{0, 0}, {2, 0}, {1, 99}});
    VideoEventCount = 1;
    EXPECT_TRUE(CheckVideoTimes());
}

TEST_F(PlaybackTest, CheckVideoTimesLeadingWalkStopsAtTheCount) {
    SetVideo({{3, 0}, {3, 1}, {3, 2}, {3, 3}});
    VideoEventCount = 2;
    EXPECT_TRUE(CheckVideoTimes());
    EXPECT_EQ(VideoEvents[2].seconds, 0);
    EXPECT_EQ(VideoEvents[3].seconds, 3); // past the last event: untouched
}

// ---- The step and the tick ----

TEST_F(PlaybackTest, StepPlaysOneStampAndZeroStampsOneByOne) {
    test::LoadBoard(test::kBeginnerBoard, glBeginner);
    SetVideo({{0, 0}, {0, 0}, {0, 3}, {0, 3}, {0, 3}, {0, 4}, {0, 4}});
    VideoEventCount = 6;
    ReplayMode = 1;
    VideoPlaybackStep(0, 0);
    EXPECT_EQ(VideoPlaybackIndex, 1u);
    VideoPlaybackStep(0, 0);
    EXPECT_EQ(VideoPlaybackIndex, 2u);
    VideoPlaybackStep(0, 3);
    EXPECT_EQ(VideoPlaybackIndex, 5u);
    EXPECT_EQ(cursor, std::make_pair(5 + 2, 5 + 2)); // the last played event's, 2 px off
    // The last event is not played with its predecessor, but on a tick of its own, once.
    VideoPlaybackStep(0, 4);
    EXPECT_EQ(VideoPlaybackIndex, 6u);
    VideoPlaybackStep(0, 4);
    EXPECT_EQ(VideoPlaybackIndex, 7u);
    VideoPlaybackStep(0, 4);
    EXPECT_EQ(VideoPlaybackIndex, 7u);
}

TEST_F(PlaybackTest, LastEventIsPlayedOnceThenTheTimerStops) {
    // Guards the end of a video: a final right press must toggle the flag once, not per tick.
    test::LoadBoard(test::kBeginnerBoard, glBeginner);
    VideoEvents.fill(TVideoEvent{});
    const auto at = [](int cell) { return static_cast<uint16_t>(Px(cell)); };
    VideoEvents[0] = TVideoEvent{0, 0, at(1), at(1), 0, 0, 0, 0, 0, 0};
    VideoEvents[1] = TVideoEvent{0, 10, at(0), at(0), 0, 1, 0, 0, 0, 0}; // right press on a mine
    VideoEventCount = 1;                                                 // the last event's index
    PreviewReplayMode = 0;
    ReplayMode = 1;
    RestartPlayback();
    ASSERT_TRUE(GameTimerEnabled);
    for (int i = 0; i < 20; ++i)
        GameClockTick();
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(RightClicks, 1);
    EXPECT_FALSE(GameTimerEnabled);
    EXPECT_GT(VideoPlaybackIndex, VideoEventCount);
    // Nothing to resume at the end; Restart rewinds.
    PausePlayback();
    EXPECT_FALSE(GameTimerEnabled);
    RestartPlayback();
    EXPECT_TRUE(GameTimerEnabled);
    EXPECT_EQ(VideoPlaybackIndex, 0u);
}

TEST_F(PlaybackTest, TickMovesClockAndBarToTheNextStamp) {
    test::LoadBoard(test::kBeginnerBoard, glBeginner);
    SetVideo({{0, 0}, {0, 7}, {1, 20}, {2, 0}});
    VideoEventCount = 3;
    std::vector<std::pair<int32_t, std::string>> positions;
    UiHooks.SetProgressPosition = [&](int32_t p, const std::string& label) {
        positions.emplace_back(p, label);
    };
    ReplayMode = 1;
    RestartPlayback();
    GameClockTick();
    EXPECT_EQ(GameClock.seconds, 0);
    EXPECT_EQ(GameClock.hundredths, 7);
    GameClockTick();
    EXPECT_EQ(GameClock.seconds, 1);
    EXPECT_EQ(GameClock.hundredths, 20);
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[1], std::make_pair(120, std::string("1,20")));
}

// ---- The bar's buttons ----

TEST_F(PlaybackTest, StopRewindsToOneSecondWithTheCursorHiddenAndRestartStartsAtZero) {
    test::LoadBoard(test::kBeginnerBoard, glBeginner);
    SetVideo({{0, 0}, {0, 7}, {1, 20}});
    VideoEventCount = 2;
    ReplayMode = ProgressBarReady = 1;
    PlaybackSpeed = 41;
    RestartPlayback();
    EXPECT_TRUE(cursorVisible);
    EXPECT_EQ(GameClock.seconds, 0);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_EQ(interval, 2u);
    EXPECT_EQ(barMaximum, 120);
    GameClockTick();
    LeftClicks = 3;
    StopPlayback();
    EXPECT_FALSE(GameTimerEnabled);
    EXPECT_FALSE(cursorVisible);
    EXPECT_EQ(cursor, std::make_pair(1, 1));
    EXPECT_EQ(GameClock.seconds, 1);
    EXPECT_EQ(GameClock.hundredths, 0);
    EXPECT_EQ(LeftClicks, 0);
    EXPECT_EQ(VideoPlaybackIndex, 0u);
    EXPECT_EQ(ReplayMode, 1);
    PausePlayback();
    EXPECT_TRUE(GameTimerEnabled);
    EXPECT_TRUE(cursorVisible);
    PausePlayback();
    EXPECT_FALSE(GameTimerEnabled);
}

// ---- Whole games: live, then played back ----

// A game played through the board's own mouse routines and the clock tick, with the cursor
// where the last move left it.
class LiveGame {
  public:
    LiveGame() {
        UiHooks.BoardCursorPos = [this](int& x, int& y) {
            x = x_;
            y = y_;
        };
    }
    void MoveTo(int c, int r) {
        x_ = Px(c);
        y_ = Px(r);
        BoardMouseMove(TMouseSender::Board, x_, y_);
    }
    void Press(TMouseButton b) { BoardMouseDown(TMouseSender::Board, b, x_, y_); }
    void Release(TMouseButton b) { BoardMouseUp(TMouseSender::Board, b, x_, y_); }
    void Click(TMouseButton b, int c, int r) {
        MoveTo(c, r);
        Tick(2);
        Press(b);
        Tick(3);
        Release(b);
    }
    void Tick(int n) {
        for (int i = 0; i < n && !GameOver; ++i)
            GameClockTick();
    }

  private:
    int x_ = 0;
    int y_ = 0;
};

struct TEndState {
    TBoardLayer visible;
    TGameClock clock;
    uint8_t gameOver, face;
    uint16_t left, right, doubles, byLeft, flagsOnMines, chords, solved, openings, flags;
    std::array<uint16_t, 9> opened;
    long double path;

    static TEndState Take() {
        return {VisibleBoard, GameClock,      GameOver,          NewGameFace,        LeftClicks,
                RightClicks,  DoubleClicks,   CellsOpenedByLeft, FlagsOnMines,       ChordsThatOpened,
                Solved3BV,    OpenedOpenings, FlagsPlaced,       OpenedNumberCounts, MousePathLength};
    }
};

void ExpectSameEnd(const TEndState& live, const TEndState& played) {
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            EXPECT_EQ(played.visible[c][r], live.visible[c][r]) << "cell " << c << "," << r;
    EXPECT_EQ(played.clock.seconds, live.clock.seconds);
    EXPECT_EQ(played.clock.hundredths, live.clock.hundredths);
    EXPECT_EQ(played.gameOver, live.gameOver);
    EXPECT_EQ(played.face, live.face);
    EXPECT_EQ(played.left, live.left);
    EXPECT_EQ(played.right, live.right);
    EXPECT_EQ(played.doubles, live.doubles);
    EXPECT_EQ(played.byLeft, live.byLeft);
    EXPECT_EQ(played.flagsOnMines, live.flagsOnMines);
    EXPECT_EQ(played.chords, live.chords);
    EXPECT_EQ(played.solved, live.solved);
    EXPECT_EQ(played.openings, live.openings);
    EXPECT_EQ(played.flags, live.flags);
    EXPECT_EQ(played.opened, live.opened);
    // Flags set before the first click must not add the way between them to the path.
    EXPECT_NEAR(static_cast<double>(played.path), static_cast<double>(live.path), 1e-6);
}

// Plays the prepared video tick by tick until the timer stops.
void PlayToTheEnd() {
    for (int guard = 0; GameTimerEnabled && guard < 200000; ++guard)
        GameClockTick();
    EXPECT_FALSE(GameTimerEnabled);
}

// A Beginner game from its first click: a flag before the click, a right-first chord over a
// covered mine (opens nothing live), flags on the mines found, then every safe cell opened.
// Loses instead when `blastAt` names a mine to open.
void PlayBeginnerGame(LiveGame& game, bool lose) {
    RandomSeed = 4242;
    GameLevel = glBeginner;
    ResetBoardForNewGame();
    ClearVideoEvents();
    game.MoveTo(6, 6);
    game.Press(mbRight); // a flag before the first click
    game.Release(mbRight);
    game.Click(mbLeft, 3, 3);
    ASSERT_FALSE(WaitingFirstClick);
    // The first covered mine: a chord over it with right released first opens nothing.
    int mc = -1, mr = -1;
    for (int c = 0; c <= LastColumn && mc < 0; ++c)
        for (int r = 0; r <= LastRow && mc < 0; ++r)
            if (HiddenBoard[c][r] == csMine && VisibleBoard[c][r] == csCovered) mc = c, mr = r;
    ASSERT_GE(mc, 0);
    game.MoveTo(mc, mr);
    game.Press(mbLeft);
    game.Tick(1);
    game.Press(mbRight);
    game.Tick(2);
    game.Release(mbRight);
    game.Tick(1);
    game.Release(mbLeft);
    ASSERT_FALSE(GameOver);
    if (lose) {
        game.Click(mbLeft, mc, mr);
        ASSERT_TRUE(GameOver);
        return;
    }
    game.Click(mbRight, mc, mr);
    // The early flag may sit on a safe cell: take it off before opening.
    while (VisibleBoard[6][6] == csFlag || VisibleBoard[6][6] == csQuestion)
        game.Click(mbRight, 6, 6);
    for (int c = 0; c <= LastColumn && !GameOver; ++c)
        for (int r = 0; r <= LastRow && !GameOver; ++r)
            if (HiddenBoard[c][r] != csMine && VisibleBoard[c][r] == csCovered) game.Click(mbLeft, c, r);
    ASSERT_TRUE(GameOver);
    ASSERT_EQ(NewGameFace, imf3);
}

TEST_F(PlaybackTest, WonGamePreviewedEndsAsTheLiveGame) {
    LiveGame game;
    PlayBeginnerGame(game, false);
    const TEndState live = TEndState::Take();
    const uint32_t events = VideoEventCount;
    ASSERT_GT(events, 20u);

    ASSERT_TRUE(PreviewLastGame());
    EXPECT_EQ(VideoEventCount, events - 1);
    EXPECT_EQ(ReplayMode, 1);
    EXPECT_EQ(PreviewReplayMode, 1);
    EXPECT_TRUE(GameTimerEnabled);
    EXPECT_EQ(VisibleBoard[3][3], csCovered);
    PlayToTheEnd();
    ExpectSameEnd(live, TEndState::Take());

    // A second preview plays the same video again: no event is lost.
    ASSERT_TRUE(PreviewLastGame());
    EXPECT_EQ(VideoEventCount, events - 1);
    PlayToTheEnd();
    ExpectSameEnd(live, TEndState::Take());
    EXPECT_TRUE(Logged("preview replay load success"));
}

TEST_F(PlaybackTest, PreviewUsesOurRulesButAPlayingFileKeepsItsVersion) {
    LiveGame game;
    ReplayVersion = 40; // left by an older file played before this game
    PlayBeginnerGame(game, false);
    const TEndState live = TEndState::Take();
    // The right-first chord must open nothing in the preview either.
    ASSERT_TRUE(PreviewLastGame());
    PlayToTheEnd();
    ExpectSameEnd(live, TEndState::Take());

    // Ctrl+Z while an older file plays: its buffer, so its rules.
    ReplayVersion = 44;
    PreviewReplayMode = 0;
    ASSERT_TRUE(PreviewLastGame());
    EXPECT_EQ(ReplayVersion, 44);
}

TEST_F(PlaybackTest, LostGamePreviewedEndsAsTheLiveGame) {
    LiveGame game;
    PlayBeginnerGame(game, true);
    const TEndState live = TEndState::Take();
    ASSERT_EQ(live.face, imf4);
    ASSERT_TRUE(PreviewLastGame());
    PlayToTheEnd();
    ExpectSameEnd(live, TEndState::Take());
}

TEST_F(PlaybackTest, PreviewRefusedBeforeTheFirstClickOrWithCheatsOnACustomBoard) {
    GameLevel = glBeginner;
    ResetBoardForNewGame();
    RecordLeftPress(5, 5);
    EXPECT_FALSE(PreviewLastGame());
    WaitingFirstClick = 0;
    GameLevel = glCustom;
    Options.doShowMinesPos = 1;
    EXPECT_FALSE(PreviewLastGame());
    EXPECT_EQ(VideoEventCount, 1u);
    EXPECT_EQ(ReplayMode, 0);
}

TEST_F(PlaybackTest, SavedFilePlaysBackToTheSameEnd) {
    LiveGame game;
    PlayBeginnerGame(game, false);
    const TEndState live = TEndState::Take();
    const uint32_t events = VideoEventCount;
    const std::string file = Home() + "game.qvf";
    ASSERT_TRUE(SaveReplayFile(file));

    // Another game in between: the file must bring its own board and video.
    ResetBoardForNewGame();
    ClearVideoEvents();
    HiddenBoard = {};
    ProgressBarReady = 1;
    ASSERT_TRUE(OpenReplayFile(file));
    EXPECT_EQ(VideoEventCount, events - 1);
    EXPECT_EQ(ReplayMode, 1);
    EXPECT_EQ(PreviewReplayMode, 0);
    EXPECT_FALSE(GameTimerEnabled);
    EXPECT_TRUE(cursorVisible);
    const TVideoEvent& last = VideoEvents[VideoEventCount];
    EXPECT_EQ(barMaximum, last.seconds * 100 + last.hundredths);
    EXPECT_TRUE(Logged("replay load success"));
    RestartPlayback();
    PlayToTheEnd();
    ExpectSameEnd(live, TEndState::Take());
}

TEST_F(PlaybackTest, OpenSwitchesTheHandicapOptionsOff) {
    LiveGame game;
    PlayBeginnerGame(game, false);
    const std::string file = Home() + "game.qvf";
    ASSERT_TRUE(SaveReplayFile(file));
    Options.doDisableRightClicks = Options.doShowMinesPos = Options.doApprox3BV2 = 1;
    ASSERT_TRUE(OpenReplayFile(file));
    EXPECT_EQ(Options.doDisableRightClicks, 0);
    EXPECT_EQ(Options.doShowMinesPos, 0);
    EXPECT_EQ(Options.doApprox3BV2, 0);
}

TEST_F(PlaybackTest, FileWithTimesGoingBackwardsIsRefused) {
    LiveGame game;
    PlayBeginnerGame(game, false);
    // A later event stamped before the one before it, in an otherwise sound file.
    VideoEvents[VideoEventCount - 1].seconds = 0;
    VideoEvents[VideoEventCount - 1].hundredths = 1;
    const std::string file = Home() + "hacked.qvf";
    ASSERT_TRUE(SaveReplayFile(file));
    ReplayMode = 1;
    EXPECT_FALSE(OpenReplayFile(file));
    EXPECT_TRUE(Logged("# file time hacked"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "File \"" + file +
                               "\"\r\n\r\nIS NOT CORRECT Minesweeper Quorlet replay file. Please, resweep "
                               ":)\r\n\r\n(see debug protocol for additional information)");
    EXPECT_EQ(ReplayMode, 0);
    EXPECT_EQ(newGames, 1);
}

TEST_F(PlaybackTest, FileThatDoesNotLoadIsRefused) {
    const std::string file = Home() + "broken.qvf";
    std::ofstream(file, std::ios::binary) << "/\x01\x02\x03\x04\x09";
    VideoEventCount = 12;
    EXPECT_FALSE(OpenReplayFile(file));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("IS NOT CORRECT "), std::string::npos);
    EXPECT_EQ(newGames, 1);
    EXPECT_EQ(VideoEventCount, 0u);
    EXPECT_EQ(ReplayMode, 0);
    EXPECT_FALSE(OpenReplayFile(Home() + "missing.qvf"));
    EXPECT_EQ(messages.size(), 2u);
}

// ---- The save command's name ----

TEST_F(PlaybackTest, ProposedNameMarksUnfinishedGamesAndNumbersTakenNames) {
    Options.ReplayFileName = "replay";
    Board3BV = 10;
    Solved3BV = 10;
    EXPECT_EQ(ProposedReplayFileName(), Home() + "replay.qvf");
    std::ofstream(Home() + "replay.qvf") << "x";
    EXPECT_EQ(ProposedReplayFileName(), Home() + "replay_(001).qvf");
    std::ofstream(Home() + "replay_(001).qvf") << "x";
    EXPECT_EQ(ProposedReplayFileName(), Home() + "replay_(002).qvf");
    Solved3BV = 9;
    EXPECT_EQ(ProposedReplayFileName(), Home() + "#replay.qvf");
}

TEST_F(PlaybackTest, SaveAllowedAfterTheFirstClickAndDuringAPreviewOnly) {
    GameLevel = glBeginner;
    WaitingFirstClick = 1;
    EXPECT_FALSE(ReplaySaveAllowed());
    WaitingFirstClick = 0;
    EXPECT_TRUE(ReplaySaveAllowed());
    ReplayMode = 1;
    EXPECT_FALSE(ReplaySaveAllowed());
    PreviewReplayMode = 1;
    EXPECT_TRUE(ReplaySaveAllowed());
    ReplayMode = PreviewReplayMode = 0;
    GameLevel = glCustom;
    Options.doInfiniteLives = 1;
    EXPECT_FALSE(ReplaySaveAllowed());
}

} // namespace
} // namespace quorlet
