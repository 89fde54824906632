// Automatic replay saving: the template's rules, their clauses, the folder line, the file and
// the saves at the end of real games.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/autosave.h"
#include "core/playback.h"
#include "core/uihooks.h"
#include "settings/settingsfile.h"
#include "test_qvf_fixture.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

TAutosaveFacts Facts(uint8_t mode, int64_t seconds, int64_t completion, int64_t bbbv = 20, float rate = 1.0f,
                     bool recorder = false) {
    TAutosaveFacts f;
    f.mode = mode;
    f.timeAnd = seconds;
    f.timeOr = seconds + (recorder ? 1 : 0);
    f.bbbv = bbbv;
    f.rate = rate;
    f.completion = completion;
    return f;
}

// One rule saving into the program folder under the given condition.
std::vector<std::string> Rule(const std::string& condition) {
    return {condition, "<mode>", "PATH="};
}

TEST(AutosaveRuleTest, DecidesWhichRuleSaves) {
    const std::vector<std::string> def = DefaultAutosaveTemplate();
    ASSERT_EQ(def.size(), 18u);
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        TAutosaveFacts facts;
        std::optional<std::size_t> rule;
    };
    const Case cases[] = {
        {"default: Beginner won in 9.80", def, Facts(1, 9, 100), 9},
        {"default: Beginner won in 10.20", def, Facts(1, 10, 100), std::nullopt},
        {"default: Beginner lost fast", def, Facts(1, 3, 60), std::nullopt},
        {"default: Intermediate in 49", def, Facts(2, 49, 100), 12},
        {"default: Expert in 149", def, Facts(3, 149, 100), 15},
        {"default: Custom", def, Facts(4, 1, 100), std::nullopt},
        {"MODE=4 skips a standard game", Rule("mode=4"), Facts(3, 1, 100), std::nullopt},
        {"lost at 12 % under an OR", Rule("mode=1 or time>0"), Facts(1, 5, 12), 0},
        {"OR holds: the AND after it is not read", Rule("or time>0 and completion=100"), Facts(1, 5, 12), 0},
        {"a failed OR has no effect (AND holds)", Rule("or time>100 and completion=100"), Facts(1, 5, 100), 0},
        {"a failed OR has no effect (AND fails)", Rule("or time>100 and completion=100"), Facts(1, 5, 50),
         std::nullopt},
        {"recorder style adds 1 to the OR time", Rule("or time=10 and completion=0"), Facts(1, 9, 50, 20, 1, true), 0},
        {"without it the OR fails", Rule("or time=10 and completion=0"), Facts(1, 9, 50), std::nullopt},
        {"the AND time stays plain", Rule("and time=9"), Facts(1, 9, 50, 20, 1, true), 0},
        {"blanks around the operator test nothing", Rule("and time < 10"), Facts(1, 500, 0), 0},
        {"'==' and '=>' test nothing", Rule("and time==1 and completion=>100"), Facts(1, 7, 5), 0},
        {"'AND 3BV' finds 'AND 3BV/S' first", Rule("and 3bv/s>5 and 3bv>100"), Facts(1, 9, 100, 50, 6), 0},
        {"3BV/S with a comma", Rule("and 3bv/s>=2,5"), Facts(1, 9, 100, 20, 2.5f), 0},
        {"3BV/S below", Rule("and 3bv/s>=2,5"), Facts(1, 9, 100, 20, 2.4f), std::nullopt},
        {"3BV/S with a dot", Rule("AND 3BV/S<2.5"), Facts(1, 9, 100, 20, 2.4f), 0},
        {"both hold", Rule("mode=2 and 3bv>100 and time<60"), Facts(2, 50, 100, 120), 0},
        {"3BV too small", Rule("mode=2 and 3bv>100 and time<60"), Facts(2, 50, 100, 90), std::nullopt},
        {"too slow", Rule("mode=2 and 3bv>100 and time<60"), Facts(2, 70, 100, 120), std::nullopt},
        {"other level", Rule("mode=2 and 3bv>100 and time<60"), Facts(1, 50, 100, 120), std::nullopt},
        {"<> and <=", Rule("MODE=4  AND  TIME<>3 and completion<=50"), Facts(4, 4, 50), 0},
        {"<> equal", Rule("mode=4 and time<>3"), Facts(4, 3, 50), std::nullopt},
        {"two MODE clauses never both hold", Rule("mode=1 mode=2"), Facts(1, 3, 50), std::nullopt},
        {"only the first matching rule",
         {"mode=1", "a", "PATH=", "mode=1", "b", "PATH="}, Facts(1, 3, 50), 0},
        {"a rule with a ';' line is ignored",
         {"mode=1", ";a", "PATH=", "mode=1", "b", "x"}, Facts(1, 3, 50), 3},
        {"a rule with an empty line is ignored",
         {"mode=1", "a", "", "mode=1", "b", "x"}, Facts(1, 3, 50), 3},
        {"an incomplete last triple is ignored", {"x", "y", "z", "mode=1", "b"}, Facts(1, 3, 50), 0},
        {"a missing number ends the evaluation",
         {"and time<", "a", "PATH=", "mode=1", "b", "PATH="}, Facts(1, 3, 50), std::nullopt},
        {"an overflowing number ends it too", Rule("and time<99999999999"), Facts(1, 3, 50), std::nullopt},
        {"two separators end it too", Rule("and 3bv/s>1,2,3"), Facts(1, 3, 50), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FindAutosaveRule(c.lines, c.facts), c.rule);
    }
}

TEST(AutosaveRuleTest, FactsOfTheCurrentGame) {
    ResetGlobals();
    GameLevel = glCustom;
    GameClock = {9, 80};
    Board3BV = 0;
    Solved3BV = 0;
    Options.doRecorderStyleTimer = true;
    TAutosaveFacts f = CurrentAutosaveFacts();
    EXPECT_EQ(f.mode, 4);
    EXPECT_EQ(f.timeAnd, 9);
    EXPECT_EQ(f.timeOr, 10);
    EXPECT_EQ(f.bbbv, 1); // a board without 3BV counts as 1
    EXPECT_EQ(f.completion, 0);
    Board3BV = 8;
    Solved3BV = 1;
    GameClock = {0, 50};
    f = CurrentAutosaveFacts();
    EXPECT_EQ(f.completion, 12);
    EXPECT_FLOAT_EQ(f.rate, 2.0f);
    GameClock = {0, 0};
    EXPECT_EQ(CurrentAutosaveFacts().rate, 0.0f);
    ResetGlobals();
}

TEST(AutosaveRuleTest, StripsEveryIllegalPathCharacter) {
    EXPECT_EQ(StripIllegalPathChars("a\\b"), "ab");
    EXPECT_EQ(StripIllegalPathChars("x/y:z?*\"<>|w"), "xyzw");
    EXPECT_EQ(StripIllegalPathChars("my replays"), "my replays");
}

class AutosaveTest : public test::QvfTest {
  protected:
    void SetUp() override {
        QvfTest::SetUp();
        Options.BegName = "Beg";
        Options.doCond = true;
    }
    bool Exists(const std::string& relative) const { return fs::exists(Home() + relative); }
    // The names of the files in a folder under the program folder.
    std::vector<std::string> FilesIn(const std::string& relative) const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(Home() + relative, ec))
            if (e.is_regular_file()) names.push_back(e.path().filename().string());
        return names;
    }
};

TEST_F(AutosaveTest, FolderLineNamesOneFolderInsideTheProgramFolder) {
    struct Case {
        const char* line;
        std::string folder;
    };
    const Case cases[] = {
        {"PATH=a\\b", Home() + "ab/"},     {"path=replays", Home() + "replays/"},
        {"PATH=", Home()},                 {"replays", Home()},
        {"PATH=..", Home() + "__/"},       {"PATH=../up", Home() + "..up/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(AutosaveFolder(c.line), c.folder);
        EXPECT_TRUE(fs::is_directory(c.folder));
    }
    // A file in the way: logged, and the program folder is used.
    std::ofstream(Home() + "blocked") << "x";
    EXPECT_EQ(AutosaveFolder("PATH=blocked"), Home());
}

TEST_F(AutosaveTest, DefaultTemplateSavesAFastWinIntoReplays) {
    Options.ReplayName = "Ann";
    test::PlayWonBeginnerGame();
    ASSERT_EQ(GameOver, 1);
    ASSERT_EQ(FilesIn("replays").size(), 1u);
    EXPECT_EQ(FilesIn("replays")[0].rfind("Beg_0,", 0), 0u);
    EXPECT_TRUE(Logged("replay save automation done for condition at lines 9-11"));
    // The same game at 9.80 and at 10.20 seconds.
    GameClock = {9, 80};
    AutoSaveReplayByTemplate();
    const std::vector<std::string> files = FilesIn("replays");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_TRUE(files[0].rfind("Beg_9,80_3BV=", 0) == 0 || files[1].rfind("Beg_9,80_3BV=", 0) == 0);
    GameClock = {10, 20};
    AutoSaveReplayByTemplate();
    EXPECT_EQ(FilesIn("replays").size(), 2u);
}

TEST_F(AutosaveTest, LostGameIsSavedWithAHashAndTheBorderTurnsGreen) {
    AutosaveTemplateLines = {"mode=1 or time>0", "lost_<completion>", "PATH=mine"};
    Options.doShowCntGreenBorder = true;
    std::vector<int32_t> colours;
    UiHooks.SetCountersColour = [&](int32_t c) { colours.push_back(c); };
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    // 99 % is still unfinished.
    Board3BV = 100;
    Solved3BV = 99;
    test::Ticks(120);
    test::Click(mbLeft, 0, 0); // a mine
    ASSERT_EQ(GameOver, 1);
    EXPECT_TRUE(Exists("mine/#lost_99.qvf"));
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours.back(), 0x008000);
}

TEST_F(AutosaveTest, NeverWritesOverAFileAndSaysWhenTheSaveFailed) {
    AutosaveTemplateLines = {"mode=1", "<board>same", "PATH="};
    int boardSaves = 0;
    UiHooks.SaveBoardCommand = [&] { ++boardSaves; };
    Options.doShowCntGreenBorder = true;
    int green = 0;
    UiHooks.SetCountersColour = [&](int32_t c) { green += c == 0x008000; };
    test::PlayWonBeginnerGame();
    EXPECT_EQ(boardSaves, 1);
    ASSERT_TRUE(Exists("same.qvf"));
    // The win also saved its high-score copy; count only the template's saves from here.
    green = 0;
    // Every numbered name up to 998 taken: the count goes on, nothing is replaced.
    for (int k = 1; k <= 998; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "same_(%03d).qvf", k);
        std::ofstream(Home() + name) << "keep";
    }
    AutoSaveReplayByTemplate();
    EXPECT_TRUE(Exists("same_(999).qvf"));
    std::ifstream kept(Home() + "same_(998).qvf");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    EXPECT_EQ(green, 1); // once per save, by the writer
    // A save that fails (a file stands where the name's folder should be): a "#" line, no
    // "done", no green.
    std::ofstream(Home() + "sub") << "file";
    AutosaveTemplateLines = {"mode=1", "sub\\x", "PATH="};
    DebugLogLines.clear();
    AutoSaveReplayByTemplate();
    EXPECT_TRUE(Logged("#replay save automation failed for condition at lines 0-2"));
    EXPECT_FALSE(Logged("replay save automation done for condition at lines 0-2"));
    EXPECT_EQ(green, 1);
}

TEST_F(AutosaveTest, NothingDuringPlaybackOrWithACheatOptionButACleanCustomGameSaves) {
    AutosaveTemplateLines = Rule("mode=1");
    test::PlayWonBeginnerGame();
    ASSERT_TRUE(Exists("Beg.qvf"));
    // The win's own files (its template save and its high-score copy) go first.
    for (const std::string& name : FilesIn("")) fs::remove(Home() + name);
    ReplayMode = 1;
    AutoSaveReplayByTemplate();
    ReplayMode = 0;
    Options.doShowMinesPos = true;
    AutoSaveReplayByTemplate();
    EXPECT_TRUE(FilesIn("").empty());
    // A custom game is never ranked, yet without a cheat option its replay is saved.
    Options.doShowMinesPos = false;
    AutosaveTemplateLines = Rule("mode=4");
    test::PlayCustomGame();
    AutoSaveReplayByTemplate();
    EXPECT_EQ(FilesIn("").size(), 1u);
}

// Fault guarded: the option was never read, so the template saved with it off.
TEST_F(AutosaveTest, TheOptionOffSavesNothingByTheTemplateButTheRecordsCopyStays) {
    AutosaveTemplateLines = {"mode=1", "<board><mode>", "PATH="};
    int boardSaves = 0;
    UiHooks.SaveBoardCommand = [&] { ++boardSaves; };
    Options.doCond = false;
    test::PlayWonBeginnerGame();
    ASSERT_EQ(GameOver, 1);
    EXPECT_FALSE(Exists("Beg.qvf"));
    EXPECT_EQ(boardSaves, 0) << "the rule's board save is the template's too";
    EXPECT_FALSE(Logged("replay save automation done for condition at lines 0-2"));
    const std::vector<std::string> files = FilesIn("");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].rfind("HI-SCORE ", 0), 0u) << files[0];
    Options.doCond = true;
    AutoSaveReplayByTemplate();
    EXPECT_TRUE(Exists("Beg.qvf"));
    EXPECT_EQ(boardSaves, 1);
}

TEST_F(AutosaveTest, TemplateFileLoadsSavesAndSurvivesTheSettingsFile) {
    // No file: the default, and its log line.
    LoadAutosaveTemplate();
    EXPECT_EQ(AutosaveTemplateLines, DefaultAutosaveTemplate());
    EXPECT_TRUE(Logged("#error loading automatic saving template. applying default"));
    // Empty lines go at saving; CR LF, LF and CR all end lines.
    AutosaveTemplateLines = {"mode=1", "", "a", "", "PATH=x"};
    SaveAutosaveTemplate();
    EXPECT_TRUE(Logged("2 empty lines in automatic saving template deleted"));
    std::ifstream in(AutosaveTemplatePath(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "mode=1\r\na\r\nPATH=x\r\n");
    std::ofstream(AutosaveTemplatePath(), std::ios::binary) << "one\ntwo\rthree\r\nfour";
    LoadAutosaveTemplate();
    EXPECT_EQ(AutosaveTemplateLines, (std::vector<std::string>{"one", "two", "three", "four"}));
    // The settings read and write carry the template file along.
    std::ofstream(AutosaveTemplatePath(), std::ios::binary) << "mode=3\r\nexp\r\nPATH=e\r\n";
    LoadSettings();
    EXPECT_EQ(AutosaveTemplateLines, (std::vector<std::string>{"mode=3", "exp", "PATH=e"}));
    AutosaveTemplateLines.push_back("added");
    SaveSettings();
    std::ifstream again(AutosaveTemplatePath(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), "mode=3\r\nexp\r\nPATH=e\r\nadded\r\n");
}

// Fault guarded: a template file that could not be read was replaced by the default at the
// next settings save.
TEST_F(AutosaveTest, AnUnreadableOrHugeFileIsNeverWrittenOver) {
    const std::string huge(kMaxAutosaveTemplateBytes + 1, 'x');
    std::ofstream(AutosaveTemplatePath(), std::ios::binary) << huge;
    LoadAutosaveTemplate();
    EXPECT_EQ(AutosaveTemplateLines, DefaultAutosaveTemplate());
    SaveAutosaveTemplate();
    EXPECT_EQ(fs::file_size(AutosaveTemplatePath()), huge.size());
    // Not read at all in this run (a fresh start): kept as well.
    ResetGlobals();
    Options.LastPath = Home();
    SaveAutosaveTemplate();
    EXPECT_EQ(fs::file_size(AutosaveTemplatePath()), huge.size());
    // Once the player chooses the default, it is written.
    SetDefaultAutosaveTemplate();
    SaveAutosaveTemplate();
    EXPECT_LT(fs::file_size(AutosaveTemplatePath()), 1000u);
}

} // namespace
} // namespace quorlet
