// The video file reader on crafted files: each check, its log line, and the live game left alone
// by every refused file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/playback.h"
#include "core/qvf.h"
#include "test_qvf_fixture.h"

namespace quorlet {
namespace {

using test::QvfTest;
using Bytes = std::vector<uint8_t>;

// A live game that a refused file must not touch.
void SetSentinelGame() {
    GameLevel = glCustom;
    LastColumn = 11;
    LastRow = 9;
    MineCount = 1;
    HiddenBoard = {};
    HiddenBoard[3][4] = csMine;
    VisibleBoard = {};
    VisibleBoard[5][5] = csFlag;
    VideoEvents.fill(TVideoEvent{});
    VideoEvents[0] = {1, 2, 3, 4, 1, 0, 0, 0, 0, 0};
    VideoEventCount = 1;
    ReplayPlayerName = "keep";
    ReplayCountry = 9;
    ReplayVersion = 1;
    Options.doMarks = true;
}

void ExpectSentinelGame() {
    EXPECT_EQ(GameLevel, glCustom);
    EXPECT_EQ(LastColumn, 11);
    EXPECT_EQ(LastRow, 9);
    EXPECT_EQ(MineCount, 1);
    TBoardLayer hidden{};
    hidden[3][4] = csMine;
    TBoardLayer visible{};
    visible[5][5] = csFlag;
    EXPECT_EQ(HiddenBoard, hidden);
    EXPECT_EQ(VisibleBoard, visible);
    EXPECT_EQ(VideoEventCount, 1u);
    EXPECT_EQ(VideoEvents[0].x, 3);
    EXPECT_EQ(VideoEvents[1].seconds, 0);
    EXPECT_EQ(ReplayPlayerName, "keep");
    EXPECT_EQ(ReplayCountry, 9);
    EXPECT_EQ(ReplayVersion, 1);
    EXPECT_TRUE(Options.doMarks);
}

// A saved Beginner and a saved custom game with their layouts.
struct TSaved {
    Bytes bytes;
    TQvfLayout at;
};
TSaved SavedBeginner() {
    test::PlayWonBeginnerGame();
    TSaved s;
    s.bytes = BuildReplayBytes(ReplayInfoText(), VideoEventCount, &s.at);
    return s;
}
TSaved SavedCustom() {
    test::PlayCustomGame();
    TSaved s;
    s.bytes = BuildReplayBytes(ReplayInfoText(), VideoEventCount, &s.at);
    return s;
}

void SetCount(Bytes& f, const TQvfLayout& at, uint32_t count) {
    for (int i = 0; i < 4; ++i)
        f[at.countBegin + i] = ShiftByte(static_cast<uint8_t>(count >> (24 - 8 * i)));
}

const std::string kGlobal = "replay load: # global load error (v.47)";
std::string Short(std::size_t read, int version = 47) {
    return "#" + std::to_string(read) + " replay load unknown error (v." + std::to_string(version) + ")";
}
std::string Hacked(std::size_t read) {
    return "replay load: #" + std::to_string(read) + " file hacked 1(v.47)";
}

struct TCrafted {
    const char* name;
    bool custom;
    // Damages the file; returns the log line the reader must write.
    std::function<std::string(Bytes&, const TQvfLayout&)> damage;
};

TEST_F(QvfTest, EveryRefusedFileLogsItsReasonAndLeavesTheGame) {
    const TCrafted cases[] = {
        {"level byte 7", false, [](Bytes& f, auto&) { return f[5] = 7, kGlobal; }},
        {"level byte 2", false, [](Bytes& f, auto&) { return f[5] = 2, kGlobal; }},
        {"moved mine", false, [](Bytes& f, auto&) { return f[6] = 2, kGlobal; }},
        {"mine repeated", false, [](Bytes& f, auto&) { return f[8] = f[6], f[9] = f[7], kGlobal; }},
        {"mine row off the board", false, [](Bytes& f, auto&) { return f[6] = 9, kGlobal; }},
        {"mine column 0", false, [](Bytes& f, auto&) { return f[7] = 0, kGlobal; }},
        {"custom width 255", true, [](Bytes& f, auto&) { return f[6] = 255, kGlobal; }},
        {"custom height 30", true, [](Bytes& f, auto&) { return f[7] = 30, kGlobal; }},
        {"more mines than cells", true, [](Bytes& f, auto&) { return f[8] = 0, f[9] = 73, kGlobal; }},
        {"mine off a custom board", true, [](Bytes& f, auto&) { return f[11] = 10, kGlobal; }},
        {"event count whose + 1 wraps", false,
         [](Bytes& f, auto& at) { return SetCount(f, at, 0xFFFFFFFF), kGlobal; }},
        {"event count past the buffer", false,
         [](Bytes& f, auto& at) { return SetCount(f, at, kVideoSlots), kGlobal; }},
        // The largest count that fits passes its check, and the file then runs short.
        {"largest event count", false,
         [](Bytes& f, auto& at) { return SetCount(f, at, kVideoSlots - 1), Short(at.eventsBegin); }},
        {"player name edited", false, [](Bytes& f, auto& at) { return ++f[at.idBegin + 1], kGlobal; }},
        {"player name longer", false, [](Bytes& f, auto& at) { return ++f[at.idBegin], kGlobal; }},
        {"wrong marks byte", false, [](Bytes& f, auto& at) { return f[at.marksAt] = 18, kGlobal; }},
        {"information text edited", false, [](Bytes& f, auto& at) { return ++f[at.infoBegin + 2], kGlobal; }},
        {"event edited", false,
         [](Bytes& f, auto& at) {
             return ++f[at.eventsBegin + 8 * 3 + 3], Hacked(at.checkBegin + at.checkLength);
         }},
        {"check value not a number", false,
         [](Bytes& f, auto& at) {
             return f[at.checkBegin + 1] = 'x', Hacked(at.checkBegin + at.checkLength);
         }},
        {"empty file", false, [](Bytes& f, auto&) { return f.clear(), Short(0, 0); }},
        {"cut in the filler", false, [](Bytes& f, auto&) { return f.resize(3), Short(1); }},
        {"cut in the mines", false, [](Bytes& f, auto&) { return f.resize(11), Short(10); }},
        {"cut in the events", false,
         [](Bytes& f, auto& at) { return f.resize(at.eventsBegin + 13), Short(at.eventsBegin); }},
        {"cut in the check value", false,
         [](Bytes& f, auto& at) { return f.resize(at.checkBegin + 1), Short(at.checkBegin); }},
    };
    for (const TCrafted& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        TSaved s = c.custom ? SavedCustom() : SavedBeginner();
        const std::string expected = c.damage(s.bytes, s.at);
        WriteBytes(Home() + "bad.qvf", s.bytes);
        SetSentinelGame();
        DebugLogLines.clear();
        int flags = 0;
        UiHooks.ShowReplayFlag = [&](uint8_t) { ++flags; };
        int shown = 0;
        UiHooks.ShowMessageBox = [&](const std::string&) { ++shown; };
        EXPECT_FALSE(LoadReplayFile(Home() + "bad.qvf"));
        EXPECT_TRUE(Logged(expected)) << (DebugLogLines.empty() ? "" : DebugLogLines.front());
        EXPECT_FALSE(Logged("replay is correct (v.47)"));
        // The reader only logs; the caller shows the message.
        EXPECT_EQ(shown, 0);
        EXPECT_EQ(flags, 0);
        ExpectSentinelGame();
        TearDown();
    }
}

TEST_F(QvfTest, CheckValuesDifferingByWholeMultiplesOf256Pass) {
    const TSaved s = SavedBeginner();
    const std::string own(s.bytes.begin() + s.at.checkBegin,
                          s.bytes.begin() + s.at.checkBegin + s.at.checkLength);
    const int64_t c = std::stoll(own);
    ASSERT_GT(c, 10000);
    struct Case {
        int64_t delta;
        bool accepted;
    };
    for (const Case& k : {Case{0, true}, Case{256, true}, Case{-256, true}, Case{512, true}, Case{1, false},
                          Case{255, false}, Case{-257, false}}) {
        SCOPED_TRACE(k.delta);
        const std::string text = std::to_string(c + k.delta);
        ASSERT_EQ(text.size(), own.size());
        Bytes f = s.bytes;
        std::copy(text.begin(), text.end(), f.begin() + static_cast<std::ptrdiff_t>(s.at.checkBegin));
        EXPECT_EQ(LoadReplayBytes(f), k.accepted);
    }
}

// The layout as written by an encoder of the test's own: the reader takes it, whatever the
// filler, with every field where the layout puts it.
TEST_F(QvfTest, HandMadeFilesLoad) {
    test::THandMadeQvf f = test::HandBeginner();
    f.country = 3;
    f.marks = 17;
    f.id = "Bob";
    ASSERT_TRUE(LoadReplayBytes(f.Bytes()));
    EXPECT_EQ(GameLevel, glBeginner);
    EXPECT_EQ(HiddenBoard[0][0], csMine);
    EXPECT_EQ(HiddenBoard[1][0], 2);
    EXPECT_EQ(ReplayPlayerName, "Bob");
    EXPECT_EQ(ReplayCountry, 3);
    EXPECT_TRUE(Options.doMarks);
    EXPECT_EQ(VideoEventCount, 8u);
    EXPECT_EQ(VideoEvents[1].leftPress, 1);
    EXPECT_EQ(VideoEvents[1].x, 117);
    EXPECT_EQ(VideoEvents[2].leftRelease, 1);
    EXPECT_EQ(VideoEvents[2].hundredths, 6);
    EXPECT_EQ(VideoEvents[3].seconds, 1000);

    // The smallest custom board the layers allow, and the largest, full of mines.
    test::THandMadeQvf tiny;
    tiny.level = 6;
    tiny.custom = {0, 0, 0, 1};
    tiny.mines = {{0, 0}};
    tiny.events.assign(6, test::kEndMarker);
    ASSERT_TRUE(LoadReplayBytes(tiny.Bytes()));
    EXPECT_EQ(MineCount, 1);
    test::THandMadeQvf full = tiny;
    full.custom = {29, 29, 900 >> 8, 900 & 0xFF};
    full.mines.clear();
    for (int c = 0; c < 30; ++c)
        for (int r = 0; r < 30; ++r)
            full.mines.emplace_back(c, r);
    ASSERT_TRUE(LoadReplayBytes(full.Bytes()));
    EXPECT_EQ(HiddenBoard[29][29], csMine);
    // Mines in any order: the reader does not need the writer's order.
    std::swap(full.mines.front(), full.mines.back());
    EXPECT_TRUE(LoadReplayBytes(full.Bytes()));
    // A board wider than high: the size bytes are last column then last row, and each pair
    // is row + 1 then column + 1.
    test::THandMadeQvf wide = tiny;
    wide.custom = {11, 4, 0, 2};
    wide.mines = {{2, 4}, {10, 3}};
    ASSERT_TRUE(LoadReplayBytes(wide.Bytes()));
    EXPECT_EQ(LastColumn, 11);
    EXPECT_EQ(LastRow, 4);
    EXPECT_EQ(MineCount, 2);
    EXPECT_EQ(HiddenBoard[2][4], csMine);
    EXPECT_EQ(HiddenBoard[10][3], csMine);
    EXPECT_EQ(HiddenBoard[11][4], 1);
    // A name that is not UTF-8 is taken as Windows-1252.
    test::THandMadeQvf latin = test::HandBeginner();
    latin.id = "Jos\xE9";
    ASSERT_TRUE(LoadReplayBytes(latin.Bytes()));
    EXPECT_EQ(ReplayPlayerName, "Jos\xC3\xA9");
}

// Files whose stored hash is what a reader without the pair checks would build (the bad mine
// lands off the board, or outside the layers): only those checks refuse them.
TEST_F(QvfTest, MinePairsOffTheBoardAreRefusedByTheirOwnCheck) {
    const struct {
        const char* name;
        bool custom;
        uint8_t rowByte, columnByte;
    } cases[] = {
        {"row 0", false, 0, 2},          {"column 0", false, 2, 0},        {"row past the board", false, 9, 2},
        {"column past the board", false, 2, 9}, {"row at the layer's end", false, 30, 2},
        {"column past the layers", false, 2, 31}, {"both 0", false, 0, 0},
        {"custom row past the board", true, 6, 3}, {"custom column past the board", true, 3, 13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::THandMadeQvf f = test::HandBeginner();
        if (c.custom) {
            f.level = 6;
            f.custom = {11, 4, 0, 3};
            f.mines = {{2, 4}, {10, 3}, {0, 0}};
        }
        // The last mine is the bad one; with a good one in its place the same file loads.
        const std::pair<int, int> last = f.mines.back();
        ASSERT_TRUE(LoadReplayBytes(f.Bytes()));
        f.mines.pop_back();
        f.rawPairs = {{c.rowByte, c.columnByte}};
        SetSentinelGame();
        DebugLogLines.clear();
        EXPECT_FALSE(LoadReplayBytes(f.Bytes()));
        EXPECT_TRUE(Logged(kGlobal));
        ExpectSentinelGame();
        f.rawPairs = {{static_cast<uint8_t>(last.second + 1), static_cast<uint8_t>(last.first + 1)}};
        // The same pair on the board is caught by the hash: only an off-board one needs the check.
        EXPECT_FALSE(LoadReplayBytes(f.Bytes()));
    }
}

TEST_F(QvfTest, MissingFileIsRefusedWithoutALogLine) {
    EXPECT_FALSE(LoadReplayFile(Home() + "none.qvf"));
    EXPECT_TRUE(DebugLogLines.empty());
}

// A fifo named like a video (in the folder the open dialog shows) waited for a writer forever.
TEST_F(QvfTest, AFifoOrAFolderIsRefusedAtOnce) {
    ASSERT_EQ(::mkfifo((Home() + "fifo.qvf").c_str(), 0600), 0);
    std::filesystem::create_directories(Home() + "folder.qvf");
    for (const char* name : {"fifo.qvf", "folder.qvf"}) {
        DebugLogLines.clear();
        EXPECT_FALSE(LoadReplayFile(Home() + name)) << name;
        ASSERT_EQ(DebugLogLines.size(), 1u) << name;
        EXPECT_NE(DebugLogLines[0].find("#0 replay load unknown error"), std::string::npos)
            << DebugLogLines[0];
    }
}

// The reader does not look at the times; playback refuses a video whose time goes backwards.
TEST_F(QvfTest, TimeGoingBackwardsLoadsButDoesNotPlay) {
    test::THandMadeQvf f = test::HandBeginner();
    f.events[2] = test::HandEvent(4, 0, 3, 117, 53); // 0.03 after 0.05
    WriteBytes(Home() + "back.qvf", f.Bytes());
    EXPECT_TRUE(LoadReplayFile(Home() + "back.qvf"));
    EXPECT_FALSE(OpenReplayFile(Home() + "back.qvf"));
    EXPECT_TRUE(Logged("# file time hacked"));
}

} // namespace
} // namespace quorlet
