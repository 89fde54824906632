#include <filesystem>
#include <fstream>
#include <functional>

#include "core/nametemplate.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class NameTemplate : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        TimeZoneBias = 0;
        Options.CustomTimeZone = 0;
        At(2006, 3, 5, 14, 7, 9); // a Sunday
        Options.ReplayName = "Ann";
        Options.BegName = "Beg";
        Options.IntName = "Int";
        Options.ExpName = "Exp";
        Options.CusName = "Custom";
    }
    void At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, uint16_t second) {
        TSystemTime t;
        t.year = year;
        t.month = month;
        t.day = day;
        t.hour = hour;
        t.minute = minute;
        t.second = second;
        SystemTimeSource = [t] { return t; };
    }
    void TearDown() override {
        SystemTimeSource = nullptr;
        EngineTest::TearDown();
    }
};

TEST_F(NameTemplate, TagsAreFilledFromTheGameSettingsAndClock) {
    const struct {
        const char* name;
        std::function<void()> setup;
        const char* nameTemplate;
        const char* expected;
    } cases[] = {
        {"name and time in any case",
         [] {
             GameClock = {12, 34};
         },
         "<nAmE>_<Time>", "Ann_12,34"},
        {"recorder style adds a second to <TIME> only",
         [] {
             GameClock = {12, 34};
             Options.doRecorderStyleTimer = true;
         },
         "<TIME> <TIMEREAL> <TIMERECORDERSTYLE> <INTTIME>", "13,34 12,34 13,34 12"},
        {"dot separator",
         [] {
             GameClock = {7, 3};
             Options.doDotSeparator = true;
         },
         "<TIME>", "7.03"},
        {"standard level name", [] { GameLevel = glExpert; }, "<MODE>", "Exp"},
        {"custom board",
         [] {
             GameLevel = glCustom;
             LastColumn = 19;
             LastRow = 11;
             MineCount = 50;
         },
         "<MODE>", "Custom_20x12_50mines"},
        {"board tag is dropped", [] {}, "a<BOARD>b", "ab"},
        {"completion",
         [] {
             Board3BV = 60;
             Solved3BV = 15;
         },
         "<COMPLETION>", "25"},
        {"completion of a board without 3BV", [] { Solved3BV = 3; }, "<COMPLETION>", "0"},
        {"3BV and ZiNi",
         [] {
             Board3BV = 41;
             GZiNi = 30;
             HZiNi = 28;
         },
         "<3BV>-<GZINI>-<HZINI>", "41-30-28"},
        {"estimate with three decimals", [] { TimeEstimate = 42.35L; }, "<OBV>", "42,350"},
        {"3BV/s before any time", [] { Board3BV = 30; }, "<3BV/S>", "0,00"},
        {"3BV/s cut after two decimals",
         [] {
             Board3BV = 30;
             Solved3BV = 10;
             GameClock = {3, 0};
         },
         "<3bv/s>", "3,33"},
        {"3BV/s that is a whole number",
         [] {
             Board3BV = Solved3BV = 10;
             GameClock = {5, 0};
         },
         "<3BV/S>", "2"},
        {"date", [] {}, "<DD>.<MM>.<YYYY>", "05.03.2006"},
        {"names of day and month", [] {}, "<DDD> <MMM> <MMMM> <YY>", "Sun mar March 06"},
        {"clock time with its colons cleaned", [] {}, "<HH>:<MIN>:<SEC>", "14_07_09"},
        {"a name holding its own tag does not loop", [] { Options.ReplayName = "<name>"; }, "<NAME>",
         "_name_"},
        {"a name holding a later tag is expanded",
         [] {
             Options.ReplayName = "<3bv>";
             Board3BV = 7;
         },
         "<name>", "7"},
        {"a level name holding its own tag", [] { Options.BegName = "x<MODE>"; }, "<MODE><MODE>",
         "x_MODE_x_MODE_"},
        {"unknown tags are cleaned", [] {}, "<foo>", "_foo_"},
    };
    for (const auto& c : cases) {
        SetUp(); // fresh globals for each case
        c.setup();
        EXPECT_EQ(ExpandNameTemplate(c.nameTemplate), c.expected) << c.name;
    }
}

TEST_F(NameTemplate, CleanUpKeepsOneFolderLevel) {
    const struct {
        const char* nameTemplate;
        const char* expected;
        const char* folder; // created under the base folder, or nullptr
    } cases[] = {
        {"a/b:c", "a_b_c", nullptr},
        {"x*y?z'q\"r|s", "x_y_z_q_r_s", nullptr},
        {"\\abc", "_abc", nullptr},
        {"my games\\a\\b", "my_games/a_b", "my_games"},
        {"my games\\a b", "my_games/a b", "my_games"},
        {"dir\\", "dir/", "dir"},
        {"..\\up", "__/up", "__"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpandNameTemplate(c.nameTemplate), c.expected) << c.nameTemplate;
        if (c.folder) {
            EXPECT_TRUE(std::filesystem::is_directory(Home() + c.folder)) << c.folder;
        }
    }
}

TEST_F(NameTemplate, FolderGoesUnderTheGivenBaseNotTheCurrentFolder) {
    const std::string base = Home() + "replays/";
    std::filesystem::create_directories(base);
    EXPECT_EQ(ExpandNameTemplate("<name>\\<dd>", base), "Ann/05");
    EXPECT_TRUE(std::filesystem::is_directory(base + "Ann"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "Ann"));
}

TEST_F(NameTemplate, FolderFailureIsLoggedAndTheNameStillReturned) {
    DebugWindowOn = 1;
    std::ofstream(Home() + "taken") << "a file, not a folder";
    EXPECT_EQ(ExpandNameTemplate("taken\\game"), "taken/game");
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find("#cannot create directory \"taken\""), std::string::npos)
        << DebugLogLines.front();
}

TEST_F(NameTemplate, AllDateTagsReadOneMoment) {
    At(2026, 12, 31, 23, 59, 59);
    EXPECT_EQ(ExpandNameTemplate("<YYYY>-<MM>-<DD> <HH>.<MIN>.<SEC> <DDD>"), "2026-12-31 23.59.59 Thu");
}

} // namespace
} // namespace quorlet::test
