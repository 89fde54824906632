// Whole games played through the board's mouse routines: wins with their record, losses,
// click counting, previews, the input source rule and the clearance presses.
#include <gtest/gtest.h>

#include <cmath>

#include "core/FData.h"
#include "core/clock.h"
#include "core/endgame.h"
#include "core/mouseinput.h"
#include "core/test_mouse_fixture.h"
#include "core/video.h"
#include "stats/gamerecord.h"
#include "testutil.h"

namespace quorlet {
namespace {

using test::Click;
using test::Press;
using test::Px;
using test::Release;
using test::Ticks;

// 16x16 with 40 mines: one opening and eight isolated numbers in the top row (3BV 9).
constexpr std::string_view kIntermediateBoard = "*.*.*.*.*.*.*.*.\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "................\n"
                                                "****************\n"
                                                "****************\n";

class MouseGameTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        SystemTimeSource = [this] { return now; };
        UiHooks.RedrawBoard = [this] { ++newGames; };
        UiHooks.RequestRedraw = [this] { ++redraws; };
        UiHooks.BoardCursorPos = [](int& x, int& y) { x = y = 0; };
    }
    void MoveTo(int x, int y) { BoardMouseMove(TMouseSender::Board, x, y); }
    bool AnyPressed() const {
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                if (VisibleBoard[c][r] == csPressedCovered || VisibleBoard[c][r] == csPressedQuestion)
                    return true;
        return false;
    }
    TSystemTime now{2026, 3, 0, 5, 14, 9, 31, 7};
    int newGames = 0;
    int redraws = 0;
};

TEST_F(MouseGameTest, RankedWinStoresTheRecordWithTheLastEventTime) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    ASSERT_EQ(Board3BV, 5);
    LastCursorPos = {static_cast<uint16_t>(Px(3)), static_cast<uint16_t>(Px(4))};
    Click(mbLeft, 3, 4);
    EXPECT_EQ(BoardTouched, 1);
    Click(mbRight, 0, 0); // a flag on a mine
    for (int c : {1, 3, 5, 7}) {
        Ticks(250);
        MoveTo(Px(c), Px(0));
        Click(mbLeft, c, 0);
    }
    ASSERT_EQ(GameOver, 1);
    EXPECT_EQ(NewGameFace, imf3);
    EXPECT_EQ(GameTimerEnabled, 0);
    EXPECT_EQ(GameClock.seconds, 10);
    EXPECT_EQ(GameClock.hundredths, 0);
    Ticks(50);
    EXPECT_EQ(GameClock.seconds, 10);
    EXPECT_EQ(GameClock.hundredths, 0);

    ASSERT_EQ(FindFreeHistorySlot(), 1u);
    const TGameRecord& rec = GameHistory[0];
    EXPECT_EQ(rec.day, 5);
    EXPECT_EQ(rec.month, 3);
    EXPECT_EQ(rec.year, 2026);
    EXPECT_EQ(rec.hour, 14);
    EXPECT_EQ(rec.minute, 9);
    EXPECT_EQ(rec.second, 31);
    EXPECT_EQ(rec.timeSec, 10);
    EXPECT_EQ(rec.timeHund, 0);
    EXPECT_EQ(rec.bbbv, 5);
    EXPECT_EQ(rec.bbbvsWhole, 0);
    EXPECT_EQ(rec.bbbvsHund, 50);
    EXPECT_NEAR(rec.rqp, 11.0 / 0.5, 1e-4);
    EXPECT_EQ(rec.ios, 0.0f);
    EXPECT_EQ(rec.level, glBeginner);
    EXPECT_EQ(rec.flagging, 1);
    EXPECT_EQ(rec.leftClicks, 5);
    EXPECT_EQ(rec.rightClicks, 1);
    EXPECT_EQ(rec.doubleClicks, 0);
    EXPECT_EQ(rec.effLeftClicks, 5);
    EXPECT_EQ(rec.effRightClicks, 1);
    EXPECT_EQ(rec.effDoubleClicks, 0);
    EXPECT_EQ(rec.openings, 1);
    // 3BV per click: 5 of 6 clicks were useful.
    EXPECT_EQ(rec.bbbv * 6, (rec.leftClicks + rec.rightClicks) * 5);
    const double path = std::hypot(32.0, 64.0) + 3 * 32.0;
    EXPECT_EQ(rec.path, static_cast<uint32_t>(path));
    EXPECT_EQ(rec.cellCount[2], NumberCellCounts[2]);
    EXPECT_EQ(LevelGameCounts[glBeginner], 1u);
    EXPECT_EQ(GameEndStamp, "5.14:09:31:007");
}

TEST_F(MouseGameTest, NoFlagIntermediateWinHasIos) {
    test::StartLoadedGame(kIntermediateBoard, glIntermediate);
    ASSERT_EQ(Board3BV, 9);
    Click(mbLeft, 8, 8);
    for (int c = 1; c < 16; c += 2) {
        Ticks(100);
        Click(mbLeft, c, 0);
    }
    ASSERT_EQ(GameOver, 1);
    const TGameRecord& rec = GameHistory[0];
    EXPECT_EQ(rec.timeSec, 8);
    EXPECT_EQ(rec.flagging, 0);
    EXPECT_EQ(rec.rightClicks, 0);
    EXPECT_EQ(rec.bbbvsWhole, 1);
    EXPECT_EQ(rec.bbbvsHund, 12);
    EXPECT_NEAR(rec.rqp, 9.0 / 1.12, 1e-4);
    EXPECT_NEAR(rec.ios, std::log(9.0) / std::log(8.0), 1e-5);
    EXPECT_EQ(LevelGameCounts[glIntermediate], 1u);
}

TEST_F(MouseGameTest, WrongChordLosesAtTheFirstMineInNeighbourOrder) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Click(mbRight, 0, 0); // right
    Click(mbRight, 1, 0); // wrong: a safe number
    ASSERT_EQ(VisibleBoard[1][1], 2);
    Press(mbLeft, 1, 1);
    Press(mbRight, 1, 1);
    Release(mbLeft, 1, 1);
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(NewGameFace, imf4);
    EXPECT_EQ(GameTimerEnabled, 0);
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_EQ(LeftClicks, 1);
    EXPECT_EQ(VisibleBoard[2][0], csBlasted);
    EXPECT_EQ(VisibleBoard[1][0], csWrongMark);
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(VisibleBoard[4][0], csMine);
    EXPECT_EQ(VisibleBoard[0][7], csMine);
    EXPECT_EQ(LeftDown + RightDown + MiddleDown + ChordGuard, 0);
    const uint32_t events = VideoEventCount;
    Release(mbRight, 1, 1);
    EXPECT_EQ(VideoEventCount, events);
    EXPECT_EQ(FindFreeHistorySlot(), 0u);
    EXPECT_EQ(LevelGameCounts[glBeginner], 0u);
}

TEST_F(MouseGameTest, LossAt999SecondsEndsTheGameThroughTheTick) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Ticks(99900);
    EXPECT_EQ(GameClock.seconds, 999);
    EXPECT_EQ(GameOver, 0);
    Ticks(1);
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(GameClock.seconds, 999);
    EXPECT_EQ(VisibleBoard[0][0], csBlasted);
    // The board then takes no more moves.
    Click(mbLeft, 1, 0);
    EXPECT_EQ(VisibleBoard[1][0], csCovered);
    EXPECT_EQ(FindFreeHistorySlot(), 0u);
}

TEST_F(MouseGameTest, LeftClickGivesTwoEventsWithEqualStamps) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Ticks(7);
    Click(mbLeft, 1, 0);
    ASSERT_EQ(VideoEventCount, 11u);
    const TVideoEvent& press = VideoEvents[9];
    const TVideoEvent& release = VideoEvents[10];
    EXPECT_EQ(press.leftPress, 1);
    EXPECT_EQ(release.leftRelease, 1);
    EXPECT_EQ(press.hundredths, 7);
    EXPECT_EQ(release.hundredths, 7);
    EXPECT_EQ(release.x, Px(1));
    EXPECT_EQ(release.y, Px(0));
}

TEST_F(MouseGameTest, ReleaseOutsideTheBoardCountsNoClick) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Press(mbLeft, 3, 4);
    EXPECT_EQ(VisibleBoard[3][4], csPressedCovered);
    EXPECT_EQ(NewGameFace, imf2);
    MoveTo(400, 300);
    EXPECT_EQ(VisibleBoard[3][4], csCovered);
    BoardMouseUp(TMouseSender::Board, mbLeft, 400, 300);
    EXPECT_EQ(LeftClicks, 0);
    EXPECT_EQ(LeftDown, 0);
    EXPECT_EQ(NewGameFace, imf1);
    const TVideoEvent& last = VideoEvents[VideoEventCount - 1];
    EXPECT_EQ(last.leftRelease, 1);
    EXPECT_EQ(last.x, 7 * 16 + 16);
    EXPECT_EQ(last.y, 7 * 16 + 16);
    EXPECT_FALSE(AnyPressed());
}

TEST_F(MouseGameTest, RightReleasedFirstChordsAndTheLeftReleaseCountsNothing) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Click(mbRight, 0, 0);
    Click(mbRight, 2, 0);
    ASSERT_EQ(RightClicks, 2);
    Press(mbLeft, 1, 2);
    Press(mbRight, 1, 2);
    EXPECT_EQ(RightClicks, 2);
    Press(mbLeft, 1, 1);
    Press(mbRight, 1, 1);
    // The 3x3 press shows on the covered neighbour only.
    EXPECT_EQ(VisibleBoard[1][0], csPressedCovered);
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(RightClicks, 2);
    Release(mbRight, 1, 1);
    EXPECT_EQ(ChordGuard, 1);
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_EQ(ChordsThatOpened, 1);
    EXPECT_EQ(VisibleBoard[1][0], 2);
    Release(mbLeft, 1, 1);
    EXPECT_EQ(ChordGuard, 0);
    EXPECT_EQ(LeftClicks, 1);
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_FALSE(AnyPressed());
}

TEST_F(MouseGameTest, ClicksOnFlagsAndNumbersCountButChangeNothing) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Click(mbRight, 1, 0);
    ASSERT_EQ(VisibleBoard[1][0], csFlag);
    Click(mbLeft, 1, 0);
    EXPECT_EQ(LeftClicks, 2);
    EXPECT_EQ(CellsOpenedByLeft, 1);
    EXPECT_EQ(VisibleBoard[1][0], csFlag);
    const TCellState number = VisibleBoard[1][1];
    Click(mbRight, 1, 1);
    EXPECT_EQ(RightClicks, 2);
    EXPECT_EQ(VisibleBoard[1][1], number);
    EXPECT_EQ(GameOver, 0);
}

TEST_F(MouseGameTest, FlagsBeforeTheFirstClickSurviveGeneration) {
    GameLevel = glBeginner;
    LastColumn = LastRow = 7;
    MineCount = 10;
    for (auto& column : VisibleBoard)
        column.fill(csCovered);
    WaitingFirstClick = 1;
    Click(mbRight, 7, 7);
    EXPECT_EQ(VisibleBoard[7][7], csFlag);
    Click(mbLeft, 0, 0);
    EXPECT_EQ(WaitingFirstClick, 0);
    EXPECT_EQ(GameTimerEnabled, 1);
    EXPECT_LE(VisibleBoard[0][0], 8);
    EXPECT_EQ(VisibleBoard[7][7], csFlag);
    EXPECT_EQ(LeftClicks, 1);
    EXPECT_EQ(RightClicks, 1);
}

TEST_F(MouseGameTest, MiddleReleaseWithoutChordStillReleasesThePreview) {
    struct Case {
        const char* name;
        bool disableRight;
        bool disableGroup;
    };
    const Case cases[] = {{"right clicks disabled", true, false}, {"group open disabled", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
        DoubleClicks = 0;
        Options.doDisableRightClicks = c.disableRight;
        Options.doDisableGroupOpen = c.disableGroup;
        Press(mbMiddle, 3, 3);
        EXPECT_EQ(VisibleBoard[2][2], csPressedCovered);
        Release(mbMiddle, 3, 3);
        EXPECT_FALSE(AnyPressed());
        EXPECT_EQ(DoubleClicks, 0);
        EXPECT_EQ(MiddleDown, 0);
    }
}

TEST_F(MouseGameTest, DisabledRightClicksAreNotEvenRecorded) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Options.doDisableRightClicks = true;
    Click(mbRight, 1, 0);
    EXPECT_EQ(VideoEventCount, 0u);
    EXPECT_EQ(RightClicks, 0);
    EXPECT_EQ(VisibleBoard[1][0], csCovered);
}

TEST_F(MouseGameTest, MiddleChordOpensAroundAnOpenedNumber) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Click(mbRight, 0, 0);
    Click(mbRight, 2, 0);
    Click(mbMiddle, 1, 1);
    EXPECT_EQ(VisibleBoard[1][0], 2);
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_EQ(ChordsThatOpened, 1);
}

TEST_F(MouseGameTest, InputSourceRuleSeparatesBoardAndPlayer) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    BoardMouseDown(TMouseSender::ReplaySender, mbLeft, Px(3), Px(4));
    EXPECT_EQ(LeftDown, 0);
    ReplayMode = 1;
    Press(mbLeft, 3, 4);
    EXPECT_EQ(LeftDown, 0);
    BoardMouseDown(TMouseSender::ReplaySender, mbLeft, Px(3), Px(4));
    EXPECT_EQ(LeftDown, 1);
    // Playback records nothing.
    EXPECT_EQ(VideoEventCount, 0u);
}

TEST_F(MouseGameTest, FastPlaybackSkipsThePreviewRedraws) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    ReplayMode = 1;
    BoardMouseDown(TMouseSender::ReplaySender, mbLeft, Px(3), Px(4));
    for (const auto& [speed, drawn] : {std::pair{10, 1}, std::pair{11, 0}, std::pair{41, 0}}) {
        PlaybackSpeed = static_cast<uint8_t>(speed);
        redraws = 0;
        BoardMouseMove(TMouseSender::ReplaySender, Px(4), Px(4));
        EXPECT_EQ(redraws, drawn) << speed;
        // The preview itself still moves with the cursor.
        EXPECT_EQ(VisibleBoard[4][4], csPressedCovered) << speed;
        EXPECT_EQ(VisibleBoard[3][4], csCovered) << speed;
        BoardMouseMove(TMouseSender::ReplaySender, Px(3), Px(4));
    }
}

TEST_F(MouseGameTest, ReplayedPressFarOutsideTheLayersReachesNoCell) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    ReplayMode = 1;
    const TBoardLayer before = VisibleBoard;
    // 4096 / 16 would wrap to column 0 in a byte; 4111 / 16 = 256 + 1.
    BoardMouseDown(TMouseSender::ReplaySender, mbRight, 4111, 4111);
    EXPECT_EQ(RightDown, 1);
    EXPECT_EQ(VisibleBoard, before);
    BoardMouseDown(TMouseSender::ReplaySender, mbLeft, 65535, 20);
    EXPECT_EQ(LeftDown, 1);
    BoardMouseUp(TMouseSender::ReplaySender, mbLeft, 65535, 20);
    EXPECT_EQ(VisibleBoard, before);
    EXPECT_EQ(LeftDown, 0);
}

TEST_F(MouseGameTest, MovesAddPathAndSamplesOnlyAfterTheFirstClick) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    WaitingFirstClick = 1;
    MoveTo(50, 50);
    EXPECT_EQ(VideoEventCount, 0u);
    EXPECT_EQ(MousePathLength, 0);
    WaitingFirstClick = 0;
    LastCursorPos = {10, 10};
    MoveTo(13, 14);
    MoveTo(-40, 14); // clamped to x 0
    EXPECT_NEAR(static_cast<double>(MousePathLength), 5.0 + 13.0, 1e-9);
    ASSERT_EQ(VideoEventCount, 2u);
    EXPECT_EQ(VideoEvents[1].x, 0);
}

TEST_F(MouseGameTest, DoubleLeftPressAfterALossStartsANewGame) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Options.doClearanceOnLeftBtn = true;
    Click(mbLeft, 0, 0);
    ASSERT_EQ(GameOver, 1);
    Press(mbLeft, 3, 3);
    EXPECT_EQ(newGames, 0);
    now.milliseconds += 400;
    Press(mbLeft, 3, 3); // too late: only restarts the wait
    EXPECT_EQ(newGames, 0);
    now.milliseconds += 200;
    Press(mbLeft, 3, 3);
    EXPECT_EQ(newGames, 1);
    EXPECT_EQ(LeftDoubleClickCount, 0);
}

TEST_F(MouseGameTest, MiddlePressClearsAtAnyTimeWhenEnabled) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Options.doClearanceOnMiddleBtn = true;
    Press(mbMiddle, 3, 3);
    EXPECT_EQ(newGames, 1);
    EXPECT_EQ(MiddleDown, 0);
}

TEST_F(MouseGameTest, SessionClicksCountBoardReleases) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Click(mbLeft, 3, 4);
    Click(mbRight, 0, 0);
    BoardMouseUp(TMouseSender::Board, mbLeft, 400, 400);
    EXPECT_EQ(SessionClicks, 3u);
}

} // namespace
} // namespace quorlet
