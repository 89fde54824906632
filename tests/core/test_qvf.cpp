// The video file writer and the round trip: what is saved loads back as the same game.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/FData.h"
#include "core/metrics.h"
#include "core/qvf.h"
#include "core/textutil.h"
#include "core/zini.h"
#include "test_qvf_fixture.h"
#include "writefail.h"

namespace quorlet {
namespace {

using test::QvfTest;

// The facts a loaded file must give back.
struct TSavedGame {
    uint8_t level, lastColumn, lastRow;
    uint16_t mines, board3BV, gzini, hzini;
    TBoardLayer hidden;
    std::vector<TVideoEvent> events;
};

TSavedGame Snapshot(uint32_t events) {
    Calc3BV();
    CalcZiNi();
    TSavedGame g{GameLevel, LastColumn, LastRow, MineCount, Board3BV, GZiNi, HZiNi, HiddenBoard, {}};
    g.events.assign(VideoEvents.begin(), VideoEvents.begin() + events);
    return g;
}

void ExpectSameEvent(const TVideoEvent& a, const TVideoEvent& b) {
    EXPECT_EQ(a.seconds, b.seconds);
    EXPECT_EQ(a.hundredths, b.hundredths);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.leftPress, b.leftPress);
    EXPECT_EQ(a.rightPress, b.rightPress);
    EXPECT_EQ(a.middlePress, b.middlePress);
    EXPECT_EQ(a.leftRelease, b.leftRelease);
    EXPECT_EQ(a.rightRelease, b.rightRelease);
    EXPECT_EQ(a.middleRelease, b.middleRelease);
}

void ExpectLoadedAs(const TSavedGame& g) {
    EXPECT_EQ(GameLevel, g.level);
    EXPECT_EQ(LastColumn, g.lastColumn);
    EXPECT_EQ(LastRow, g.lastRow);
    EXPECT_EQ(MineCount, g.mines);
    EXPECT_EQ(Board3BV, g.board3BV);
    EXPECT_EQ(GZiNi, g.gzini);
    EXPECT_EQ(HZiNi, g.hzini);
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r) {
            const bool onBoard = c <= g.lastColumn && r <= g.lastRow;
            ASSERT_EQ(HiddenBoard[c][r], onBoard ? g.hidden[c][r] : 0) << c << "," << r;
            ASSERT_EQ(VisibleBoard[c][r], csCovered);
        }
    const auto n = static_cast<uint32_t>(g.events.size());
    // The stored count is N + 5 and the reader decodes N + 6 events: the last six are end markers.
    ASSERT_EQ(VideoEventCount, n + 5);
    for (uint32_t i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        ExpectSameEvent(VideoEvents[i], g.events[i]);
    }
    for (uint32_t i = n; i <= n + 5; ++i) {
        EXPECT_EQ(VideoEvents[i].seconds, 1000);
        EXPECT_EQ(VideoEvents[i].hundredths, 0);
    }
    EXPECT_EQ(VideoEvents[n + 6].seconds, 0);
}

TEST_F(QvfTest, PlayedGamesLoadBackWithBoardEventsAndPlayer) {
    struct Case {
        const char* name;
        void (*play)();
        const char* id;
        bool marks;
    };
    const Case cases[] = {
        {"won beginner", test::PlayWonBeginnerGame, "Ann", false},
        {"custom with marks and a chord", test::PlayCustomGame, "Zoë <mouse>optical", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        int colour = 0;
        UiHooks.SetCountersColour = [&](int32_t value) { colour = value; };
        Options.doShowCntGreenBorder = true;
        Options.UserIDText = c.id;
        c.play();
        ASSERT_GT(VideoEventCount, 10u);
        const std::string path = Home() + "game.qvf";
        ASSERT_TRUE(SaveReplayFile(path));
        EXPECT_TRUE(Logged("replay saved"));
        EXPECT_EQ(colour, 0x008000);
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
        // The writer fixed up the start in the buffer; the file holds what the buffer holds now.
        const TSavedGame saved = Snapshot(VideoEventCount);

        ResetGlobals();
        DebugWindowOn = 1;
        int flag = -1;
        UiHooks.ShowReplayFlag = [&](uint8_t country) { flag = country; };
        ASSERT_TRUE(LoadReplayFile(path));
        ExpectLoadedAs(saved);
        EXPECT_EQ(ReplayVersion, 47);
        EXPECT_EQ(ReplayCountry, 7);
        EXPECT_EQ(flag, 7);
        EXPECT_EQ(ReplayPlayerName, c.id);
        EXPECT_EQ(Options.doMarks, c.marks);
        EXPECT_TRUE(Logged("replay is correct (v.47)"));
        TearDown();
    }
}

TEST_F(QvfTest, InformationTextsOfASavedGameAndOfTheHighScoreCopy) {
    test::PlayWonBeginnerGame();
    ASSERT_FALSE(GameEndStamp.empty());
    const std::string time = FormatGameTime(GameClock.seconds, GameClock.hundredths);
    EXPECT_EQ(ReplayInfoText(), "[0|5.3.2024.14:30:15:250|" + GameEndStamp + "|B5/5T" + time + "]");
    EXPECT_EQ(HighScoreReplayInfoText(), "[0|5.3.2024.14:30:15:250|" + GameEndStamp + "|HS|B5T" + time + "]");
    // The reader logs the text it finds.
    ASSERT_TRUE(SaveReplayFile(Home() + "a.qvf"));
    ASSERT_TRUE(LoadReplayFile(Home() + "a.qvf"));
    EXPECT_TRUE(Logged(ReplayInfoText()));
}

TEST_F(QvfTest, BeginnerFileLayoutFieldByField) {
    test::PlayWonBeginnerGame();
    const uint32_t n = VideoEventCount;
    GameTimerInterval = 10;
    TQvfLayout at;
    const std::vector<uint8_t> f = BuildReplayBytes("[info]", n, &at);
    ASSERT_GT(f.size(), 30u);
    EXPECT_EQ(f[0], '/');
    for (int i = 1; i <= 4; ++i) {
        EXPECT_GE(f[i], 1);
        EXPECT_LE(f[i], 31);
    }
    EXPECT_EQ(f[5], 3); // Beginner, no size field
    // Exactly 20 bytes of pairs (row + 1, column + 1), columns as the outer loop.
    const std::vector<uint8_t> pairs(f.begin() + 6, f.begin() + 26);
    EXPECT_EQ(pairs, (std::vector<uint8_t>{1, 1, 8, 1, 8, 2, 1, 3, 8, 3, 8, 4, 1, 5, 8, 5, 8, 6, 1, 7}));
    const std::string hash = ShiftedNumberText(QvfBoardHash(HiddenBoard, 7, 7));
    EXPECT_EQ(std::string(f.begin() + 26, f.begin() + 26 + hash.size()), hash);
    ASSERT_EQ(at.countBegin, 26 + hash.size());
    uint32_t count = 0;
    for (int i = 0; i < 4; ++i)
        count = count << 8 | UnshiftByte(f[at.countBegin + i]);
    EXPECT_EQ(count, n + 5);
    EXPECT_EQ(f[at.countBegin + 4], 7); // country, plain
    EXPECT_EQ(at.idBegin, at.countBegin + 5);
    EXPECT_EQ(f[at.idBegin], 3);
    EXPECT_EQ(UnshiftByte(f[at.idBegin + 1]), 'A');
    EXPECT_EQ(f[at.marksAt], 127);
    EXPECT_EQ(f[at.infoBegin], 6);
    EXPECT_EQ(std::string(f.begin() + at.infoBegin + 1, f.begin() + at.infoBegin + 7), "[info]");
    // N events with time add 1, then six zero end markers.
    EXPECT_EQ(f[at.eventsBegin + 2] | f[at.eventsBegin + 6] << 8, VideoEvents[0].seconds + 1);
    for (uint32_t i = n; i < n + 6; ++i) {
        const std::vector<uint8_t> marker(f.begin() + at.eventsBegin + 8 * i,
                                          f.begin() + at.eventsBegin + 8 * i + 8);
        EXPECT_EQ(marker, (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
    }
    const std::size_t digits = at.eventsBegin + 8 * (n + 6);
    EXPECT_EQ(at.checkBegin, digits + 5);
    for (std::size_t i = digits; i < at.checkBegin; ++i)
        EXPECT_TRUE(f[i] >= '0' && f[i] <= '9');
    // Then 5..14 digits, the interval "10", 5..14 bytes 0..31, "\rcs=" and 16 bytes, the ID, the name.
    const std::string tail(f.begin() + at.checkBegin + at.checkLength, f.end());
    EXPECT_TRUE(tail.ends_with("\rAnn\rMinesweeper Quorlet 0.47."));
    const std::size_t cs = tail.find("\rcs=");
    ASSERT_NE(cs, std::string::npos);
    EXPECT_EQ(tail.size() - cs, 4 + 16 + 4 + 26u);
    std::size_t k = 0;
    while (k < tail.size() && tail[k] >= '0' && tail[k] <= '9')
        ++k;
    // The random digits and "10" run together; the filler bytes after them are all below 32.
    EXPECT_GE(k, 5u + 2u);
    EXPECT_LE(k, 14u + 2u);
    EXPECT_EQ(tail.substr(k - 2, 2), "10");
    EXPECT_GE(cs - k, 5u);
    EXPECT_LE(cs - k, 14u);
    for (std::size_t i = k; i < cs; ++i)
        EXPECT_LT(static_cast<unsigned char>(tail[i]), 32);
}

// The reader lets differences by multiples of 256 pass, so a round trip cannot show an event
// weight that runs on past 256 (or any slip by 256): the stored check is summed here on its own.
TEST_F(QvfTest, CustomFileSizeFieldAndExactCheckValue) {
    test::PlayCustomGame();
    for (uint32_t i = 0; i < 600; ++i) {
        SetClock(static_cast<uint16_t>(50 + i / 100), static_cast<uint8_t>(i % 100));
        RecordMouseMove(static_cast<uint16_t>(7 + i % 140), static_cast<uint16_t>(300 + i));
    }
    const uint32_t n = VideoEventCount;
    TQvfLayout at;
    const std::vector<uint8_t> f = BuildReplayBytes(ReplayInfoText(), n, &at);
    // 9 columns x 8 rows: last column, last row, mine count high and low, then the pairs
    // (row + 1, column + 1) with the columns as the outer loop.
    const std::vector<uint8_t> head(f.begin() + 5, f.begin() + 20);
    EXPECT_EQ(head, (std::vector<uint8_t>{6, 8, 7, 0, 5, 1, 1, 2, 2, 5, 5, 7, 8, 7, 9}));

    uint64_t check = 0;
    for (std::size_t i = 0; i < at.eventsBegin; ++i)
        check += f[i];
    for (uint64_t i = 0; i < n + 6; ++i) {
        uint64_t sum = 0;
        for (std::size_t k = 0; k < 8; ++k)
            sum += f[at.eventsBegin + 8 * i + k];
        check += sum * (i % 256 + 1);
    }
    EXPECT_EQ(std::string(f.begin() + at.checkBegin, f.begin() + at.checkBegin + at.checkLength),
              std::to_string(check));
    EXPECT_EQ(at.checkBegin, at.eventsBegin + 8 * (n + 6) + 5);
}

TEST_F(QvfTest, EncodingsOfTheFormat) {
    EXPECT_EQ(ShiftByte(0x30), 0x7A);
    EXPECT_EQ(UnshiftByte(0x7A), 0x30);
    EXPECT_EQ(ShiftedNumberText(0), std::string(1, '\x7A'));
    EXPECT_EQ(ShiftedNumberText(293), (std::string{'\x7C', '\x83', '\x7D'}));
    EXPECT_EQ(QvfWeightedSum(""), 0u);
    EXPECT_EQ(QvfWeightedSum("ab"), 97u + 2 * 98u);
    // A 3 x 2 board: column 0 weighs nothing, and a cell of no number or mine counts 1.
    TBoardLayer b{};
    b[0][0] = csMine;
    b[1][0] = b[0][1] = b[1][1] = 1;
    EXPECT_EQ(QvfBoardHash(b, 2, 1), 2u * 1 + 2u * 2 + 1u * 2 + 1u * 4);
    b = {};
    b[2][1] = csMine;
    b[1][0] = b[2][0] = b[1][1] = 1;
    EXPECT_EQ(QvfBoardHash(b, 2, 1), 2u * 1 + 2u * 2 + 2u * 2 + 10u * 4);
    b[2][0] = csCovered;
    EXPECT_EQ(QvfBoardHash(b, 2, 1), 2u * 1 + 2u * 2 + 1u * 2 + 10u * 4);
}

TEST_F(QvfTest, LongTextsAreCutToWhatTheLengthByteHolds) {
    EXPECT_EQ(CutQvfText(std::string(255, 'a')).size(), 255u);
    EXPECT_EQ(CutQvfText(std::string(300, 'a')), std::string(255, 'a'));
    // A two-byte character across the cut goes whole.
    EXPECT_EQ(CutQvfText(std::string(254, 'a') + "\xC3\xA9zz"), std::string(254, 'a'));
    // Bytes that are not UTF-8 are cut where they are.
    EXPECT_EQ(CutQvfText(std::string(254, 'a') + "\xE9\xE9"), std::string(254, 'a') + "\xE9");

    // Fault guarded: a 256-character ID stored length 0 and gave a file that never reloaded.
    Options.UserIDText = std::string(256, 'q');
    test::PlayWonBeginnerGame();
    ASSERT_TRUE(SaveReplayFile(Home() + "long.qvf"));
    ASSERT_TRUE(LoadReplayFile(Home() + "long.qvf"));
    EXPECT_EQ(ReplayPlayerName, std::string(255, 'q'));
}

TEST_F(QvfTest, SeventyThousandEventsReloadWithAllOfThem) {
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    for (uint32_t i = 0; i < 70000; ++i) {
        SetClock(static_cast<uint16_t>(i / 100), static_cast<uint8_t>(i % 100));
        RecordMouseMove(static_cast<uint16_t>(1 + i % 128), static_cast<uint16_t>(1 + i % 97));
    }
    ASSERT_TRUE(SaveReplayFile(Home() + "long.qvf"));
    const TSavedGame saved = Snapshot(70000);
    ResetGlobals();
    ASSERT_TRUE(LoadReplayFile(Home() + "long.qvf"));
    ExpectLoadedAs(saved);
}

// Fault guarded: during the last game's preview the count is the index of its last event, and
// the writer took that event for the first end marker.
TEST_F(QvfTest, SavedDuringThePreviewKeepsTheLastEvent) {
    test::PlayWonBeginnerGame();
    const uint32_t n = VideoEventCount;
    const TVideoEvent last = VideoEvents[n - 1];
    ReplayMode = PreviewReplayMode = 1;
    VideoEventCount = n - 1;
    ASSERT_TRUE(SaveReplayFile(Home() + "preview.qvf"));
    ResetGlobals();
    ASSERT_TRUE(LoadReplayFile(Home() + "preview.qvf"));
    EXPECT_EQ(VideoEventCount, n + 5);
    ExpectSameEvent(VideoEvents[n - 1], last);
    EXPECT_EQ(VideoEvents[n].seconds, 1000);
}

// The end markers do not depend on the slots after the count being zero.
TEST_F(QvfTest, EndMarkersAreWrittenWhateverFollowsTheCount) {
    test::PlayWonBeginnerGame();
    const uint32_t n = VideoEventCount;
    for (uint32_t i = n; i < n + 8; ++i)
        VideoEvents[i] = {3, 4, 50, 60, 1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(SaveReplayFile(Home() + "a.qvf"));
    ResetGlobals();
    ASSERT_TRUE(LoadReplayFile(Home() + "a.qvf"));
    for (uint32_t i = n; i <= n + 5; ++i)
        EXPECT_EQ(VideoEvents[i].seconds, 1000);
}

TEST_F(QvfTest, CheatGamesAreNeverWritten) {
    int shown = 0;
    UiHooks.ShowMessageBox = [&](const std::string&) { ++shown; };
    test::PlayWonBeginnerGame();
    Options.doAutoFlag = true;
    EXPECT_FALSE(SaveReplayFile(Home() + "cheat.qvf"));
    EXPECT_FALSE(AutoSaveHighScoreReplay());
    EXPECT_FALSE(std::filesystem::exists(Home() + "cheat.qvf"));
    EXPECT_EQ(shown, 0);
    // A custom board without cheats is saved, but never as a high score.
    Options.doAutoFlag = false;
    test::PlayCustomGame();
    EXPECT_TRUE(SaveReplayFile(Home() + "custom.qvf"));
    EXPECT_FALSE(AutoSaveHighScoreReplay());
}

// Fault guarded: a failed write left a partial file and nobody knew.
TEST_F(QvfTest, FailedWritesSayCannotSaveAndKeepTheOldFile) {
    std::vector<std::string> shown;
    UiHooks.ShowMessageBox = [&](const std::string& text) { shown.push_back(text); };
    // Without rules: the default one would save this fast game by itself.
    AutosaveTemplateLines.clear();
    test::PlayWonBeginnerGame();
    // No such folder: the temporary file cannot be made.
    EXPECT_FALSE(SaveReplayFile(Home() + "missing/a.qvf"));
    // A folder in the way: the rename fails, the temporary file goes, the folder stays.
    std::filesystem::create_directories(Home() + "taken.qvf/inside");
    EXPECT_FALSE(SaveReplayFile(Home() + "taken.qvf"));
    EXPECT_TRUE(std::filesystem::is_directory(Home() + "taken.qvf/inside"));
    EXPECT_FALSE(std::filesystem::exists(Home() + "taken.qvf.tmp"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Cannot save file");
    EXPECT_EQ(shown[1], "Cannot save file");
    EXPECT_FALSE(Logged("replay saved"));
    // An existing file is replaced whole.
    WriteBytes(Home() + "old.qvf", std::vector<uint8_t>(100000, 'x'));
    ASSERT_TRUE(SaveReplayFile(Home() + "old.qvf"));
    const std::vector<uint8_t> good = ReadBytes(Home() + "old.qvf");
    EXPECT_TRUE(LoadReplayBytes(good));
    // A save that fails over an existing file leaves that file as it was, and no temporary
    // file beside the player's videos (here the disk fills up halfway through).
    {
        test::TFileSizeLimit full(good.size() / 2);
        EXPECT_FALSE(SaveReplayFile(Home() + "old.qvf"));
    }
    EXPECT_EQ(ReadBytes(Home() + "old.qvf"), good);
    EXPECT_EQ(shown.size(), 3u);
    for (const auto& entry : std::filesystem::directory_iterator(Home()))
        EXPECT_EQ(entry.path().filename().string().find(".old.qvf.tmp"), std::string::npos);
}

TEST_F(QvfTest, HighScoreCopiesAreNumberedAndKeepTheTemplateFolder) {
    test::PlayWonBeginnerGame();
    Options.ReplayFileName = "best_<3bv>";
    EXPECT_EQ(HighScoreReplayPath(), Home() + "HI-SCORE best_5.qvf");
    ASSERT_TRUE(AutoSaveHighScoreReplay());
    EXPECT_TRUE(Logged("high score replay automatically saved"));
    EXPECT_EQ(HighScoreReplayPath(), Home() + "HI-SCORE best_5_(001).qvf");
    ASSERT_TRUE(AutoSaveHighScoreReplay());
    EXPECT_TRUE(std::filesystem::exists(Home() + "HI-SCORE best_5_(001).qvf"));
    ASSERT_TRUE(LoadReplayFile(Home() + "HI-SCORE best_5.qvf"));
    EXPECT_TRUE(Logged(HighScoreReplayInfoText()));
    // Fault guarded: the prefix went before the folder name, into a folder that does not exist.
    Options.ReplayFileName = "replays\\<3bv>";
    EXPECT_EQ(HighScoreReplayPath(), Home() + "replays/HI-SCORE 5.qvf");
    EXPECT_TRUE(AutoSaveHighScoreReplay());
}

} // namespace
} // namespace quorlet
