// The end of a game: rankability, the reveal after a loss, the clearance rule and the record.
#include <gtest/gtest.h>

#include <string>

#include "core/FData.h"
#include "core/board.h"
#include "core/endgame.h"
#include "core/test_mouse_fixture.h"
#include "stats/gamerecord.h"
#include "testutil.h"

namespace quorlet {
namespace {

class EndGameTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        SystemTimeSource = [] { return TSystemTime{2026, 11, 0, 21, 8, 5, 0, 42}; };
        UiHooks.RedrawBoard = [this] { newGameAt.push_back(DebugLogLines.size()); };
        UiHooks.SetSaveReplayEnabled = [this](bool on) { saveReplay = on ? 1 : 0; };
        DebugWindowOn = 1;
    }
    bool Logged(const std::string& text) const {
        for (const std::string& line : DebugLogLines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    std::vector<std::size_t> newGameAt;
    int saveReplay = -1;
};

TEST_F(EndGameTest, RankabilityRule) {
    struct Case {
        const char* name;
        uint8_t level;
        uint8_t lastColumn, lastRow;
        uint16_t mines;
        bool tOptionsSet::*cheat;
        bool unranked;
        bool clean;
    };
    const Case cases[] = {
        {"beginner", glBeginner, 7, 7, 10, nullptr, false, true},
        {"intermediate", glIntermediate, 15, 15, 40, nullptr, false, true},
        {"expert", glExpert, 29, 15, 99, nullptr, false, true},
        {"custom of expert size", glCustom, 29, 15, 99, nullptr, true, true},
        {"beginner with wrong mines", glBeginner, 7, 7, 11, nullptr, true, true},
        {"expert turned", glExpert, 15, 29, 99, nullptr, true, true},
        {"no timer", glBeginner, 7, 7, 10, &tOptionsSet::doDisableTimer, true, false},
        {"auto flag", glBeginner, 7, 7, 10, &tOptionsSet::doAutoFlag, true, false},
        {"no group open", glBeginner, 7, 7, 10, &tOptionsSet::doDisableGroupOpen, true, false},
        {"no right clicks", glBeginner, 7, 7, 10, &tOptionsSet::doDisableRightClicks, true, false},
        {"infinite lives", glBeginner, 7, 7, 10, &tOptionsSet::doInfiniteLives, true, false},
        {"probabilities", glBeginner, 7, 7, 10, &tOptionsSet::doShowProbabilities, true, false},
        {"mines shown", glBeginner, 7, 7, 10, &tOptionsSet::doShowMinesPos, true, false},
        {"3BV shown", glBeginner, 7, 7, 10, &tOptionsSet::doShow3BVAfterGameStart, true, false},
        {"3BV at most", glBeginner, 7, 7, 10, &tOptionsSet::doApprox3BV, true, false},
        {"3BV at least", glBeginner, 7, 7, 10, &tOptionsSet::doApprox3BV2, true, false},
        {"must have 7", glBeginner, 7, 7, 10, &tOptionsSet::doMustHave7, true, false},
        {"must have 8", glBeginner, 7, 7, 10, &tOptionsSet::doMustHave8, true, false},
        {"harmless option", glBeginner, 7, 7, 10, &tOptionsSet::doMarks, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options = tOptionsSet{};
        Options.doMarks = false;
        if (c.cheat) Options.*c.cheat = true;
        GameLevel = c.level;
        LastColumn = c.lastColumn;
        LastRow = c.lastRow;
        MineCount = c.mines;
        EXPECT_EQ(IsGameUnranked(), c.unranked);
        EXPECT_EQ(IsGameClean(), c.clean);
    }
}

TEST_F(EndGameTest, LossRevealsMinesAndWrongMarks) {
    test::StartLoadedGame("*..*\n"
                          "....\n"
                          "*...\n"
                          "...*\n");
    VisibleBoard[0][0] = csFlag;            // flag on a mine stays
    VisibleBoard[1][0] = csFlag;            // flag on a safe cell
    VisibleBoard[2][0] = csQuestion;        // question mark on a safe cell
    VisibleBoard[3][0] = csQuestion;        // question mark on a mine
    VisibleBoard[1][1] = csPressedQuestion; // pressed question mark on a safe cell
    VisibleBoard[0][2] = csPressedCovered;  // pressed covered on a mine
    VisibleBoard[2][2] = 1;                 // opened number
    GameLost(3, 3);
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(VisibleBoard[1][0], csWrongMark);
    EXPECT_EQ(VisibleBoard[2][0], csWrongMark);
    EXPECT_EQ(VisibleBoard[3][0], csMine);
    EXPECT_EQ(VisibleBoard[1][1], csWrongMark);
    EXPECT_EQ(VisibleBoard[0][2], csMine);
    EXPECT_EQ(VisibleBoard[2][2], 1);
    EXPECT_EQ(VisibleBoard[3][3], csBlasted);
    EXPECT_EQ(VisibleBoard[3][2], csCovered);
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(GameTimerEnabled, 0);
    EXPECT_EQ(GameEndStamp, "21.08:05:00:042");
    EXPECT_TRUE(Logged("blast time="));
    EXPECT_TRUE(Logged(" 3bv=0/" + std::to_string(Board3BV) + " 3bv/s="));
    EXPECT_EQ(saveReplay, 1); // custom but clean
}

TEST_F(EndGameTest, LossSetsPlaybackIndexAndClearsButtons) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    VideoEventCount = 12;
    LeftDown = RightDown = MiddleDown = ChordGuard = 1;
    GameLost(0, 0);
    EXPECT_EQ(VideoPlaybackIndex, 12u);
    EXPECT_EQ(LeftDown + RightDown + MiddleDown + ChordGuard, 0);
}

TEST_F(EndGameTest, InfiniteLivesCoversTheCellAgainAndPlayGoesOn) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Options.doInfiniteLives = true;
    VisibleBoard[2][0] = csMine;
    GameLost(2, 0);
    EXPECT_EQ(VisibleBoard[2][0], csCovered);
    EXPECT_EQ(GameOver, 0);
    EXPECT_EQ(GameTimerEnabled, 1);
    EXPECT_TRUE(Logged("godmode .. on .. awakening!"));
    // Cheat options never spare a played video.
    ReplayMode = 1;
    GameLost(2, 0);
    EXPECT_EQ(GameOver, 1);
}

TEST_F(EndGameTest, BoardClearanceByThreshold) {
    struct Case {
        const char* name;
        uint16_t solved;
        uint16_t board;
        bool cleared;
    };
    const Case cases[] = {
        {"7.5 % of 40", 3, 40, true},
        {"exactly 10 %", 4, 40, true},
        {"12.5 % of 40", 5, 40, false},
        {"a board without 3BV", 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
        Options.doBoardClearance = true;
        Options.seClearanceCompl = 10;
        Solved3BV = c.solved;
        Board3BV = c.board;
        newGameAt.clear();
        DebugLogLines.clear();
        GameLost(0, 0);
        ASSERT_EQ(newGameAt.size(), c.cleared ? 1u : 0u);
        // The lost game is logged before its board is replaced.
        if (c.cleared) {
            EXPECT_GE(newGameAt[0], 2u);
        }
    }
}

TEST_F(EndGameTest, WinWithoutASolvedBoardDoesNothing) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    GameWon();
    EXPECT_EQ(GameOver, 0);
    EXPECT_EQ(GameTimerEnabled, 1);
}

// Opens every safe cell and credits the whole 3BV, as a finished game leaves the board.
void SolveBoard() {
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            if (HiddenBoard[c][r] != csMine) VisibleBoard[c][r] = HiddenBoard[c][r];
    Solved3BV = Board3BV;
}

TEST_F(EndGameTest, WhichWinsAreStored) {
    struct Case {
        const char* name;
        uint8_t level;
        bool cheat;
        bool replay;
        bool stored;
        int saveReplay;
    };
    const Case cases[] = {
        {"ranked beginner", glBeginner, false, false, true, 1},
        {"custom: not stored, replay may be saved", glCustom, false, false, false, 1},
        {"cheat option: neither", glBeginner, true, false, false, -1},
        {"during playback", glBeginner, false, true, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearGameHistory();
        saveReplay = -1;
        test::StartLoadedGame(test::kBeginnerBoard, c.level);
        Options.doShowMinesPos = c.cheat;
        ReplayMode = c.replay ? 1 : 0;
        SetClock(4, 20);
        RecordLeftRelease(5, 5);
        SolveBoard();
        GameWon();
        EXPECT_EQ(GameOver, 1);
        EXPECT_EQ(FindFreeHistorySlot(), c.stored ? 1u : 0u);
        EXPECT_EQ(LevelGameCounts[glBeginner], c.stored ? 1u : 0u);
        EXPECT_EQ(saveReplay, c.saveReplay);
        Options = tOptionsSet{};
        ReplayMode = 0;
    }
}

TEST_F(EndGameTest, WinLogsTheTimeAndFillsFlags) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    Options.doFillFlags = true;
    SetClock(12, 5);
    RecordLeftRelease(5, 5);
    SetClock(12, 9);
    SolveBoard();
    const uint16_t flags = FlagsPlaced;
    GameWon();
    EXPECT_EQ(GameClock.hundredths, 5);
    EXPECT_EQ(VisibleBoard[0][0], csFlag);
    EXPECT_EQ(VisibleBoard[5][7], csFlag);
    EXPECT_EQ(FlagsPlaced, flags);
    EXPECT_TRUE(Logged("game win at 12,05 sec 3BV=5"));
    EXPECT_EQ(GameHistory[0].timeSec, 12);
    EXPECT_EQ(GameHistory[0].timeHund, 5);
}

TEST_F(EndGameTest, FullHistoryTableKeepsItsEndSlot) {
    for (uint32_t i = 0; i < kHistoryCapacity; ++i)
        GameHistory[i].day = 1;
    LevelGameCounts = {7, 0, 0};
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    RecordLeftRelease(5, 5);
    SolveBoard();
    GameWon();
    EXPECT_EQ(GameOver, 1);
    EXPECT_EQ(GameHistory[kHistoryCapacity].day, 0);
    EXPECT_EQ(LevelGameCounts[glBeginner], 7u);
    EXPECT_TRUE(Logged("# history table full"));
}

} // namespace
} // namespace quorlet
