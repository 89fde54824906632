#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/FData.h"
#include "stats/FMath.h"
#include "stats/counters.h"
#include "testutil.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

class CountersTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        // A game in play: 12.34 s, 40 3BV with 10 solved, 8 left clicks.
        GameLevel = glIntermediate;
        GameClock = {12, 34};
        Board3BV = 40;
        Solved3BV = 10;
        LeftClicks = 8;
        RightClicks = 2;
        CellsOpenedByLeft = 6;
        NumberCellCounts[3] = 17;
    }
    // Records what the engine asks of the counters window.
    void CreateWindows() {
        OptionsWindowCreated = CountersWindowCreated = 1;
        UiHooks.SetCountersRowCount = [this](int32_t rows) {
            calls_.push_back("rows " + std::to_string(rows));
        };
        UiHooks.FillCountersGrid = [this](int32_t rows) { calls_.push_back("fill " + std::to_string(rows)); };
        UiHooks.SetCountersColumnWidths = [this](int32_t a, int32_t b) {
            calls_.push_back("widths " + std::to_string(a) + " " + std::to_string(b));
        };
        UiHooks.SetCountersBorder = [this](bool caption) {
            calls_.push_back(caption ? "caption" : "no border");
        };
        UiHooks.ShowCountersWindow = [this] { calls_.push_back("show"); };
        UiHooks.HideCountersWindow = [this] { calls_.push_back("hide"); };
        UiHooks.SetShowCountersCheck = [this](bool on) { calls_.push_back(on ? "checked" : "unchecked"); };
    }
    bool Logged(const std::string& text) const {
        for (const auto& line : DebugLogLines)
            if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0)
                return true;
        return false;
    }
    std::string ReadTemplateFile() const {
        std::ifstream in(Home() + "_counter_template.txt", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteTemplateFile(const std::string& text) const {
        std::ofstream(Home() + "_counter_template.txt", std::ios::binary) << text;
    }
    std::vector<std::string> calls_;
};

TEST_F(CountersTest, CounterLinesHoldExactlyOneBarAndNoLeadingSemicolon) {
    const struct {
        const char* line;
        bool counter;
    } cases[] = {{"", false},     {"Time|TIME", true}, {";Time|TIME", false},
                 {"a||b", false}, {"a|b|c", false},    {"no bar", false},
                 {"|", true},     {"#x|text", true},   {" ;a|b", true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsCounterLine(c.line), c.counter) << '"' << c.line << '"';
}

TEST_F(CountersTest, LabelIsTheTrimmedTextBeforeTheBar) {
    EXPECT_EQ(CounterLabel("  3BV / s \t| BBBV/TIME"), "3BV / s");
    EXPECT_EQ(CounterLabel("|x"), "");
}

TEST_F(CountersTest, CounterFormulaLosesBlanksAndGainsTheStopCharacter) {
    EXPECT_EQ(EvalCounterFormula(" 2 + 3 * 4 "), 14);
    EXPECT_EQ(EvalCounterFormula("2+3="), 5);
    EXPECT_FALSE(FormulaEvalError);
    EXPECT_EQ(EvalCounterFormula(""), 0);
    EXPECT_FALSE(FormulaEvalError);
    EXPECT_EQ(EvalCounterFormula("   "), 0);
}

struct TFormatCase {
    const char* formula;
    const char* text;
};
void PrintTo(const TFormatCase& c, std::ostream* os) {
    *os << '"' << c.formula << '"';
}

class CounterFormatTest : public CountersTest, public ::testing::WithParamInterface<TFormatCase> {};

TEST_P(CounterFormatTest, FormatsTheValue) {
    GameOver = 1;
    EXPECT_EQ(CounterValueText(std::string("x|") + GetParam().formula), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CounterFormatTest,
    ::testing::Values(TFormatCase{"7.0", "7"}, TFormatCase{"-2.5", "-2.50"}, TFormatCase{"3.14159", "3.14"},
                      TFormatCase{"123.456", "123.50"}, TFormatCase{"1234.56", "1235.00"},
                      TFormatCase{"12345.6", "1.235E4"}, TFormatCase{"99999.9", "1E5"},
                      TFormatCase{"12345", "12345"}, TFormatCase{"0.004", "0.00"},
                      TFormatCase{"-0.5", "-0.50"}, TFormatCase{"1/3", "0.33"}, TFormatCase{"2/3", "0.67"},
                      TFormatCase{"9.9999", "10.00"}, TFormatCase{"99.996", "100.00"}, TFormatCase{"0", "0"},
                      TFormatCase{"-0", "0"}, TFormatCase{"9223372036854775807", "9223372036854775807"},
                      TFormatCase{"POWER(10,30)", "1E30"}, TFormatCase{"-POWER(2,70)", "-1.181E21"},
                      TFormatCase{"FAKT(2000)", "INF"}, TFormatCase{"-FAKT(2000)", "-INF"},
                      TFormatCase{"SQRT(-1)", "NAN"}, TFormatCase{"1/0", "0"}, TFormatCase{"", "0"},
                      TFormatCase{"BBBVDONE/TIMEREAL", "0.81"},
                      // Exact binary halves round away from zero, as ScoreToStr rounds them.
                      TFormatCase{"33/8", "4.13"}, TFormatCase{"0.125", "0.13"},
                      TFormatCase{"-0.125", "-0.13"}, TFormatCase{"20.625", "20.63"},
                      TFormatCase{"1024.5", "1025.00"}, TFormatCase{"9.995", "9.99"}));

// Formulas always read "." as the decimal point; only the shown value takes the regional one.
TEST_F(CountersTest, DecimalCommaLocaleChangesOnlyTheShownSeparator) {
    struct TRestore {
        std::string name = std::setlocale(LC_NUMERIC, nullptr);
        ~TRestore() {
            std::setlocale(LC_NUMERIC, name.c_str());
            ::unsetenv("LOCPATH");
        }
    } restore;
    auto commaLocale = [] {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"})
            if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') return true;
        return false;
    };
    bool comma = commaLocale();
    if (!comma) {
        // Build machines seldom have one installed: compile one into the test folder.
        const std::string dir = Home() + "locales";
        std::filesystem::create_directories(dir);
        const std::string command = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) != -1 && std::filesystem::exists(dir + "/de_DE.UTF-8")) {
            ::setenv("LOCPATH", dir.c_str(), 1);
            comma = commaLocale();
        }
    }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma installed";
    GameOver = 1;
    EXPECT_EQ(EvaluateFormula("2.5+1e1="), 12.5L);
    const struct {
        const char* formula;
        const char* text;
    } cases[] = {{"2.5", "2,50"}, {"12345.6", "1,235E4"}, {"2,5", "2"}, {"0x10", "0"}, {"7", "7"}};
    for (const auto& c : cases)
        EXPECT_EQ(CounterValueText(std::string("x|") + c.formula), c.text) << c.formula;
}

TEST_F(CountersTest, BareFormulaWithoutBarIsEvaluatedWhole) {
    GameOver = 1;
    EXPECT_EQ(CounterValueText("LCLK*2"), "16");
}

TEST_F(CountersTest, DuringPlayValuesFollowTheCalculateOption) {
    EXPECT_EQ(CounterValueText("Time|TIME"), "0");
    EXPECT_EQ(CounterValueText("Clicks|LCLK"), "0");
    Options.doCalculateCounters = true;
    EXPECT_EQ(CounterValueText("Time|TIME"), "12.34");
    EXPECT_EQ(CounterValueText("Clicks|LCLK"), "8");
}

TEST_F(CountersTest, BoardFactsShowAStarDuringPlay) {
    Options.doCalculateCounters = true;
    const struct {
        const char* line;
        const char* playing;
        const char* over;
    } cases[] = {
        {"3BV|BBBV", "*", "40"},
        {"Est|TIMEEST", "*", "49.36"},
        {"Eff|LEFF", "*", "6"},
        {"Cells| CELL3", "*", "17"},
        {"Cells|CELL3", "0", "17"},
        {"x|bbbv", "0", "40"},
        {"Note|LCLK+0*OPENINGS", "*", "8"},
        {"Zini|GZINI", "*", "0"},
        {"Clicks|LCLK", "8", "8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CounterValueText(c.line), c.playing) << c.line;
    GameOver = 1;
    for (const auto& c : cases)
        EXPECT_EQ(CounterValueText(c.line), c.over) << c.line;
}

TEST_F(CountersTest, RefreshBuildsRowsFromTheTemplate) {
    CreateWindows();
    GameOver = 1;
    Options.heightCr3 = 5;
    CountersTemplateLines = {"; a comment|with a bar",
                             "@/|LCLK",
                             "Eff|LEFF",
                             "@/|TOTALCLK",
                             "#  (x)|  literal text",
                             "no bar line",
                             "two|bars|here",
                             "  Time  |TIME",
                             "",
                             "#|!"};
    RefreshCounters();
    EXPECT_EQ(Options.heightCr3, 2);
    EXPECT_EQ(CounterLabels[0], "Eff/  (x)");
    EXPECT_EQ(CounterValues[0], "610  literal text");
    EXPECT_EQ(CounterLabels[1], "Time");
    EXPECT_EQ(CounterValues[1], "12.34!");
    EXPECT_EQ(calls_, (std::vector<std::string>{"rows 2", "fill 2"}));
    calls_.clear();
    RefreshCounters();
    EXPECT_EQ(calls_, std::vector<std::string>{"fill 2"});
}

TEST_F(CountersTest, EmptyTemplateGivesNoRows) {
    CreateWindows();
    Options.heightCr3 = 3;
    RefreshCounters();
    EXPECT_EQ(Options.heightCr3, 0);
    EXPECT_EQ(calls_, std::vector<std::string>{"rows 0"});
}

TEST_F(CountersTest, AtMost101RowsAreShown) {
    CreateWindows();
    for (int i = 0; i < 150; ++i)
        CountersTemplateLines.push_back("Row" + std::to_string(i) + "|" + std::to_string(i));
    RefreshCounters();
    EXPECT_EQ(Options.heightCr3, 101);
    EXPECT_EQ(CounterLabels[100], "Row100");
}

TEST_F(CountersTest, TextLinesStopAfter1001) {
    CreateWindows();
    GameOver = 1;
    CountersTemplateLines.push_back("Row|1");
    for (int i = 0; i < 1005; ++i)
        CountersTemplateLines.push_back("#|a");
    CountersTemplateLines.push_back("Late|2");
    RefreshCounters();
    EXPECT_EQ(CounterValues[0], "1" + std::string(1001, 'a'));
    EXPECT_EQ(Options.heightCr3, 1);
}

TEST_F(CountersTest, RefreshWithoutTheWindowDoesNothing) {
    CountersTemplateLines = {"Row|1"};
    Options.heightCr3 = 4;
    RefreshCounters();
    EXPECT_EQ(Options.heightCr3, 4);
    EXPECT_EQ(CounterLabels[0], "");
}

// The rows a player would see after winning, with a usual template.
TEST_F(CountersTest, UsualTemplateAfterAWonGame) {
    CreateWindows();
    GameOver = 1;
    GameClock = {20, 0};
    Solved3BV = Board3BV;
    CountersTemplateLines = {
        "Time|TIME",     "3BV|BBBVDONE",     "@ / |BBBV",       "3BV/s|BBBV/TIMEREAL",
        "RQP|RQP",       "IOS|IOS",          "Clicks|TOTALCLK", "Eff, %|BBBV/TOTALCLK*100",
        "Rank|RANKTIME", "Games|TOTALGAMES", "Est|TIMEEST"};
    RefreshCounters();
    const std::pair<const char*, const char*> rows[] = {
        {"Time", "20"},   {"3BV / ", "4040"}, {"3BV/s", "2"}, {"RQP", "10.50"}, {"IOS", "1.23"},
        {"Clicks", "10"}, {"Eff, %", "400"},  {"Rank", "1"},  {"Games", "0"},   {"Est", "20"},
    };
    ASSERT_EQ(Options.heightCr3, std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(CounterLabels[i], rows[i].first);
        EXPECT_EQ(CounterValues[i], rows[i].second) << rows[i].first;
    }
}

TEST_F(CountersTest, LoadReadsTheTemplateFileLines) {
    OptionsWindowCreated = 1;
    WriteTemplateFile("A|1\r\nB|2\nC|3\rD|4");
    LoadCountersTemplate();
    EXPECT_EQ(CountersTemplateLines, (std::vector<std::string>{"A|1", "B|2", "C|3", "D|4"}));
    WriteTemplateFile("A|1\r\n\r\nB|2\r\n");
    LoadCountersTemplate();
    EXPECT_EQ(CountersTemplateLines, (std::vector<std::string>{"A|1", "", "B|2"}));
}

TEST_F(CountersTest, LoadBeforeTheOptionsWindowIsDeferred) {
    WriteTemplateFile("A|1\r\n");
    LoadCountersTemplate();
    EXPECT_TRUE(CountersTemplatePending);
    EXPECT_TRUE(CountersTemplateLines.empty());
    OptionsWindowCreated = 1;
    LoadCountersTemplate();
    EXPECT_FALSE(CountersTemplatePending);
    EXPECT_EQ(CountersTemplateLines, std::vector<std::string>{"A|1"});
}

TEST_F(CountersTest, MissingTemplateFileGivesTheEmptyDefault) {
    OptionsWindowCreated = 1;
    CountersTemplateLines = {"Old|1"};
    LoadCountersTemplate();
    EXPECT_TRUE(CountersTemplateLines.empty());
    EXPECT_TRUE(Logged("#error loading counters template. applying default"));
}

TEST_F(CountersTest, ClearBeforeTheOptionsWindowIsDeferred) {
    CountersTemplateLines = {"Old|1"};
    ClearCountersTemplate();
    EXPECT_TRUE(CountersTemplatePending);
    OptionsWindowCreated = 1;
    ClearCountersTemplate();
    EXPECT_TRUE(CountersTemplateLines.empty());
}

TEST_F(CountersTest, SaveDropsEmptyLinesAndWritesCrLfLines) {
    CountersTemplateLines = {"A|1", "", "B|2", ""};
    SaveCountersTemplate();
    EXPECT_EQ(ReadTemplateFile(), "A|1\r\nB|2\r\n");
    EXPECT_EQ(CountersTemplateLines, (std::vector<std::string>{"A|1", "B|2"}));
    EXPECT_TRUE(Logged("2 empty lines in counters template deleted"));
}

// A template that was never loaded is unknown: saving it would wipe the player's file.
TEST_F(CountersTest, SaveWhileTheLoadIsPendingKeepsTheFile) {
    WriteTemplateFile("Mine|1\r\n");
    LoadCountersTemplate();
    SaveCountersTemplate();
    EXPECT_EQ(ReadTemplateFile(), "Mine|1\r\n");
}

// With no file at start-up the template is known to be empty once the options window exists,
// so what the player then builds is saved.
TEST_F(CountersTest, TemplateBuiltWithoutAFileIsSaved) {
    LoadCountersTemplate();
    EXPECT_TRUE(CountersTemplatePending);
    OptionsWindowCreated = 1;
    LoadCountersTemplate();
    EXPECT_FALSE(CountersTemplatePending);
    CountersTemplateLines = {"A|1"};
    SaveCountersTemplate();
    EXPECT_EQ(ReadTemplateFile(), "A|1\r\n");
}

TEST_F(CountersTest, FailedSaveIsLogged) {
    fs::create_directories(Home() + "_counter_template.txt/in-the-way");
    CountersTemplateLines = {"A|1"};
    SaveCountersTemplate();
    EXPECT_TRUE(Logged("#error savining counters template"));
}

TEST_F(CountersTest, ShowLaysOutTwiceTheFirstTime) {
    CreateWindows();
    Options.doShowCounters = true;
    Options.doShowCountersTitle = true;
    Options.widthCr1 = 80;
    Options.widthCr2 = 60;
    CountersTemplateLines = {"A|1"};
    ShowCountersWindow();
    const std::vector<std::string> once = {"widths 80 60", "rows 0", "rows 1", "fill 1",
                                           "caption",      "fill 1", "show",   "checked"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), {"widths 80 60", "rows 1", "fill 1", "caption", "fill 1", "show", "checked"});
    EXPECT_EQ(calls_, twice);
    calls_.clear();
    Options.doShowCountersTitle = false;
    ShowCountersWindow();
    EXPECT_EQ(calls_, (std::vector<std::string>{"widths 80 60", "rows 1", "fill 1", "no border", "fill 1",
                                                "show", "checked"}));
}

TEST_F(CountersTest, ShowWithEveryShowOptionOffHides) {
    CreateWindows();
    ShowCountersWindow();
    EXPECT_EQ(calls_, (std::vector<std::string>{"hide", "unchecked"}));
    calls_.clear();
    Options.doCountersOnEnd = true;
    ShowCountersWindow();
    EXPECT_EQ(calls_.back(), "unchecked");
    EXPECT_NE(std::find(calls_.begin(), calls_.end(), "show"), calls_.end());
}

TEST_F(CountersTest, WindowRoutinesWaitForTheWindow) {
    UiHooks.ShowCountersWindow = [this] { calls_.push_back("show"); };
    UiHooks.HideCountersWindow = [this] { calls_.push_back("hide"); };
    Options.doShowCounters = true;
    ShowCountersWindow();
    HideCountersWindow();
    ApplyCountersBorder();
    EXPECT_TRUE(calls_.empty());
}

} // namespace
} // namespace quorlet
