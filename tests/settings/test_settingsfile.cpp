#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "tests/testutil.h"
#include "tests/writefail.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;
using O = tOptionsSet;

class SettingsFileTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1; // the log is kept only while its window exists
        SystemTimeSource = [] { return TSystemTime{2026, 12, 3, 9, 14, 7, 5, 0}; };
    }
    void TearDown() override {
        SystemTimeSource = nullptr;
        EngineTest::TearDown();
    }

    std::string Path(const std::string& name = kSettingsFileName) const { return Home() + name; }

    void WriteFile(const std::string& bytes, const std::string& name = kSettingsFileName) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name = kSettingsFileName) const {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> FilesInHome() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Home()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool Logged(const std::string& text) const {
        return std::any_of(DebugLogLines.begin(), DebugLogLines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    // The record as a fresh start sees it before the file is read.
    void FreshStart() {
        const std::string folder = Options.LastPath;
        Options = tOptionsSet{};
        Options.LastPath = folder;
    }
    // A saved file of the defaults with its lines split at CR LF.
    static std::vector<std::string> Lines(const std::string& bytes) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
            lines.push_back(bytes.substr(start, at - start));
        if (start < bytes.size()) lines.push_back(bytes.substr(start));
        return lines;
    }
};

TEST(SettingsValueForms, ConversionsFollowTheFileRules) {
    EXPECT_EQ(BoolToBitText(true), "1");
    EXPECT_EQ(BoolToBitText(false), "0");
    for (const char* falseText : {"", "0", " 1", "1 ", "01", "true", "yes", "2"})
        EXPECT_FALSE(BitTextToBool(falseText)) << '"' << falseText << '"';
    EXPECT_TRUE(BitTextToBool("1"));

    const std::pair<const char*, int> bytes[] = {{"0", 0}, {"255", 255}, {"300", 44}, {"-1", 255}, {"+7", 7}};
    for (const auto& [text, value] : bytes)
        EXPECT_EQ(TextToByte(text), value) << text;
    for (const char* bad : {"", "-", "abc", "1.5", " 5", "5 ", "0x10", "99999999999"})
        EXPECT_THROW(TextToByte(bad), std::invalid_argument) << '"' << bad << '"';

    EXPECT_EQ(StringByteSum(""), 17);
    EXPECT_EQ(StringByteSum("A"), 65);
    EXPECT_EQ(StringByteSum("\xFF\x01"), 256); // bytes count unsigned
    EXPECT_EQ(BoolToChecksumWeight(true), 13);
    EXPECT_EQ(BoolToChecksumWeight(false), 29);
    EXPECT_EQ(BoolToInt(true), 1);
}

TEST_F(SettingsFileTest, ChecksumOfTheDefaultsIsTheKnownText) {
    ApplyDefaultSettings();
    EXPECT_EQ(MakeOptionsChecksum(), "14274393");
}

TEST_F(SettingsFileTest, ChecksumCoversTextsAndCheatFlagsOnly) {
    struct Case {
        const char* What;
        std::function<void()> Change;
        bool Changes;
    } cases[] = {
        {"UserIDText", [] { Options.UserIDText += "x"; }, true},
        {"hsExpName", [] { Options.hsExpName = "Bob"; }, true},
        {"CursorFileName", [] { Options.CursorFileName = "c.png"; }, true},
        {"doInfiniteLives", [] { Options.doInfiniteLives = true; }, true},
        {"skinNumber", [] { Options.skinNumber = 1; }, true},
        {"CountryNumber", [] { Options.CountryNumber = 5; }, true},
        {"seAttemptsValue", [] { Options.seAttemptsValue = 2; }, true},
        {"CusName", [] { Options.CusName = "Mine"; }, false},
        {"hsBegJump", [] { Options.hsBegJump = "1,00"; }, false},
        {"doMarks", [] { Options.doMarks = true; }, false},
        {"posMainX", [] { Options.posMainX = 77; }, false},
    };
    for (const Case& c : cases) {
        ApplyDefaultSettings();
        c.Change();
        EXPECT_EQ(MakeOptionsChecksum() != "14274393", c.Changes) << c.What;
    }
}

TEST_F(SettingsFileTest, ChecksumOfAnEmptyRecordStartsWith17) {
    // 14 clear flags weigh 29 each.
    EXPECT_EQ(MakeOptionsChecksum(), "17406");
}

TEST_F(SettingsFileTest, SavedFileHasHeaderSectionsAndKeysInOrderWithCrLf) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> sections = {
        {"GLOBALS",
         {"CounterRefresh", "LastPath", "posMainX", "posMainY", "posCountersX", "posCountersY",
          "posProgressBarX", "posProgressBarY", "posHistX", "posHistY", "posHistW", "posHistH"}},
        {"RECORDS",
         {"hsBegTime", "hsBegName", "hsBegJump", "hsBeg3bvs", "hsIntTime", "hsIntName", "hsIntJump",
          "hsInt3bvs", "hsExpTime", "hsExpName", "hsExpJump", "hsExp3bvs"}},
        {"PLAYER",
         {"ShowIDText", "UserIDText", "doHistoryLog", "doDotSeparator", "doCalculateCounters", "ReplayName",
          "BegName", "IntName", "ExpName", "CusName", "ReplayFileName", "CountryNumber", "CustomTimeZone",
          "CursorFileName"}},
        {"GAME STYLE",
         {"doStartUpMode", "skinNumber", "skinTimerNumber", "doMarks", "doRecorderStyleTimer", "doShowTenths",
          "doTimer", "doBoardClearance", "seClearanceCompl", "doClearanceOnMiddleBtn", "doClearanceOnLeftBtn",
          "doFillFlags", "doShowEquals", "doForcedNewGame", "doFNGB", "doFNGI", "doFNGE",
          "doBeepIfTimeExceedsValues"}},
        {"SYSTEM",
         {"doHighPriority", "doBitBlt", "doEnableBossKey", "doClipCursor", "doProhibitMultInstances",
          "doSeekPlugins"}},
        {"CHEAT MODE",
         {"doDisableTimer", "doAutoFlag", "doDisableGroupOpen", "doDisableRightClicks", "doInfiniteLives",
          "doShowProbabilities", "doShowMinesPos", "doShow3BVAfterGameStart", "doApprox3BV", "doApprox3BV2",
          "doMustHave7", "doMustHave8", "se3BVValue", "se3BVValue2", "seAttemptsValue"}},
        {"LANGUAGE", {"langFileName"}},
        {"AUTOMATION", {"doCond"}},
        {"COUNTER",
         {"widthCr1", "widthCr2", "heightCr3", "doShowCounters", "doShowCountersTitle",
          "doShowCntGreenBorder", "doCountersOnFinish", "doCountersOnEnd"}},
        {"MULTIPLAYER", {"doBlockChat", "doProcListGrab", "doSysInfGrab"}},
        {"IRC_SCRIPT",
         {"doIRCtype", "cbIRCColor1", "cbIRCColor2", "cbBlastedCopyTemplate", "cbFinishedCopyTemplate",
          "cbUseSmiles", "cbCountersExcludeList", "mCntExcludeList", "cbSilentMode"}},
        {"MOUSE_CHART",
         {"DoChangeLayout", "DarkenBoard", "mpShowCells", "ShowMousePath", "ShowDownState", "ShowLeftCl",
          "ShowRightCl", "ShowDoubleCl", "mPathColor", "mpLColor", "mpRColor", "mpDColor"}},
        {"ENCRYPT", {"csO"}},
    };
    ApplyDefaultSettings();
    SaveSettings();
    const std::string bytes = ReadFile();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 6), ";END\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));

    const std::vector<std::string> lines = Lines(bytes);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], ";Minesweeper Quorlet (Version 0.47)");
    EXPECT_EQ(lines[1], ";Configuration File");
    EXPECT_EQ(lines[2].substr(0, 29), ";Saved Wed, 09 dec 2026 at 14") << lines[2];
    EXPECT_EQ(lines[3], ";Read-only! Manual edition prohibited!");
    size_t at = 4;
    for (const auto& [name, keys] : sections) {
        ASSERT_LT(at + 1, lines.size());
        EXPECT_EQ(lines[at++], "");
        EXPECT_EQ(lines[at++], "[" + name + "]");
        for (const std::string& key : keys) {
            ASSERT_LT(at, lines.size());
            EXPECT_EQ(lines[at].substr(0, key.size() + 1), key + "=") << "in [" << name << "]";
            ++at;
        }
    }
    ASSERT_EQ(at + 1, lines.size());
    EXPECT_EQ(lines[at], ";END");
}

TEST_F(SettingsFileTest, SavedValuesHaveTheirTextForms) {
    ApplyDefaultSettings();
    Options.CustomTimeZone = -5;
    Options.posMainX = -30;
    Options.skinNumber = 200;
    SaveSettings();
    const std::vector<std::string> lines = Lines(ReadFile());
    const std::vector<std::string> expectedLines = {
        "CounterRefresh=10",
        "LastPath=\"" + Home() + "\"",
        "posMainX=-30",
        "CustomTimeZone=-5",
        "skinNumber=200",
        "doTimer=1",
        "doMarks=0",
        "hsBeg3bvs=999,999",
        "mCntExcludeList=debug\\nleft\\nright\\ndouble\\n",
        "CursorFileName=",
        "csO=" + MakeOptionsChecksum(),
    };
    for (const std::string& expected : expectedLines)
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
    EXPECT_TRUE(Logged("preferences saved"));
}

TEST_F(SettingsFileTest, EveryFieldSurvivesSaveAndLoad) {
    // Each field gets a value unlike its default and unlike its neighbours.
    const TOptionRef fields[] = {
        &O::CounterRefresh,
        &O::cbIRCColor1,
        &O::cbIRCColor2,
        &O::doIRCtype,
        &O::cbBlastedCopyTemplate,
        &O::cbFinishedCopyTemplate,
        &O::cbUseSmiles,
        &O::cbCountersExcludeList,
        &O::mCntExcludeList,
        &O::cbSilentMode,
        &O::ShowIDText,
        &O::UserIDText,
        &O::doHistoryLog,
        &O::doDotSeparator,
        &O::doCalculateCounters,
        &O::ReplayName,
        &O::BegName,
        &O::IntName,
        &O::ExpName,
        &O::CusName,
        &O::ReplayFileName,
        &O::CountryNumber,
        &O::CustomTimeZone,
        &O::CursorFileName,
        &O::doStartUpMode,
        &O::skinNumber,
        &O::skinTimerNumber,
        &O::doMarks,
        &O::doShowTenths,
        &O::doTimer,
        &O::doShowCounters,
        &O::doBoardClearance,
        &O::doClearanceOnMiddleBtn,
        &O::doClearanceOnLeftBtn,
        &O::doFillFlags,
        &O::doShowEquals,
        &O::doShowCountersTitle,
        &O::doShowCntGreenBorder,
        &O::doCountersOnFinish,
        &O::doCountersOnEnd,
        &O::seClearanceCompl,
        &O::doForcedNewGame,
        &O::doBeepIfTimeExceedsValues,
        &O::doFNGB,
        &O::doFNGI,
        &O::doFNGE,
        &O::doDisableTimer,
        &O::doRecorderStyleTimer,
        &O::doAutoFlag,
        &O::doDisableGroupOpen,
        &O::doDisableRightClicks,
        &O::doInfiniteLives,
        &O::doShowProbabilities,
        &O::doShowMinesPos,
        &O::doShow3BVAfterGameStart,
        &O::doMustHave7,
        &O::doMustHave8,
        &O::doApprox3BV,
        &O::doApprox3BV2,
        &O::se3BVValue,
        &O::se3BVValue2,
        &O::seAttemptsValue,
        &O::doHighPriority,
        &O::doEnableBossKey,
        &O::doClipCursor,
        &O::doBitBlt,
        &O::doProhibitMultInstances,
        &O::doSeekPlugins,
        &O::langFileName,
        &O::doCond,
        &O::doBlockChat,
        &O::doProcListGrab,
        &O::doSysInfGrab,
        &O::hsBegTime,
        &O::hsBeg3bvs,
        &O::hsBegName,
        &O::hsBegJump,
        &O::hsIntTime,
        &O::hsInt3bvs,
        &O::hsIntName,
        &O::hsIntJump,
        &O::hsExpTime,
        &O::hsExp3bvs,
        &O::hsExpName,
        &O::hsExpJump,
        &O::posMainX,
        &O::posMainY,
        &O::posCountersX,
        &O::posCountersY,
        &O::posProgressBarX,
        &O::posProgressBarY,
        &O::posHistX,
        &O::posHistY,
        &O::posHistW,
        &O::posHistH,
        &O::widthCr1,
        &O::widthCr2,
        &O::heightCr3,
        &O::ShowMousePath,
        &O::ShowDownState,
        &O::ShowLeftCl,
        &O::ShowRightCl,
        &O::ShowDoubleCl,
        &O::DoChangeLayout,
        &O::DarkenBoard,
        &O::mpShowCells,
        &O::mPathColor,
        &O::mpLColor,
        &O::mpRColor,
        &O::mpDColor,
    };
    ApplyDefaultSettings();
    int n = 0;
    for (const TOptionRef& field : fields) {
        ++n;
        std::visit(
            [n](auto member) {
                using T = std::remove_cvref_t<decltype(Options.*member)>;
                if constexpr (std::is_same_v<T, std::string>)
                    Options.*member = "v" + std::to_string(n) + " \xE9=x";
                else if constexpr (std::is_same_v<T, bool>)
                    Options.*member = !(Options.*member);
                else if constexpr (std::is_signed_v<T>)
                    Options.*member = static_cast<T>(-n);
                else
                    Options.*member = static_cast<T>(n + 1);
            },
            field);
    }
    Options.doStartUpMode = 1;
    const tOptionsSet saved = Options;
    SaveSettings();
    FreshStart();
    LoadSettings();
    EXPECT_FALSE(Logged("#old configuration file"));
    n = 0;
    for (const TOptionRef& field : fields) {
        ++n;
        std::visit([&](auto member) { EXPECT_EQ(Options.*member, saved.*member) << "field " << n; }, field);
    }
    EXPECT_EQ(GameLevel, 1);
    EXPECT_TRUE(Logged("preferences loaded"));
}

// One case of the reader: file lines (no checksum line), then what the record must hold.
struct ReaderCase {
    const char* What;
    std::string Body;
    std::function<void()> Check;
};

TEST_F(SettingsFileTest, ReaderAppliesLinesByTheFileRules) {
    const ReaderCase cases[] = {
        {"only the exact 1 is true", "doTimer=yes\r\ndoMarks=1\r\n",
         [] {
             EXPECT_FALSE(Options.doTimer);
             EXPECT_TRUE(Options.doMarks);
         }},
        {"keys match in any case", "DOTIMER=1\r\ndomarks=1\r\n",
         [] {
             EXPECT_TRUE(Options.doTimer);
             EXPECT_TRUE(Options.doMarks);
         }},
        {"a blank before = is part of the key", "doTimer =0\r\ndoMarks= 1\r\n",
         [] {
             EXPECT_TRUE(Options.doTimer); // its default: the line names no key
             EXPECT_FALSE(Options.doMarks);
         }},
        {"folders dropped from file names",
         "CursorFileName=/home/p/cur.png\r\nlangFileName=C:\\lang\\de.lng\r\n",
         [] {
             EXPECT_EQ(Options.CursorFileName, "cur.png");
             EXPECT_EQ(Options.langFileName, "de.lng");
         }},
        {"numbers truncated to the field", "skinNumber=300\r\ndoFNGB=65537\r\nCustomTimeZone=-5\r\n",
         [] {
             EXPECT_EQ(Options.skinNumber, 44);
             EXPECT_EQ(Options.doFNGB, 1);
             EXPECT_EQ(Options.CustomTimeZone, -5);
         }},
        {"older recorder key is inverted", "DOZEROTIMER0=1\r\n",
         [] { EXPECT_FALSE(Options.doRecorderStyleTimer); }},
        {"older recorder key off", "doRecorderStyleTimer=0\r\nDoZeroTimer0=0\r\n",
         [] { EXPECT_TRUE(Options.doRecorderStyleTimer); }},
        {"formula error logging key", "DebugShowMathModuleErrors=1\r\n",
         [] { EXPECT_EQ(FormulaErrorLogging, 1); }},
        {"missing refresh becomes 10", "doTimer=1\r\n", [] { EXPECT_EQ(Options.CounterRefresh, 10); }},
        {"zero refresh becomes 10", "CounterRefresh=0\r\n", [] { EXPECT_EQ(Options.CounterRefresh, 10); }},
        {"a later line wins", "ReplayName=Ann\r\nReplayName=Bea\r\n",
         [] { EXPECT_EQ(Options.ReplayName, "Bea"); }},
        {"a refused player ID is replaced", "UserIDText=the Sh1tHead\r\n",
         [] { EXPECT_EQ(Options.UserIDText, "Player ID Text was not correct. Press F5 for setup"); }},
        {"an allowed player ID stays", "USERIDTEXT=Jan Novak\r\n",
         [] { EXPECT_EQ(Options.UserIDText, "Jan Novak"); }},
        {"value keeps its = and blanks", "UserIDText= a=b \r\n",
         [] { EXPECT_EQ(Options.UserIDText, " a=b "); }},
        {"path and unknown keys ignored", "LastPath=\"/elsewhere/\"\r\nNoSuchKey=1\r\ncs0=1\r\n",
         [] { EXPECT_EQ(Options.LastPath.back(), '/'); }},
        {"short, comment, section and empty-key lines skipped",
         "a=0\r\n;doTimer=0\r\n[doTimer=0]\r\n=doTimer=0\r\ndoTimer\r\n",
         [] { EXPECT_TRUE(Options.doTimer); }},
        {"lines may end with LF alone", "doTimer=1\nReplayName=Ann\n",
         [] {
             EXPECT_TRUE(Options.doTimer);
             EXPECT_EQ(Options.ReplayName, "Ann");
         }},
        {"start-up level above Expert taken as Expert", "doStartUpMode=7\r\n",
         [] { EXPECT_EQ(GameLevel, glExpert); }},
        {"sections play no part", "[PLAYER]\r\nseAttemptsValue=9\r\n",
         [] { EXPECT_EQ(Options.seAttemptsValue, 9); }},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.What);
        FreshStart();
        GameLevel = glBeginner;
        FormulaErrorLogging = 0;
        WriteFile(";header\r\n" + c.Body);
        LoadSettings();
        c.Check();
        EXPECT_EQ(ReadFile().substr(0, 9), ";header\r\n") << "file must stay";
        EXPECT_FALSE(Logged("loading options"));
        DebugLogLines.clear();
    }
}

TEST_F(SettingsFileTest, ReaderLoadsTheTemplatesOncePerRead) {
    // With no template file each load logs one line, so the lines count the loads. A file without
    // a key line loads it too: otherwise the unread template would be saved empty at close.
    const std::pair<const char*, long> cases[] = {
        {"doTimer=1\r\ndoMarks=1\r\nReplayName=Ann\r\nNoSuchKey=1\r\n", 1},
        {";comment\r\n[GLOBALS]\r\nab\r\n", 1},
        {"", 1},
    };
    for (const auto& [body, loads] : cases) {
        DebugLogLines.clear();
        WriteFile(body);
        LoadSettings();
        EXPECT_EQ(std::count_if(DebugLogLines.begin(), DebugLogLines.end(),
                                [](const std::string& line) {
                                    return line.find("#error loading counters template") != std::string::npos;
                                }),
                  loads)
            << body;
    }
}

TEST_F(SettingsFileTest, ReaderFindsTheFileUnderAnyLetterCase) {
    WriteFile("ReplayName=Upper\r\n", "QUORLET.DAT");
    LoadSettings();
    EXPECT_EQ(Options.ReplayName, "Upper");
}

TEST_F(SettingsFileTest, MissingFileGivesDefaultsWithoutErrors) {
    int textsApplied = 0;
    UiHooks.ApplyTexts = [&] { ++textsApplied; };
    GameLevel = glIntermediate;
    LoadSettings();
    EXPECT_EQ(MakeOptionsChecksum(), "14274393");
    EXPECT_EQ(textsApplied, 1);
    EXPECT_EQ(GameLevel, glIntermediate);
    EXPECT_FALSE(Logged("#"));
    EXPECT_FALSE(Logged("error"));
    EXPECT_EQ(ReadFile("_english.lng"), EnglishLanguageFileText()); // the template to translate
}

// Counts what the reader asks of the windows.
struct WindowCalls {
    int Texts = 0;
    int OptionsWindow = 0;
    int Moves = 0;
    void Install() {
        UiHooks.ApplyTexts = [this] { ++Texts; };
        UiHooks.LoadOptionsWindow = [this] { ++OptionsWindow; };
        UiHooks.WindowRect = [](TWindowKind) {
            return std::optional<TWindowRect>(TWindowRect{0, 0, 100, 100});
        };
        UiHooks.MoveWindow = [this](TWindowKind, int32_t, int32_t) { ++Moves; };
    }
};

TEST_F(SettingsFileTest, GoodFileBringsWindowsTextsAndLevelInLine) {
    WriteFile("doStartUpMode=2\r\n");
    WindowCalls calls;
    calls.Install();
    LoadSettings();
    EXPECT_EQ(calls.Texts, 1);
    EXPECT_EQ(calls.OptionsWindow, 1);
    EXPECT_EQ(calls.Moves, 3); // main window, playback bar, counters window
    EXPECT_EQ(GameLevel, glExpert);
}

TEST_F(SettingsFileTest, HandEditedFileIsKeptUnderDatedBackupAndDefaultsApply) {
    ApplyDefaultSettings();
    Options.ReplayName = "Cheater";
    SaveSettings();
    std::string edited = ReadFile();
    edited.replace(edited.find("ReplayName=Cheater"), 18, "ReplayName=Cheatex");
    WriteFile(edited);
    FreshStart();
    GameLevel = glIntermediate;
    WindowCalls calls;
    calls.Install();

    LoadSettings();

    EXPECT_EQ(calls.Texts, 1);
    EXPECT_EQ(calls.OptionsWindow, 0);
    EXPECT_EQ(calls.Moves, 0);
    EXPECT_EQ(Options.ReplayName, "Anonymous");
    EXPECT_EQ(GameLevel, glIntermediate); // the end-of-read steps do not run
    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26.dat"), edited);
    EXPECT_FALSE(fs::exists(Path()));
    EXPECT_TRUE(Logged("#old configuration file saved as /quorlet_backup_09.12.26.dat"));
    EXPECT_FALSE(Logged("preferences loaded"));
}

TEST_F(SettingsFileTest, SecondRejectionOnTheSameDayTakesTheNextFreeName) {
    WriteFile("older backup");
    fs::rename(Path(), Path("quorlet_backup_09.12.26.dat"));
    WriteFile("older backup 2", "quorlet_backup_09.12.26_(001).dat");
    const std::string rejected = "UserIDText=edited\r\ncsO=1\r\n";
    WriteFile(rejected);

    LoadSettings();

    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26.dat"), "older backup");
    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26_(001).dat"), "older backup 2");
    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26_(002).dat"), rejected);
    EXPECT_TRUE(Logged("#old configuration file saved as /quorlet_backup_09.12.26_(002).dat"));
}

TEST_F(SettingsFileTest, RejectedFileStaysInPlaceWhenEveryBackupNameIsTaken) {
    WriteFile("oldest", "quorlet_backup_09.12.26.dat");
    for (int k = 1; k <= 998; ++k) {
        char name[48];
        std::snprintf(name, sizeof name, "quorlet_backup_09.12.26_(%03d).dat", k);
        WriteFile("old", name);
    }
    const std::string rejected = "ReplayName=Edited\r\ncsO=1\r\n";
    WriteFile(rejected);

    LoadSettings();

    EXPECT_TRUE(Logged("#can not save old configuration file: no free backup name"));
    EXPECT_EQ(ReadFile(), rejected);
    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26.dat"), "oldest");
    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26_(998).dat"), "old");
    EXPECT_EQ(Options.ReplayName, "Anonymous");
}

TEST_F(SettingsFileTest, EditsOutsideTheChecksumAreAccepted) {
    ApplyDefaultSettings();
    SaveSettings();
    std::string edited = ReadFile();
    edited.replace(edited.find("CusName=Cus"), 11, "CusName=Big");
    WriteFile(edited);
    FreshStart();
    LoadSettings();
    EXPECT_EQ(Options.CusName, "Big");
    EXPECT_TRUE(Logged("preferences loaded"));
}

TEST_F(SettingsFileTest, MalformedNumberKeepsTheFileAndAppliesDefaults) {
    const std::string body = "ReplayName=Kept\r\ndoFNGB=12x\r\n";
    WriteFile(body);
    GameLevel = glExpert;

    LoadSettings();

    EXPECT_TRUE(Logged("error #2 loading options"));
    EXPECT_EQ(Options.ReplayName, "Anonymous");
    EXPECT_EQ(Options.doFNGB, 999);
    EXPECT_EQ(GameLevel, glExpert);
    EXPECT_EQ(ReadFile("quorlet_backup_09.12.26.dat"), body);
}

TEST_F(SettingsFileTest, TruncatedOrBinaryFilesNeverCrashOrVanish) {
    ApplyDefaultSettings();
    SaveSettings();
    const std::string full = ReadFile();
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    const std::string samples[] = {full.substr(0, full.size() / 2), binary, std::string("\0\0\0\0=\0", 6), "",
                                   "="};
    for (const std::string& sample : samples) {
        for (const auto& entry : fs::directory_iterator(Home()))
            fs::remove(entry.path());
        WriteFile(sample);
        FreshStart();
        LoadSettings();
        // Either the file was accepted and stays, or it was moved aside whole.
        const std::string kept = fs::exists(Path()) ? ReadFile() : ReadFile("quorlet_backup_09.12.26.dat");
        EXPECT_EQ(kept, sample);
        EXPECT_NE(Options.CounterRefresh, 0);
    }
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWhole) {
    WriteFile("old contents");
    ApplyDefaultSettings();
    {
        test::TFileSizeLimit full(0); // nothing can be written: a full disk
        SaveSettings();
    }
    EXPECT_EQ(ReadFile(), "old contents");
    EXPECT_TRUE(Logged("error #1 saving options"));
    EXPECT_TRUE(Logged("error #1: can not rewrite file (file is read-only)"));
    EXPECT_FALSE(Logged("preferences saved"));
    for (const std::string& name : FilesInHome())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(SettingsFileTest, SaveWithoutProgramFolderReportsStepZero) {
    Options.LastPath.clear();
    SaveSettings();
    EXPECT_TRUE(Logged("error #0 saving options"));
    EXPECT_TRUE(Logged("error #0: can not assign file"));
}

TEST_F(SettingsFileTest, WriteFailureAfterCreationLeavesTheOldFileWhole) {
    WriteFile("old contents");
    ApplyDefaultSettings();
    {
        // The temporary file is made and part of the text written, then the disk is full.
        test::TFileSizeLimit full(100);
        SaveSettings();
    }
    EXPECT_EQ(ReadFile(), "old contents");
    EXPECT_TRUE(Logged(" saving options"));
    EXPECT_FALSE(Logged("error #0 saving options"));
    EXPECT_FALSE(Logged("preferences saved"));
    // The torn temporary file does not stay behind.
    for (const std::string& name : FilesInHome())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(SettingsFileTest, ReadWithoutProgramFolderReportsStepZeroAndAppliesDefaults) {
    Options.LastPath.clear();
    LoadSettings();
    EXPECT_TRUE(Logged("error #0 loading options"));
    EXPECT_TRUE(Logged("error #0: can not assign file"));
    EXPECT_FALSE(Logged("preferences loaded"));
    EXPECT_EQ(MakeOptionsChecksum(), "14274393");
}

TEST_F(SettingsFileTest, SaveLeavesNoTemporaryFile) {
    ApplyDefaultSettings();
    SaveSettings();
    SaveSettings();
    for (const std::string& name : FilesInHome())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    EXPECT_TRUE(fs::exists(Path()));
}

TEST_F(SettingsFileTest, SaveTakesPositionsFromLiveWindowsAndPullsTheMainWindowOnScreen) {
    std::map<TWindowKind, TWindowRect> windows = {
        {TWindowKind::Main, {1500, 20, 300, 200}},
        {TWindowKind::History, {5, 6, 700, 500}},
    };
    std::vector<TWindowKind> moved;
    UiHooks.ScreenSize = [] { return std::optional<TScreenSize>(TScreenSize{1280, 1024}); };
    UiHooks.WindowRect = [&](TWindowKind kind) -> std::optional<TWindowRect> {
        const auto it = windows.find(kind);
        if (it == windows.end()) return std::nullopt;
        return it->second;
    };
    UiHooks.MoveWindow = [&](TWindowKind kind, int32_t left, int32_t top) {
        moved.push_back(kind);
        windows[kind].Left = left;
        windows[kind].Top = top;
    };
    ApplyDefaultSettings();
    const tOptionsSet before = Options;

    SaveSettings();

    EXPECT_EQ(Options, before);
    EXPECT_EQ(moved, std::vector<TWindowKind>{TWindowKind::Main});
    EXPECT_EQ(windows[TWindowKind::Main].Left, 980);
    const std::vector<std::string> lines = Lines(ReadFile());
    for (const char* expected : {"posMainX=980", "posMainY=20", "posCountersX=158", "posHistX=5",
                                 "posHistY=6", "posHistW=700", "posHistH=500"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

} // namespace
} // namespace quorlet
