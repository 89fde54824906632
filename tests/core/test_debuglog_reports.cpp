#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/debuglog.h"
#include "core/sysinfo.h"
#include "core/uihooks.h"
#include "testutil.h"

namespace quorlet {

class DebugReportTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        SystemTimeSource = [this] { return clock_; };
        DebugWindowOn = 1;
    }
    void SetTime(uint16_t hour, uint16_t minute) {
        clock_.hour = hour;
        clock_.minute = minute;
    }
    TSystemTime clock_{2026, 3, 4, 5, 14, 7, 9, 45};
};

// ---- Memory ----

TEST_F(DebugReportTest, ParseMemInfoHolds64BitAmounts) {
    const auto status = ParseMemInfo("MemTotal:       67108864 kB\n"
                                     "MemFree:         1000000 kB\n"
                                     "MemAvailable:   50331648 kB\n"
                                     "Buffers:           12345 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalBytes, 68719476736ull); // 64 GiB
    EXPECT_EQ(status->availableBytes, 51539607552ull);
}

TEST_F(DebugReportTest, ParseMemInfoFallsBackToFreeAndRejectsGaps) {
    const auto old = ParseMemInfo("MemTotal: 2048 kB\nMemFree: 1024 kB\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->availableBytes, 1048576u);
    EXPECT_FALSE(ParseMemInfo("MemFree: 1024 kB\n"));
    EXPECT_FALSE(ParseMemInfo(""));
    EXPECT_FALSE(ParseMemInfo("MemTotal: lots\n"));
}

TEST_F(DebugReportTest, SystemMemoryStatusIsReadable) {
    const auto status = ReadMemoryStatus();
    ASSERT_TRUE(status);
    EXPECT_GT(status->totalBytes, 0u);
    EXPECT_LE(status->availableBytes, status->totalBytes);
}

TEST_F(DebugReportTest, MemoryUsageOncePerMinuteWithDirection) {
    const uint64_t big = 6000000000ull; // past 32 bits
    SetTime(9, 5);
    LogMemoryUsage(big);     // first entry compares with 0
    LogMemoryUsage(big - 1); // same minute: nothing
    SetTime(9, 6);
    LogMemoryUsage(big - 4096);
    SetTime(10, 6);
    LogMemoryUsage(big + 8192);
    EXPECT_EQ(DebugLogLines, (std::vector<std::string>{
                                 "10:06:09:045 memory_usage: [10:06] 6000008192 ==> used 12288",
                                 "09:06:09:045 memory_usage: [09:06] 5999995904 ==> free 4096",
                                 "09:05:09:045 memory_usage: [09:05] 6000000000 ==> used 6000000000",
                             }));
    EXPECT_EQ(MemoryLogAvailable, big + 8192);
    EXPECT_EQ(MemoryLogHour, 10);
    EXPECT_EQ(MemoryLogMinute, 6);
}

TEST_F(DebugReportTest, MegabytesWithTenthDigit) {
    EXPECT_EQ(MegabytesText(0), "0,0");
    EXPECT_EQ(MegabytesText(1572864), "1,5");          // 1.5 MB
    EXPECT_EQ(MegabytesText(8589934592ull), "8192,0"); // 64-bit amounts
    EXPECT_EQ(MegabytesText(10485759), "9,0");         // the tenth is (bytes / 104857) mod 10
}

// ---- CPU ----

TEST_F(DebugReportTest, CpuSpeedFromTwoCounterReadings) {
    struct Case {
        uint64_t first, second;
        uint32_t mhz;
    };
    for (const Case& c :
         {Case{1000, 1000 + 1500000000ull, 3000}, Case{0, 499999, 0},
          // Only the low 32 bits of the difference count.
          Case{0, 5000000000ull, 1410}, Case{0xFFFFFFFF00000000ull, 0xFFFFFFFF00000000ull + 1000000, 2}}) {
        std::vector<std::string> calls;
        std::vector<uint64_t> readings{c.first, c.second};
        size_t next = 0;
        const uint32_t mhz =
            MeasureCpuMHz([&](unsigned ms) { calls.push_back("wait " + std::to_string(ms)); },
                          [&] {
                              calls.push_back("read");
                              return readings.at(next++);
                          });
        EXPECT_EQ(mhz, c.mhz);
        EXPECT_EQ(calls, (std::vector<std::string>{"wait 10", "read", "wait 500", "read"}));
    }
}

// ---- Session ----

TEST_F(DebugReportTest, SessionBlockReadsStartOnTop) {
    SessionStart = TSystemTime{2026, 3, 4, 5, 8, 7, 9, 0};
    SessionClicks = 42;
    LogDebugSessionInfo();
    EXPECT_EQ(DebugLogLines, (std::vector<std::string>{"14:07:09:045 *** STARTING DEBUG_SESSION_INFO ***",
                                                       "sess_start = 2026.3.5 8:7:9", "sess_clicks = 42", "",
                                                       "14:07:09:045 *** END OF DEBUG_SESSION_INFO ***"}));
}

// ---- Start-up report ----

TEST_F(DebugReportTest, StartupReportInOrder) {
    DebugWindowOn = 0;
    TimeZoneBias = -60;
    TimeZoneName = "CET";
    LogStartupSystemReport(0x1234ABCD);
    EXPECT_EQ(DebugWindowOn, 1);
    // Newest first: read the report bottom-up.
    std::vector<std::string> lines(DebugLogLines.rbegin(), DebugLogLines.rend());
    for (auto& line : lines)
        line = line.substr(13);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "path      | " + Home());
    EXPECT_EQ(lines[1], "date      | Thu, 05.03.2026, process 0x1234ABCD launched");
    EXPECT_EQ(lines[2], "cpu speed | run the command get_cpu_speed");
    EXPECT_EQ(lines[3].rfind("memory    | ", 0), 0u);
    EXPECT_NE(lines[3].find(" MB RAM free"), std::string::npos);
    EXPECT_EQ(lines[4].rfind("platform  | Linux ", 0), 0u);
    EXPECT_EQ(lines[5], "timezone  | CET (GMT +1:00)");
    EXPECT_EQ(lines[6].rfind("language  | ", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end()),
              (std::vector<std::string>{"---", "warp field stabilized. opening gate to the minesweeper world",
                                        "---", "who of them got the skills to test me?", "---"}));
    // The first memory report of a session is measured from the start-up reading.
    EXPECT_GT(MemoryLogAvailable, 0u);
    EXPECT_EQ(MemoryLogHour, 15); // local time: bias -60
    EXPECT_EQ(MemoryLogMinute, 7);
}

TEST_F(DebugReportTest, TimeZoneLineSigns) {
    struct Case {
        int32_t bias;
        const char* line;
    };
    for (const Case& c : {Case{-60, "Z (GMT +1:00)"}, Case{-330, "Z (GMT +5:30)"}, Case{300, "Z (GMT -5:00)"},
                          Case{0, "Z (GMT -0:00)"}}) {
        DebugLogLines.clear();
        TimeZoneBias = c.bias;
        TimeZoneName = "Z";
        LogStartupSystemReport(0);
        bool found = false;
        for (const auto& line : DebugLogLines)
            if (line.find("timezone  | ") != std::string::npos) {
                EXPECT_EQ(line.substr(13 + 12), c.line);
                found = true;
            }
        EXPECT_TRUE(found);
    }
}

TEST_F(DebugReportTest, PlatformLineFromUnameFields) {
    struct Case {
        const char* release;
        const char* text;
    };
    for (const Case& c : {Case{"6.1.0-18-amd64", "Linux 6.1 build 0, #1 SMP"},
                          Case{"6.18.44-fc", "Linux 6.18 build 44, #1 SMP"},
                          Case{"5.4", "Linux 5.4 build 0, #1 SMP"}, Case{"", "Linux 0.0 build 0, #1 SMP"},
                          Case{"4.19.70000", "Linux 4.19 build 4464, #1 SMP"}}) // low 16 bits
        EXPECT_EQ(PlatformText("Linux", c.release, "#1 SMP"), c.text) << c.release;
}

// Without a memory status the report cannot go on: the user is told, and the log says so.
TEST_F(DebugReportTest, StartupReportFailureIsShownAndLogged) {
    std::vector<std::string> shown;
    UiHooks.ShowMessageBox = [&](const std::string& text) { shown.push_back(text); };
    LogStartupSystemReport(0, [] { return std::optional<TMemoryStatus>(); });
    EXPECT_EQ(shown, std::vector<std::string>{"Unable to scan system parameters."});
    EXPECT_EQ(DebugLogLines.at(0), "14:07:09:045 unable to scan system parameters");
    EXPECT_EQ(DebugLogLines.size(), 4u); // path, date and cpu lines came before the failure
}

TEST_F(DebugReportTest, StartupMemoryLineFromTheStatus) {
    LogStartupSystemReport(0, [] {
        return std::optional<TMemoryStatus>(TMemoryStatus{8589934592ull, 1572864});
    });
    bool found = false;
    for (const auto& line : DebugLogLines)
        if (line.find("memory    | ") != std::string::npos) {
            EXPECT_EQ(line.substr(13), "memory    | 1,5 of 8192,0 MB RAM free");
            found = true;
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(MemoryLogAvailable, 1572864u);
}

TEST_F(DebugReportTest, DebugModeSavesTheReport) {
    DebugModeFlag = 1;
    LogStartupSystemReport(0);
    EXPECT_EQ(DebugLogLines.at(0), "14:07:09:045 run debug mode. debug protocol saved.");
    EXPECT_TRUE(std::filesystem::exists(Home() + "_Debug_MS_Quorlet_0.47_14h07m_05d03m2026y.txt"));
}

} // namespace quorlet
