#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/clock.h"
#include "core/endgame.h"
#include "core/test_mouse_fixture.h"
#include "core/video.h"
#include "stats/historyfile.h"
#include "testutil.h"

namespace {

// The files fdatasync was called on: an append returns only once its record is on the disk.
std::vector<std::string> gDataSyncedFiles;

} // namespace

// Stands in for the C library's call in this test program and records the file it flushes.
extern "C" int fdatasync(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t n = ::readlink(link, target, sizeof target);
    if (n > 0) gDataSyncedFiles.emplace_back(target, static_cast<std::size_t>(n));
    return static_cast<int>(::syscall(SYS_fdatasync, fd));
}

namespace quorlet {
namespace {

namespace fs = std::filesystem;

// Bytes this process has read through system calls so far.
uint64_t BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// A record whose 16-bit fields have distinct high and low bytes, so a swapped or misplaced byte
// shows up as a wrong value.
TGameRecord SampleRecord() {
    TGameRecord r;
    r.day = 31;
    r.month = 12;
    r.year = 0x07EA; // 2026
    r.hour = 23;
    r.minute = 59;
    r.second = 58;
    r.timeSec = 0x0123;
    r.timeHund = 99;
    r.bbbv = 0x0164;
    r.level = glExpert;
    for (int n = 1; n <= 8; ++n)
        r.cellCount[n] = static_cast<uint16_t>(0x0100 * n + 0x10 + n);
    r.rightClicks = 0x0211;
    r.leftClicks = 0x0322;
    r.doubleClicks = 0x0433;
    r.effLeftClicks = 0x0544;
    r.effRightClicks = 0x0655;
    r.effDoubleClicks = 0x0766;
    r.openings = 201;
    r.islands = 202;
    r.path = 0x00ABCDEF;
    return r;
}

class HistoryFileTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        Options.doHistoryLog = true;
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages_.push_back(text); };
        SetClockTo({2026, 3, 0, 5, 14, 5, 9, 7});
    }
    void SetClockTo(TSystemTime utc) {
        SystemTimeSource = [utc] { return utc; };
    }
    // The game state of a just-won game with the facts of `r` (its date becomes the clock's).
    void PlayGame(const TGameRecord& r, long double pathFraction = 0.75L) {
        SetClockTo({r.year, r.month, 0, r.day, r.hour, r.minute, r.second, 0});
        GameLevel = r.level;
        GameClock = {r.timeSec, r.timeHund};
        Board3BV = r.bbbv;
        for (int n = 1; n <= 8; ++n)
            NumberCellCounts[n] = r.cellCount[n];
        RightClicks = r.rightClicks;
        LeftClicks = r.leftClicks;
        DoubleClicks = r.doubleClicks;
        CellsOpenedByLeft = r.effLeftClicks;
        FlagsOnMines = r.effRightClicks;
        ChordsThatOpened = r.effDoubleClicks;
        Openings = r.openings;
        Islands = r.islands;
        MousePathLength = r.path + pathFraction;
    }
    std::string StatsPath() const { return Home() + "stats.dat"; }
    std::vector<uint8_t> ReadStats() const { return ReadBytes(StatsPath()); }
    static std::vector<uint8_t> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteStats(const std::vector<uint8_t>& bytes) const {
        std::ofstream out(StatsPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static void AppendTo(std::vector<uint8_t>& bytes, const TGameRecord& r) {
        const THistoryFileRecord stored = EncodeHistoryRecord(r);
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
    std::vector<std::string> CorruptCopies() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Home())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("stats_corrupt_", 0) == 0) names.push_back(name);
        }
        return names;
    }
    bool Logged(const std::string& text) const {
        for (const auto& line : DebugLogLines)
            if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0)
                return true;
        return false;
    }
    // Two records already in the table, to see that a failed load leaves them alone.
    void FillTableWithTwoRecords() {
        GameHistory[0] = SampleRecord();
        GameHistory[1] = SampleRecord();
        LevelGameCounts = {0, 0, 2};
    }
    std::vector<std::string> messages_;
};

void ExpectSameFacts(const TGameRecord& a, const TGameRecord& b) {
    EXPECT_EQ(a.day, b.day);
    EXPECT_EQ(a.month, b.month);
    EXPECT_EQ(a.year, b.year);
    EXPECT_EQ(a.hour, b.hour);
    EXPECT_EQ(a.minute, b.minute);
    EXPECT_EQ(a.second, b.second);
    EXPECT_EQ(a.timeSec, b.timeSec);
    EXPECT_EQ(a.timeHund, b.timeHund);
    EXPECT_EQ(a.bbbv, b.bbbv);
    EXPECT_EQ(a.level, b.level);
    EXPECT_EQ(a.flagging, b.flagging);
    EXPECT_EQ(a.cellCount, b.cellCount);
    EXPECT_EQ(a.rightClicks, b.rightClicks);
    EXPECT_EQ(a.leftClicks, b.leftClicks);
    EXPECT_EQ(a.doubleClicks, b.doubleClicks);
    EXPECT_EQ(a.effLeftClicks, b.effLeftClicks);
    EXPECT_EQ(a.effRightClicks, b.effRightClicks);
    EXPECT_EQ(a.effDoubleClicks, b.effDoubleClicks);
    EXPECT_EQ(a.openings, b.openings);
    EXPECT_EQ(a.islands, b.islands);
    EXPECT_EQ(a.path, b.path);
}

TEST(HistoryRecordCheckTest, SumsSquaresOfTheFirstLengthMod256Bytes) {
    EXPECT_EQ(HistoryRecordCheck("abc"), "\xB1\xEB\x0E");
    EXPECT_EQ(HistoryRecordCheck(""), "   ");
    // 256 bytes: none are summed, so s stays 139.
    EXPECT_EQ(HistoryRecordCheck(std::string(256, 'a')), std::string("\x8B\x01\x00", 3));
    EXPECT_EQ(HistoryRecordCheck(std::string("abc") + std::string(256, 'z')), HistoryRecordCheck("abc"));
}

struct TByteCase {
    int offset;
    uint8_t plain;
};

// Where each fact lands in the plain record (before the XOR key).
TEST(HistoryRecordLayoutTest, PlacesEveryFactAtItsOffset) {
    const TGameRecord r = SampleRecord();
    THistoryFileRecord b = EncodeHistoryRecord(r);
    for (uint8_t& byte : b)
        byte ^= 0x9E;
    const TByteCase cases[] = {
        {0, 181},   {1, 0xEA},  {3, 0x01},  {4, 23},    {7, 0x07},  {8, 0x64},  {12, 0x11}, {13, 0x06},
        {14, 0x33}, {15, 0x44}, {16, 0x22}, {17, 0x66}, {18, 0x02}, {19, 201},  {20, 0x04}, {21, 0x05},
        {22, 0x55}, {23, 0x01}, {24, 0x03}, {25, 0x11}, {26, 0x07}, {27, 202},  {28, 0xEF}, {29, 0xAB},
        {30, 0xCD}, {31, 0xFF}, {32, 0x02}, {33, 0x12}, {34, 0x03}, {35, 0x13}, {36, 0x04}, {37, 0x14},
        {38, 0x05}, {39, 0x15}, {40, 0x06}, {41, 0x16}, {42, 0x07}, {43, 0x17}, {44, 0x08}, {45, 0x18},
    };
    for (const auto& c : cases)
        EXPECT_EQ(b[c.offset], c.plain) << "offset " << c.offset;
    const std::string check(reinterpret_cast<const char*>(b.data()), 46);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()) + 46, 3), HistoryRecordCheck(check));
}

// The offset fields hide their values, but one step more in a value is one step more in its
// byte (or, for the game time, in the 16-bit value joined from bytes 10 and 6) and nowhere else.
TEST(HistoryRecordLayoutTest, OffsetFieldsMoveOnlyTheirOwnBytes) {
    const struct {
        const char* name;
        void (*step)(TGameRecord&);
        int hi, lo; // hi is -1 for a one-byte field
    } cases[] = {
        {"hundredths", [](TGameRecord& r) { ++r.timeHund; }, -1, 2},
        {"second", [](TGameRecord& r) { ++r.second; }, -1, 5},
        {"minute", [](TGameRecord& r) { ++r.minute; }, -1, 9},
        {"month", [](TGameRecord& r) { ++r.month; }, -1, 11},
        {"game time", [](TGameRecord& r) { ++r.timeSec; }, 10, 6},
    };
    TGameRecord r = SampleRecord();
    r.timeHund = 40;
    r.second = 30;
    r.minute = 20;
    r.month = 6;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (uint16_t sec : {uint16_t{0}, uint16_t{0x00FF}, uint16_t{999}, uint16_t{0xFFFF}}) {
            r.timeSec = sec;
            TGameRecord next = r;
            c.step(next);
            THistoryFileRecord a = EncodeHistoryRecord(r);
            THistoryFileRecord b = EncodeHistoryRecord(next);
            for (std::size_t i = 0; i < 49; ++i) {
                a[i] ^= 0x9E;
                b[i] ^= 0x9E;
            }
            const auto value = [&c](const THistoryFileRecord& x) {
                return c.hi < 0 ? x[c.lo] : x[c.hi] << 8 | x[c.lo];
            };
            EXPECT_EQ((value(b) - value(a)) & (c.hi < 0 ? 0xFF : 0xFFFF), 1) << "time " << sec;
            for (int i = 0; i < 46; ++i) {
                if (i == c.hi || i == c.lo) continue;
                EXPECT_EQ(a[i], b[i]) << "offset " << i;
            }
        }
    }
}

TEST(HistoryRecordLayoutTest, LevelAndDayShareByteZero) {
    TGameRecord r = SampleRecord();
    const struct {
        uint8_t level, day, plain;
    } cases[] = {{glBeginner, 31, 81}, {glExpert, 1, 151}, {glIntermediate, 15, 115}};
    for (const auto& c : cases) {
        r.level = c.level;
        r.day = c.day;
        EXPECT_EQ(EncodeHistoryRecord(r)[0] ^ 0x9E, c.plain);
        TGameRecord back;
        ASSERT_TRUE(DecodeHistoryRecord(EncodeHistoryRecord(r).data(), back));
        EXPECT_EQ(back.level, c.level);
        EXPECT_EQ(back.day, c.day);
    }
}

TEST(HistoryRecordLayoutTest, NoRightClickMarkIsAddedToTheHourAndDroppedOnReading) {
    TGameRecord r = SampleRecord();
    r.hour = 14;
    r.minute = 5;
    r.rightClicks = 0;
    const THistoryFileRecord stored = EncodeHistoryRecord(r);
    EXPECT_EQ(stored[4] ^ 0x9E, 114);
    TGameRecord back;
    ASSERT_TRUE(DecodeHistoryRecord(stored.data(), back));
    EXPECT_EQ(back.hour, 14);
    EXPECT_EQ(back.flagging, 0);
}

TEST(HistoryRecordLayoutTest, PathKeepsItsLow24Bits) {
    const struct {
        uint32_t path, back;
    } cases[] = {{0, 0}, {0xFFFFFF, 0xFFFFFF}, {16777216, 0}, {16777217, 1}, {0xFFFFFFFF, 0xFFFFFF}};
    TGameRecord r = SampleRecord();
    for (const auto& c : cases) {
        r.path = c.path;
        TGameRecord back;
        ASSERT_TRUE(DecodeHistoryRecord(EncodeHistoryRecord(r).data(), back));
        EXPECT_EQ(back.path, c.back) << c.path;
    }
}

TEST(HistoryRecordLayoutTest, AnyChangedByteFailsTheCheck) {
    const THistoryFileRecord stored = EncodeHistoryRecord(SampleRecord());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        THistoryFileRecord bad = stored;
        bad[i] ^= 0x01;
        TGameRecord back;
        EXPECT_FALSE(DecodeHistoryRecord(bad.data(), back)) << "byte " << i;
    }
}

TEST_F(HistoryFileTest, AppendedGamesReadBackWithEveryFact) {
    TGameRecord first = SampleRecord();
    TGameRecord second = SampleRecord();
    second.level = glBeginner;
    second.day = 1;
    second.rightClicks = 0;
    second.timeSec = 0;
    second.timeHund = 1;
    second.path = 16777216 + 5;
    TGameRecord third = SampleRecord();
    third.level = glIntermediate;
    third.timeSec = 999;
    third.timeHund = 0;
    for (const TGameRecord* r : {&first, &second, &third}) {
        PlayGame(*r);
        EXPECT_TRUE(AppendHistoryRecord());
    }
    EXPECT_EQ(ReadStats().size(), 3 * 49u);

    LoadHistoryFile();
    first.flagging = third.flagging = 1;
    second.flagging = 0;
    second.path = 5;
    ExpectSameFacts(GameHistory[0], first);
    ExpectSameFacts(GameHistory[1], second);
    ExpectSameFacts(GameHistory[2], third);
    EXPECT_EQ(GameHistory[3].day, 0);
    EXPECT_EQ(LevelGameCounts, (std::array<uint32_t, 3>{1, 1, 1}));
    // Computed fields are derived again on loading.
    EXPECT_EQ(GameHistory[0].bbbvsWhole, 1); // 356 / 291.99
    EXPECT_EQ(GameHistory[0].bbbvsHund, 21);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(HistoryFileTest, AppendWithLoggingOffWritesNothing) {
    Options.doHistoryLog = false;
    PlayGame(SampleRecord());
    EXPECT_FALSE(AppendHistoryRecord());
    EXPECT_FALSE(fs::exists(StatsPath()));
    EXPECT_TRUE(Logged("# press F5 to switch it ON in options"));
    EXPECT_TRUE(Logged("# history was not saved becuase it is switched OFF!"));
}

TEST_F(HistoryFileTest, AppendThatCannotOpenTheFileReportsFailure) {
    fs::create_directory(StatsPath());
    PlayGame(SampleRecord());
    EXPECT_FALSE(AppendHistoryRecord());
    EXPECT_TRUE(Logged("#Cannot save file " + StatsPath()));
    EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"});
}

// A record cut short by a full disk would break the multiple of 49 and cost the whole history at
// the next load: the file goes back to its old size instead.
TEST_F(HistoryFileTest, TornAppendIsCutBackToTheOldSize) {
    std::vector<uint8_t> bytes;
    AppendTo(bytes, SampleRecord());
    WriteStats(bytes);
    PlayGame(SampleRecord());
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 49 + 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = AppendHistoryRecord();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadStats(), bytes);
    EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"});
    EXPECT_TRUE(Logged("#Cannot save file " + StatsPath()));
}

TEST_F(HistoryFileTest, MissingFileLeavesTheTableAlone) {
    FillTableWithTwoRecords();
    LoadHistoryFile();
    EXPECT_TRUE(Logged("# no stats file found"));
    EXPECT_EQ(GameHistory[1].day, 31);
    EXPECT_EQ(LevelGameCounts[2], 2u);
}

TEST_F(HistoryFileTest, EmptyFileLoadsAnEmptyTableWithoutMessage) {
    FillTableWithTwoRecords();
    WriteStats({});
    LoadHistoryFile();
    EXPECT_EQ(GameHistory[0].day, 0);
    EXPECT_EQ(LevelGameCounts, (std::array<uint32_t, 3>{0, 0, 0}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(CorruptCopies().empty());
}

// A load rewrites the slots that held records and the end marker, and no more: past the old end
// the table is zero already, so filling all 262,145 slots only made a start slow and resident.
TEST_F(HistoryFileTest, ShorterFileClearsTheOldRecordsAndTouchesNothingPastTheOldEnd) {
    for (int i = 0; i < 4; ++i)
        GameHistory[static_cast<size_t>(i)] = SampleRecord();
    LevelGameCounts = {0, 0, 4};
    GameHistory[1000].bbbv = 77; // a mark past the old end that no load should write
    std::vector<uint8_t> bytes;
    TGameRecord beginner = SampleRecord();
    beginner.level = 0;
    AppendTo(bytes, beginner);
    WriteStats(bytes);
    LoadHistoryFile();
    EXPECT_EQ(GameHistory[0].level, 0);
    for (size_t i = 1; i <= 4; ++i)
        EXPECT_EQ(GameHistory[i].day | GameHistory[i].bbbv | GameHistory[i].timeSec, 0) << "slot " << i;
    EXPECT_EQ(LevelGameCounts, (std::array<uint32_t, 3>{1, 0, 0}));
    EXPECT_EQ(GameHistory[1000].bbbv, 77);
}

// The whole records before a torn tail are the player's: they stay in the table and in the file.
TEST_F(HistoryFileTest, SizeNotAMultipleOf49KeepsItsWholeRecords) {
    FillTableWithTwoRecords();
    std::vector<uint8_t> bytes;
    AppendTo(bytes, SampleRecord());
    const std::vector<uint8_t> whole = bytes;
    bytes.push_back(0x42);
    WriteStats(bytes);
    LoadHistoryFile();
    EXPECT_EQ(HistoryRecordCount(), 1u);
    EXPECT_EQ(GameHistory[0].day, 31);
    EXPECT_EQ(LevelGameCounts[2], 1u);
    EXPECT_EQ(ReadStats(), whole);
    EXPECT_EQ(CorruptCopies(), std::vector<std::string>{"stats_corrupt_14h5h9s-5d3m2026y.dat"});
    EXPECT_EQ(ReadBytes(Home() + "stats_corrupt_14h5h9s-5d3m2026y.dat"), bytes);
    EXPECT_EQ(messages_, std::vector<std::string>{"History file manual corruption detected"});
}

TEST_F(HistoryFileTest, BadRecordKeepsTheRecordsBeforeIt) {
    FillTableWithTwoRecords();
    std::vector<uint8_t> bytes;
    TGameRecord r = SampleRecord();
    r.level = glBeginner;
    AppendTo(bytes, r);
    AppendTo(bytes, r);
    AppendTo(bytes, r);
    bytes[2 * 49 + 5] ^= 0x10;
    WriteStats(bytes);
    LoadHistoryFile();
    EXPECT_EQ(GameHistory[0].day, 31);
    EXPECT_EQ(GameHistory[1].day, 31);
    EXPECT_EQ(GameHistory[2].day, 0);
    EXPECT_EQ(LevelGameCounts, (std::array<uint32_t, 3>{2, 0, 0}));
    // Written back whole: the next start still has them.
    EXPECT_EQ(ReadStats(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2 * 49));
    const auto copies = CorruptCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(Home() + copies[0]), bytes);
    EXPECT_EQ(messages_, std::vector<std::string>{"History file manual corruption detected"});
}

// The file is decoded in pieces; a bad record anywhere, also across a piece's edge, keeps exactly
// the records before it.
TEST_F(HistoryFileTest, BadRecordAtAnyPositionKeepsTheRecordsBeforeIt) {
    std::vector<uint8_t> good;
    for (uint32_t i = 0; i < 2100; ++i) {
        TGameRecord r = SampleRecord();
        r.timeSec = static_cast<uint16_t>(i % 1000);
        AppendTo(good, r);
    }
    for (const uint32_t bad : {0u, 1u, 1023u, 1024u, 1025u, 2047u, 2048u, 2099u}) {
        SCOPED_TRACE(bad);
        std::vector<uint8_t> bytes = good;
        bytes[bad * 49 + 46] ^= 0x01;
        WriteStats(bytes);
        LoadHistoryFile();
        EXPECT_EQ(HistoryRecordCount(), bad);
        if (bad > 0) {
            EXPECT_EQ(GameHistory[bad - 1].timeSec, (bad - 1) % 1000);
        }
        EXPECT_EQ(LevelGameCounts[glExpert], bad);
        EXPECT_EQ(ReadStats(), std::vector<uint8_t>(good.begin(), good.begin() + bad * 49));
    }
    WriteStats(good);
    LoadHistoryFile();
    EXPECT_EQ(HistoryRecordCount(), 2100u);
    EXPECT_EQ(GameHistory[2099].timeSec, 99);
}

TEST_F(HistoryFileTest, EachBadRecordLoadNamesItsCopyFromAFreshClock) {
    // Log lines read the clock too, also while they wait for the debug window: the second
    // copy's name comes from a later reading than the first's, never from the first load's.
    DebugWindowOn = 0;
    std::vector<uint8_t> bad;
    AppendTo(bad, SampleRecord());
    bad[0] ^= 0x01;
    uint16_t second = 10;
    SystemTimeSource = [&second] { return TSystemTime{2026, 3, 0, 5, 14, 5, second++, 0}; };
    WriteStats(bad);
    LoadHistoryFile();
    WriteStats(bad);
    LoadHistoryFile();
    auto copies = CorruptCopies();
    std::sort(copies.begin(), copies.end());
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0], "stats_corrupt_14h5h10s-5d3m2026y.dat");
    EXPECT_EQ(copies[1].rfind("stats_corrupt_14h5h1", 0), 0u);
    EXPECT_NE(copies[1], copies[0]);
}

// Cutting the history before its copy is safe would lose the damaged part for good.
TEST_F(HistoryFileTest, FailedCopyLeavesTheFileAsItIs) {
    const std::string copy = "stats_corrupt_14h5h9s-5d3m2026y.dat";
    const struct {
        const char* name;
        std::string blocked; // a folder in the way of the file written
        std::string failed;  // the file named in the log
        bool copyKept;
    } cases[] = {
        {"copy", copy, copy, false},
    };
    const std::vector<uint8_t> bytes(50, 0x11);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(Home()))
            fs::remove_all(entry.path());
        messages_.clear();
        DebugLogLines.clear();
        fs::create_directories(Home() + c.blocked + "/in-the-way");
        WriteStats(bytes);
        LoadHistoryFile();
        EXPECT_EQ(ReadStats(), bytes);
        EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"});
        EXPECT_TRUE(Logged("#Cannot save file " + Home() + c.failed));
        EXPECT_EQ(fs::is_regular_file(Home() + copy), c.copyKept);
    }
}

TEST_F(HistoryFileTest, ExistingCopyOfTheSameNameIsOverwritten) {
    std::ofstream(Home() + "stats_corrupt_14h5h9s-5d3m2026y.dat") << "old";
    const std::vector<uint8_t> bytes(50, 0x11);
    WriteStats(bytes);
    LoadHistoryFile();
    EXPECT_EQ(ReadBytes(Home() + "stats_corrupt_14h5h9s-5d3m2026y.dat"), bytes);
}

TEST_F(HistoryFileTest, LoadStopsAtTheTableCapacityAndKeepsTheEndSlot) {
    std::vector<uint8_t> bytes;
    AppendTo(bytes, SampleRecord());
    const std::vector<uint8_t> one = bytes;
    bytes.reserve((kHistoryCapacity + 2) * 49);
    for (uint32_t i = 1; i < kHistoryCapacity + 2; ++i)
        bytes.insert(bytes.end(), one.begin(), one.end());
    WriteStats(bytes);
    LoadHistoryFile();
    EXPECT_EQ(GameHistory[kHistoryCapacity - 1].day, 31);
    EXPECT_EQ(GameHistory[kHistoryCapacity].day, 0);
    EXPECT_EQ(LevelGameCounts[2], kHistoryCapacity);
    EXPECT_TRUE(Logged("#stats file holds more than 262144 records: the rest is not loaded"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(ReadStats().size(), bytes.size());
}

// An unreadable file is not a damaged one: no copy, nothing emptied, the table kept.
TEST_F(HistoryFileTest, FileThatCannotBeOpenedKeepsTableAndFile) {
    FillTableWithTwoRecords();
    std::vector<uint8_t> bytes;
    AppendTo(bytes, SampleRecord());
    WriteStats(bytes);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    const int probe = ::dup(0);
    ASSERT_GE(probe, 0);
    ::close(probe);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(probe);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    LoadHistoryFile();
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(GameHistory[1].day, 31);
    EXPECT_EQ(LevelGameCounts[2], 2u);
    EXPECT_EQ(ReadStats(), bytes);
    EXPECT_TRUE(CorruptCopies().empty());
    EXPECT_EQ(messages_, std::vector<std::string>{"Cannot load file"});
    EXPECT_TRUE(Logged("Cannot load file " + StatsPath()));
}

// The won game reaches the file from the end-of-game path, and only a ranked one outside a
// replay does.
TEST_F(HistoryFileTest, WonRankedGameIsAppendedToTheFile) {
    const struct {
        const char* name;
        uint8_t level;
        bool replay;
        bool historyLog;
        std::size_t bytes;
    } cases[] = {
        {"history logging off", glBeginner, false, false, 0},
        {"custom", glCustom, false, true, 0},
        {"during playback", glBeginner, true, true, 0},
        {"ranked beginner", glBeginner, false, true, 49},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(StatsPath());
        ClearGameHistory();
        test::StartLoadedGame(test::kBeginnerBoard, c.level);
        Options.doHistoryLog = c.historyLog;
        ReplayMode = c.replay ? 1 : 0;
        SetClock(7, 25);
        RecordLeftRelease(5, 5);
        for (int col = 0; col <= LastColumn; ++col)
            for (int row = 0; row <= LastRow; ++row)
                if (HiddenBoard[col][row] != csMine) VisibleBoard[col][row] = HiddenBoard[col][row];
        Solved3BV = Board3BV;
        LeftClicks = 3;
        GameWon();
        EXPECT_EQ(ReadStats().size(), c.bytes);
        ReplayMode = 0;
    }
    // The last case's file.
    LoadHistoryFile();
    EXPECT_EQ(HistoryRecordCount(), 1u);
    EXPECT_EQ(GameHistory[0].level, glBeginner);
    EXPECT_EQ(GameHistory[0].timeSec, 7);
    EXPECT_EQ(GameHistory[0].timeHund, 25);
    EXPECT_EQ(GameHistory[0].bbbv, 5);
    EXPECT_EQ(GameHistory[0].leftClicks, 3);
    EXPECT_EQ(GameHistory[0].day, 5);
    EXPECT_EQ(GameHistory[0].hour, 14);
}

// A power loss could drop the last games although the append had returned: nothing flushed them.
TEST_F(HistoryFileTest, EveryAppendIsFlushedToTheDiskBeforeItReturns) {
    for (int game = 1; game <= 3; ++game) {
        gDataSyncedFiles.clear();
        PlayGame(SampleRecord());
        ASSERT_TRUE(AppendHistoryRecord());
        EXPECT_EQ(gDataSyncedFiles, std::vector<std::string>{StatsPath()});
        EXPECT_EQ(ReadStats().size(), 49u * game);
    }
}

// A history the player made read-only was appended to all the same when the program ran as root.
TEST_F(HistoryFileTest, AReadOnlyHistoryIsNeitherAppendedToNorCut) {
    std::vector<uint8_t> bytes;
    AppendTo(bytes, SampleRecord());
    WriteStats(bytes);
    ::chmod(StatsPath().c_str(), 0444);
    PlayGame(SampleRecord());
    EXPECT_FALSE(AppendHistoryRecord());
    EXPECT_EQ(ReadStats(), bytes);
    EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"});
    EXPECT_TRUE(Logged("#Cannot save file " + StatsPath()));

    // Damaged: the copy is made, the read-only file itself stays as it is.
    messages_.clear();
    bytes.push_back(0x42);
    ::chmod(StatsPath().c_str(), 0644);
    WriteStats(bytes);
    ::chmod(StatsPath().c_str(), 0444);
    LoadHistoryFile();
    EXPECT_EQ(ReadStats(), bytes);
    EXPECT_EQ(CorruptCopies().size(), 1u);
    EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"});
}

// A damaged "stats.dat" of a gigabyte was read whole into memory, copied and flushed before the
// window showed. The load reads no more than the table can hold and one record; the copy is
// streamed, once the window shows, and only of the file as it was found.
TEST_F(HistoryFileTest, AHugeDamagedFileIsReadToTheTablesSizeAndCopiedAfterTheWindowShows) {
    std::vector<std::function<void()>> deferred;
    UiHooks.RunAfterWindowShown = [&deferred](std::function<void()> work) {
        deferred.push_back(std::move(work));
    };
    const uintmax_t size = 20'000'003; // past the read limit, and no whole number of records
    ASSERT_GT(size, kHistoryReadLimit);
    ASSERT_NE(size % 49, 0u);
    std::vector<uint8_t> full;
    full.reserve((kHistoryCapacity + 5) * 49);
    for (uint32_t i = 0; i < kHistoryCapacity + 5; ++i)
        AppendTo(full, SampleRecord());
    std::vector<uint8_t> badFirst;
    AppendTo(badFirst, SampleRecord());
    badFirst[46] ^= 0x01;
    const struct {
        const char* what;
        const std::vector<uint8_t>* head;
        uint32_t records;
        uintmax_t kept;
    } cases[] = {
        {"a bad first record", &badFirst, 0, 0},
        {"a full table and a torn tail", &full, kHistoryCapacity, size - size % 49},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(Home()))
            fs::remove_all(entry.path());
        messages_.clear();
        deferred.clear();
        WriteStats(*c.head);
        fs::resize_file(StatsPath(), size);
        const uint64_t before = BytesReadSoFar();
        LoadHistoryFile();
        EXPECT_LE(BytesReadSoFar() - before, kHistoryReadLimit + 4096);
        EXPECT_EQ(HistoryRecordCount(), c.records);
        EXPECT_TRUE(CorruptCopies().empty());
        EXPECT_EQ(fs::file_size(StatsPath()), size);
        EXPECT_TRUE(messages_.empty());
        ASSERT_EQ(deferred.size(), 1u);
        deferred[0]();
        const auto copies = CorruptCopies();
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(fs::file_size(Home() + copies[0]), size);
        EXPECT_EQ(fs::file_size(StatsPath()), c.kept);
        EXPECT_EQ(messages_, std::vector<std::string>{"History file manual corruption detected"});
    }

    // Changed before the window showed (a game won meanwhile): nothing is copied or cut.
    for (const auto& entry : fs::directory_iterator(Home()))
        fs::remove_all(entry.path());
    messages_.clear();
    deferred.clear();
    WriteStats(badFirst);
    fs::resize_file(StatsPath(), size);
    LoadHistoryFile();
    ASSERT_EQ(deferred.size(), 1u);
    fs::resize_file(StatsPath(), size + 49);
    deferred[0]();
    EXPECT_TRUE(CorruptCopies().empty());
    EXPECT_EQ(fs::file_size(StatsPath()), size + 49);
    EXPECT_TRUE(messages_.empty());
}

} // namespace
} // namespace quorlet
