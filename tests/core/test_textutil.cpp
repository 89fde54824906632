#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "core/textutil.h"
#include "core/uihooks.h"
#include "testutil.h"

namespace quorlet {

namespace {

TSystemTime At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute = 0,
               uint16_t second = 0, uint16_t ms = 0) {
    TSystemTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.milliseconds = ms;
    return t;
}

} // namespace

class TextUtilTest : public test::EngineTest {
  protected:
    void FixClock(const TSystemTime& utc) {
        SystemTimeSource = [utc] { return utc; };
    }
};

// ---- UpdateNow ----

struct NowCase {
    const char* what;
    TSystemTime utc;
    int16_t customTimeZone;
    int32_t bias;
    uint16_t year, month, day, hour;
};

class UpdateNowTable : public TextUtilTest, public ::testing::WithParamInterface<NowCase> {};

TEST_P(UpdateNowTable, ShiftsDateAndHour) {
    const NowCase& c = GetParam();
    FixClock(c.utc);
    Options.CustomTimeZone = c.customTimeZone;
    TimeZoneBias = c.bias;
    UpdateNow();
    EXPECT_EQ(Now.year, c.year);
    EXPECT_EQ(Now.month, c.month);
    EXPECT_EQ(Now.day, c.day);
    EXPECT_EQ(Now.hour, c.hour);
    EXPECT_EQ(Now.minute, c.utc.minute);
    EXPECT_EQ(Now.second, c.utc.second);
    EXPECT_EQ(Now.milliseconds, c.utc.milliseconds);
}

INSTANTIATE_TEST_SUITE_P(
    TextUtil, UpdateNowTable,
    ::testing::Values(NowCase{"same day", At(2026, 3, 5, 12, 7, 9, 45), 0, -60, 2026, 3, 5, 13},
                      NowCase{"back into leap February", At(2024, 3, 1, 0, 30), 0, 120, 2024, 2, 29, 22},
                      NowCase{"back into plain February", At(2023, 3, 1, 0, 30), 0, 120, 2023, 2, 28, 22},
                      NowCase{"back over new year", At(2026, 1, 1, 1), 0, 180, 2025, 12, 31, 22},
                      NowCase{"back into a 30-day month", At(2026, 5, 1, 0), -1, 0, 2026, 4, 30, 23},
                      NowCase{"forward over new year", At(2026, 12, 31, 23), 2, 0, 2027, 1, 1, 1},
                      NowCase{"forward out of February", At(2026, 2, 28, 23), 1, 0, 2026, 3, 1, 0},
                      NowCase{"forward into leap day", At(2024, 2, 28, 23), 1, 0, 2024, 2, 29, 0},
                      NowCase{"every fourth year is leap", At(1900, 3, 1, 0), 0, 60, 1900, 2, 29, 23},
                      NowCase{"bias minutes ignored", At(2026, 3, 5, 10), 0, 330, 2026, 3, 5, 5},
                      NowCase{"negative bias truncates toward zero", At(2026, 3, 5, 10), 0, -330, 2026, 3, 5,
                              15},
                      // Offsets beyond one day: the hour is normalised fully instead of by one day.
                      NowCase{"two days back", At(2026, 3, 1, 0), -12, 1080, 2026, 2, 27, 18},
                      NowCase{"two days forward", At(2026, 3, 1, 23), 13, -840, 2026, 3, 3, 2},
                      NowCase{"exactly one day back", At(2026, 3, 1, 0), -12, 720, 2026, 2, 28, 0}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(TextUtilTest, UpdateNowKeepsTheClocksDayOfWeek) {
    TSystemTime utc = At(2026, 3, 1, 0);
    utc.dayOfWeek = 0;
    FixClock(utc);
    TimeZoneBias = 60;
    UpdateNow();
    EXPECT_EQ(Now.day, 28);
    EXPECT_EQ(Now.dayOfWeek, 0);
}

TEST_F(TextUtilTest, SystemClockIsUsedWithoutASource) {
    const std::time_t before = std::time(nullptr);
    const TSystemTime t = ReadSystemTimeUtc();
    std::tm tm{};
    gmtime_r(&before, &tm);
    EXPECT_EQ(t.year, tm.tm_year + 1900);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_LT(t.milliseconds, 1000);
}

// ---- Time zone ----

class TimeZoneInfoTest : public TextUtilTest {
  protected:
    void SetUp() override {
        TextUtilTest::SetUp();
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
    }
    void TearDown() override {
        if (saved_)
            ::setenv("TZ", saved_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
        TextUtilTest::TearDown();
    }
    void UseZone(const char* tz) {
        ::setenv("TZ", tz, 1);
        ::tzset();
    }

  private:
    std::optional<std::string> saved_;
};

TEST_F(TimeZoneInfoTest, ReadsStandardBiasAndName) {
    struct Case {
        const char* tz;
        int32_t bias;
        const char* name;
    };
    // The zones with summer time must report the standard offset in any season.
    for (const Case& c : {Case{"UTC0", 0, "UTC"}, Case{"EST5EDT,M3.2.0,M11.1.0", 300, "EST"},
                          Case{"CET-1CEST,M3.5.0,M10.5.0/3", -60, "CET"}, Case{"IST-5:30", -330, "IST"}}) {
        UseZone(c.tz);
        ReadTimeZoneInfo();
        EXPECT_EQ(TimeZoneBias, c.bias) << c.tz;
        EXPECT_EQ(TimeZoneName, c.name) << c.tz;
    }
}

// ---- Formatters ----

TEST_F(TextUtilTest, FormatGameTime) {
    struct Case {
        uint16_t seconds;
        uint8_t hundredths;
        bool dot;
        bool recorder;
        const char* plain;
        const char* shown;
    };
    for (const Case& c :
         {Case{7, 3, false, false, "7,03", "7,03"}, Case{12, 5, false, true, "12,05", "13,05"},
          Case{0, 0, true, false, "0.00", "0.00"}, Case{999, 99, true, true, "999.99", "1000.99"},
          Case{10, 50, false, false, "10,50", "10,50"}}) {
        Options.doDotSeparator = c.dot;
        Options.doRecorderStyleTimer = c.recorder;
        EXPECT_EQ(FormatGameTimePlain(c.seconds, c.hundredths), c.plain);
        EXPECT_EQ(FormatGameTime(c.seconds, c.hundredths), c.shown);
        EXPECT_EQ(DecimalSeparatorChar(), c.dot ? '.' : ',');
    }
}

TEST_F(TextUtilTest, FormatClockTimePadsEachPart) {
    EXPECT_EQ(FormatClockTime(9, 5, 0), "09:05:00");
    EXPECT_EQ(FormatClockTime(23, 59, 10), "23:59:10");
}

TEST_F(TextUtilTest, FormatDateFollowsDateOrder) {
    Options.DateOrder = 0;
    EXPECT_EQ(FormatDate(5, 3, 2026), "05.03.2026");
    Options.DateOrder = 1;
    EXPECT_EQ(FormatDate(5, 3, 2026), "03.05.2026");
    EXPECT_EQ(FormatDate(25, 12, 999), "12.25.999");
    Options.DateOrder = 2;
    EXPECT_EQ(FormatDate(5, 3, 2026), "");
}

TEST_F(TextUtilTest, DateWeekDay) {
    struct Case {
        int year, month, day, weekday;
    };
    for (const Case& c : {
             Case{2026, 3, 5, 3},   // Thursday
             Case{1, 1, 1, 0},      // the count starts on a Monday
             Case{2000, 2, 29, 1},  // Gregorian leap century
             Case{1900, 3, 1, 3},   // 1900 is not a leap year here
             Case{2024, 12, 31, 1}, // Tuesday
             Case{2026, 3, 8, 6},   // Sunday
             Case{12026, 3, 5, 3},  // year folded mod 10000
             Case{0, 1, 1, 0},      // year 0 becomes 1
             Case{2026, 13, 5, 0},  // month 13 folds to 0, then 1: 5 January 2026, a Monday
             Case{2026, 1, 32, 3},  // day 32 of January folds to 1
             Case{2026, 2, 30, 6},  // day 30 of a plain February folds to 1
             Case{2024, 2, 30, 3},  // leap February: day 30 folds to 0, then 1
         }) {
        EXPECT_EQ(DateWeekDay(c.year, c.month, c.day), c.weekday) << c.year << "-" << c.month << "-" << c.day;
    }
}

// ---- Newlines ----

TEST_F(TextUtilTest, NewlineEscaping) {
    struct Case {
        const char* plain;
        const char* escaped;
    };
    for (const Case& c : {Case{"", ""}, Case{"a", "a"}, Case{"\n", "\n"}, Case{"ab", "ab\\n"},
                          Case{"one\r\ntwo", "one\\ntwo\\n"}, Case{"one\r\ntwo\r\n", "one\\ntwo\\n"},
                          Case{"a\nb", "a\nb\\n"}})
        EXPECT_EQ(EscapeNewlines(c.plain), c.escaped) << c.plain;

    for (const Case& c : {Case{"debug\\nleft\\n", "debug\r\nleft\r\n"}, Case{"\\", "\\"},
                          Case{"a\\\\nb", "a\\\r\nb"}, Case{"no breaks", "no breaks"}, Case{"\\N", "\\N"}})
        EXPECT_EQ(UnescapeNewlines(c.plain), c.escaped) << c.plain;
}

// ---- Clipboard ----

TEST_F(TextUtilTest, ClipboardGoesThroughTheHook) {
    CopyTextToClipboard("nothing happens without a window");
    std::vector<std::string> copied;
    UiHooks.CopyTextToClipboard = [&](const std::string& text) { copied.push_back(text); };
    CopyTextToClipboard("3BV=12");
    EXPECT_EQ(copied, std::vector<std::string>{"3BV=12"});
    UiHooks.CopyTextToClipboard = [](const std::string&) { throw std::runtime_error("busy"); };
    EXPECT_NO_THROW(CopyTextToClipboard("busy clipboard"));
}

// ---- External cursor ----

TEST_F(TextUtilTest, LoadExternalCursorChoosesPictureOrBuiltIn) {
    struct Case {
        const char* what;
        const char* fileName; // "" = no CursorFileName
        bool createFile;
        bool loads;
        int32_t width, height;
        bool usesFile;
        const char* logLine; // "" = nothing logged
    };
    const Case cases[] = {
        {"no name", "", false, true, 16, 16, false, ""},
        {"missing file", "cur.bmp", false, true, 16, 16, false, ""},
        {"fits", "cur.bmp", true, true, 32, 32, true, ""},
        {"too wide", "cur.bmp", true, true, 33, 10, false, "#external cursor exceeds 32x32 pixels size"},
        {"too high", "cur.bmp", true, true, 10, 33, false, "#external cursor exceeds 32x32 pixels size"},
        {"not a picture", "cur.bmp", true, false, 0, 0, false, "#could not load external cursor"},
    };
    DebugWindowOn = 1;
    SystemTimeSource = [] { return At(2026, 3, 5, 14, 7, 9, 45); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DebugLogLines.clear();
        Options.CursorFileName = c.fileName;
        const std::string path = Home() + "cur.bmp";
        std::remove(path.c_str());
        if (c.createFile) std::ofstream(path) << "x";
        UiHooks.PictureSize = [&](const std::string& p, int32_t& w, int32_t& h) {
            EXPECT_EQ(p, path);
            w = c.width;
            h = c.height;
            return c.loads;
        };
        std::vector<std::string> used;
        UiHooks.SetReplayCursor = [&](const std::string& p) { used.push_back(p); };
        LoadExternalCursor();
        EXPECT_EQ(used, std::vector<std::string>{c.usesFile ? path : std::string()});
        if (*c.logLine) {
            ASSERT_EQ(DebugLogLines.size(), 1u);
            EXPECT_EQ(DebugLogLines[0], std::string("14:07:09:045 ") + c.logLine);
        } else {
            EXPECT_TRUE(DebugLogLines.empty());
        }
    }
}

// A picture reader reads what it is handed whole: a huge file named as the cursor cost the
// start seconds. Only a small regular file reaches it.
TEST_F(TextUtilTest, AHugeOrOddCursorFileNeverReachesThePictureReader) {
    DebugWindowOn = 1;
    Options.CursorFileName = "cur.bmp";
    const std::string path = Home() + "cur.bmp";
    int asked = 0;
    UiHooks.PictureSize = [&](const std::string&, int32_t& w, int32_t& h) {
        ++asked;
        w = h = 16;
        return true;
    };
    std::vector<std::string> used;
    UiHooks.SetReplayCursor = [&](const std::string& p) { used.push_back(p); };
    std::ofstream(path) << "x";
    std::filesystem::resize_file(path, (1u << 20) + 1);
    LoadExternalCursor();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(used, std::vector<std::string>{std::string()});
    EXPECT_TRUE(std::any_of(DebugLogLines.begin(), DebugLogLines.end(), [](const std::string& line) {
        return line.find("#could not load external cursor") != std::string::npos;
    }));
    std::filesystem::resize_file(path, 1000);
    LoadExternalCursor();
    EXPECT_EQ(asked, 1);
}

// ---- Start-up and end of run ----

TEST_F(TextUtilTest, InitMemoryLogAndWordListResetsState) {
    MemoryLogAvailable = 123;
    MemoryLogHour = 14;
    MemoryLogMinute = 7;
    Options.DateOrder = 1;
    LeftDoubleClickCount = 1;
    BannedWords = {"b4dw0rd", "MiXed", ""};
    InitMemoryLogAndWordList();
    EXPECT_EQ(BannedWords, (std::vector<std::string>{"B4DW0RD", "MIXED", ""}));
    EXPECT_EQ(MemoryLogAvailable, 0u);
    EXPECT_EQ(MemoryLogHour, 60);
    EXPECT_EQ(MemoryLogMinute, 60);
    EXPECT_EQ(Options.DateOrder, 0);
    EXPECT_EQ(LeftDoubleClickCount, 0);
}

TEST_F(TextUtilTest, ReleaseGlobalDataEmptiesTexts) {
    BoardString = "*1..";
    GameIdText = "0|5.3.2026.14:07:09:045";
    GameEndStamp = "5.14:09:31:007";
    ReplayPlayerName = "Ann";
    CounterLabels[0] = "3BV";
    CounterValues.back() = "12";
    BannedWords = {"WORD"};
    Options.UserIDText = "Ann";
    Options.hsExpJump = "x";
    Options.doDotSeparator = true;
    ReleaseGlobalData();
    EXPECT_TRUE(BannedWords.empty());
    EXPECT_TRUE(Options.UserIDText.empty());
    EXPECT_TRUE(Options.hsExpJump.empty());
    EXPECT_TRUE(Options.LastPath.empty());
    EXPECT_TRUE(Options.doDotSeparator); // only the texts go
    EXPECT_TRUE(ReplayPlayerName.empty());
    EXPECT_TRUE(CounterLabels[0].empty());
    EXPECT_TRUE(CounterValues.back().empty());
    EXPECT_TRUE(BoardString.empty());
    EXPECT_TRUE(GameIdText.empty());
    EXPECT_TRUE(GameEndStamp.empty());
}

} // namespace quorlet
