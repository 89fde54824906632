// What the player keeps survives damaged files, a missing program folder, full disks and the
// left-overs of interrupted writes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/boardfile.h"
#include "core/debuglog.h"
#include "core/programfolder.h"
#include "core/test_mouse_fixture.h"
#include "core/uihooks.h"
#include "oddfiles.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "stats/counters.h"
#include "stats/highscores.h"
#include "stats/historycsv.h"
#include "stats/historyfile.h"
#include "stats/historygrid.h"
#include "stats/historyhtml.h"
#include "testutil.h"
#include "writefail.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Sets (or unsets) an environment variable for the scope of the object.
class TEnv {
  public:
    TEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~TEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class KeptFilesTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages_.push_back(text); };
    }
    bool Logged(const std::string& text) const {
        return std::any_of(DebugLogLines.begin(), DebugLogLines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    void FreshStart() {
        const std::string folder = Options.LastPath;
        Options = tOptionsSet{};
        Options.LastPath = folder;
    }
    std::vector<std::string> messages_;
};

// Start-ups that never read the settings lines used to leave the template unloaded but not
// pending, so the close saved the empty template over the player's file.
TEST_F(KeptFilesTest, CountersTemplateSurvivesEveryStartUp) {
    const std::string tmpl = "Time|TIME\r\n3BV|BBBV\r\n;note\r\n";
    const struct {
        const char* what;
        std::optional<std::string> settings;
    } cases[] = {
        {"no settings file", std::nullopt},
        {"empty settings file", ""},
        {"no key line", ";comment\r\n[GLOBALS]\r\nab\r\n"},
        {"over the size cap", std::string(1100000, ';')},
    };
    for (const auto& c : cases) {
        for (const uint8_t optionsWindow : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + (optionsWindow ? ", options window" : ""));
            for (const auto& entry : fs::directory_iterator(Home()))
                fs::remove_all(entry.path());
            ResetGlobals();
            Options.LastPath = Home();
            OptionsWindowCreated = optionsWindow;
            Write(Home() + "_counter_template.txt", tmpl);
            if (c.settings) Write(Home() + kSettingsFileName, *c.settings);
            LoadSettings();
            SaveSettings();
            EXPECT_EQ(Read(Home() + "_counter_template.txt"), tmpl);
        }
    }
}

// A folder named "_counter_template.txt" stopped every start (its reader threw), and inside the
// settings read the same throw moved a valid "quorlet.dat" aside as damaged; a fifo, a link to
// /dev/zero or a huge file kept the window from showing. Each is the default template with the
// one "#" line, the settings stay, and the thing in the template's place is left as it is.
TEST_F(KeptFilesTest, ATemplateThatCannotBeReadIsTheDefaultAndNothingElse) {
    const std::string tmpl = Home() + "_counter_template.txt";
    const std::string settingsPath = Home() + kSettingsFileName;
    ApplyDefaultSettings();
    Options.CounterRefresh = 37;
    ASSERT_TRUE(SaveSettings());
    const std::string settings = Read(settingsPath);
    for (const test::TOddFile& c : test::OddFiles()) {
        for (const uint8_t optionsWindow : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + (optionsWindow ? ", on Apply" : ", at start-up"));
            for (const auto& entry : fs::directory_iterator(Home()))
                fs::remove_all(entry.path());
            Write(settingsPath, settings);
            ResetGlobals();
            Options.LastPath = Home();
            DebugWindowOn = 1;
            OptionsWindowCreated = optionsWindow;
            c.make(tmpl, Home());
            const auto kind = fs::symlink_status(tmpl).type();
            EXPECT_NO_THROW(LoadSettings());
            EXPECT_EQ(Options.CounterRefresh, 37);
            // The options window's creation loads the template once it exists.
            OptionsWindowCreated = 1;
            EXPECT_NO_THROW(LoadCountersTemplate());
            EXPECT_TRUE(CountersTemplateLines.empty());
            EXPECT_TRUE(Logged("#error loading counters template. applying default"));
            EXPECT_FALSE(Logged("loading options"));
            EXPECT_NO_THROW(SaveSettings());
            for (const std::string& name : Names(Home()))
                EXPECT_EQ(name.find("quorlet_backup_"), std::string::npos) << "moved aside: " << name;
            EXPECT_EQ(fs::symlink_status(tmpl).type(), kind);
            EXPECT_TRUE(messages_.empty());
        }
    }
}

// A truncated or keyless file used to turn every field it did not name into 0: the clock off and
// the history log off, saved so at close.
TEST_F(KeptFilesTest, FieldsAFileDoesNotNameKeepTheirDefaults) {
    ApplyDefaultSettings();
    const tOptionsSet defaults = Options;
    SaveSettings();
    const std::string full = Read(Home() + kSettingsFileName);
    const std::string cut = full.substr(0, full.find("[PLAYER]"));
    for (const std::string& body : {std::string("doMarks=1\r\n"), cut}) {
        FreshStart();
        Write(Home() + kSettingsFileName, body);
        LoadSettings();
        EXPECT_TRUE(Options.doTimer);
        EXPECT_TRUE(Options.doHistoryLog);
        EXPECT_EQ(Options.ReplayName, defaults.ReplayName);
        EXPECT_EQ(Options.seAttemptsValue, defaults.seAttemptsValue);
        EXPECT_EQ(Options.CounterRefresh, defaults.CounterRefresh);
        SaveSettings();
        FreshStart();
        LoadSettings();
        EXPECT_TRUE(Options.doHistoryLog) << "the zero must not be saved either";
    }
}

TEST_F(KeptFilesTest, ProgramFolderThatCannotBeUsedIsNamedWithItsReason) {
    const std::string blocker = Home() + "a-file";
    Write(blocker, "x");
    for (const std::string& folder : {blocker, blocker + "/below"}) {
        SCOPED_TRACE(folder);
        TEnv home("QUORLET_HOME", folder.c_str());
        std::string problem;
        EXPECT_EQ(ResolveProgramFolder(&problem), "");
        EXPECT_NE(problem.find(folder), std::string::npos) << problem;
    }
    TEnv a("QUORLET_HOME", nullptr), b("XDG_DATA_HOME", nullptr), c("HOME", nullptr);
    std::string problem;
    EXPECT_EQ(ResolveProgramFolder(&problem), "") << "never the folder the process runs in";
    EXPECT_FALSE(problem.empty());
    messages_.clear();
    EXPECT_EQ(OpenProgramFolder(), "");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("will be saved"), std::string::npos) << messages_[0];
}

// Without a program folder the engine used to read, copy and empty an unrelated "stats.dat" in
// the working folder. It plays on and touches no file.
TEST_F(KeptFilesTest, WithoutAProgramFolderNoFileIsReadOrWritten) {
    const std::string cwd = Home() + "cwd/";
    fs::create_directories(cwd);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"stats.dat", std::string(50, '\x11')},   // damaged, as far as a reader can tell
        {"quorlet.dat", "doTimer=0\r\n"},
        {"_counter_template.txt", "A|1\r\n"},
        {"_english.lng", "0290=Not this one\r\n"},
    };
    for (const auto& [name, bytes] : files)
        Write(cwd + name, bytes);
    const fs::path before = fs::current_path();
    fs::current_path(cwd);
    TEnv home("QUORLET_HOME", (Home() + "cwd/quorlet.dat").c_str());
    Options.LastPath = OpenProgramFolder();
    ASSERT_EQ(Options.LastPath, "");
    OptionsWindowCreated = 1;
    LoadSettings();
    LoadHistoryFile();
    Options.doHistoryLog = true;
    EXPECT_FALSE(AppendHistoryRecord());
    Options.langFileName = "_english.lng";
    LoadLanguageFile();
    CountersTemplateLines = {"B|2"};
    SaveCountersTemplate();
    SaveSettings();
    SaveDebugLog();
    fs::current_path(before);
    EXPECT_EQ(UIText("0290"), "Cannot save file");
    EXPECT_TRUE(Options.doTimer);
    EXPECT_EQ(Names(cwd), (std::vector<std::string>{"_counter_template.txt", "_english.lng", "quorlet.dat",
                                                    "stats.dat"}));
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(Read(cwd + name), bytes) << name;
    EXPECT_EQ(messages_.size(), 1u) << "told once, at start-up";
}

// Only five names were cleaned: the temporaries of the automatic-saving template, the exports,
// videos, presets, boards, replays, screenshots and the corrupt-history copy stayed for good.
TEST_F(KeptFilesTest, StartUpRemovesTheTemporariesOfInterruptedWritesAndNothingElse) {
    for (const char* folder : {"boards", "replays", "screenshots", "board_presets", "replays/deeper"})
        fs::create_directories(Home() + folder);
    // A folder outside, reached only through a link.
    const std::string outside = Home().substr(0, Home().size() - 1) + "-outside/";
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, Home() + "linked");
    Write(outside + ".a.qvf.abcdef.quorlet-tmp", "kept");
    const std::vector<std::string> stale = {
        ".quorlet.dat.Ab12Cd.quorlet-tmp",
        "._autosave_template.txt.x9Y8z7.quorlet-tmp",
        ".stats_csv.html.000000.quorlet-tmp",
        ".stats_corrupt_1h2h3s-4d5m2026y.dat.AAAAAA.quorlet-tmp",
        ".quorlet.dat.tmp.Ab12Cd", // the names of earlier versions
        "quorlet.dat.tmp",
        ".stats.dat.tmp.zzzzzz",
        "stats.dat.tmp",
        "._counter_template.txt.tmp.123456",
        "_counter_template.txt.tmp",
        "boards/.Ann_8x8-10mines.qbf.qwerty.quorlet-tmp",
        "replays/.beg_7.qvf.abcdef.quorlet-tmp",
        "screenshots/.ScreenShot_0001.jpg.ZZZZZZ.quorlet-tmp",
        "board_presets/.9x9-10mines_(0.1234).qbp.tmp.a1b2c3",
    };
    const std::vector<std::string> kept = {
        "quorlet.dat",
        "stats.dat",
        "my.tmp",
        ".quorlet.dat.tmp.toolong",
        "x.qvf.tmp",
        "boards/x.qbf",
        "replays/quorlet.dat.tmp",                  // a fixed name only beside the program's own files
        "replays/deeper/.a.qvf.abcdef.quorlet-tmp", // the program writes no deeper folder
        ".notes.txt.quorlet-tmp",
    };
    for (const std::string& name : stale)
        Write(Home() + name, "half");
    for (const std::string& name : kept)
        Write(Home() + name, "kept");
    fs::create_directories(Home() + ".folder.abcdef.quorlet-tmp"); // a folder of that name is not ours
    fs::create_symlink(Home() + "quorlet.dat", Home() + ".link.abcdef.quorlet-tmp");

    // Another instance may be writing: a fresh temporary stays, one older than a write lasts goes.
    const std::string fresh = Home() + "._autosave_template.txt.x9Y8z7.quorlet-tmp";
    const std::string old = Home() + ".quorlet.dat.Ab12Cd.quorlet-tmp";
    const timespec times[2] = {{std::time(nullptr) - kLiveTemporarySeconds - 60, 0},
                               {std::time(nullptr) - kLiveTemporarySeconds - 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, old.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    RemoveStaleTemporaries(Home(), true);
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_FALSE(fs::exists(old));

    RemoveStaleTemporaries(Home(), false);
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(Home() + name)) << name;
    for (const std::string& name : kept)
        EXPECT_EQ(Read(Home() + name), "kept") << name;
    EXPECT_TRUE(fs::is_directory(Home() + ".folder.abcdef.quorlet-tmp"));
    EXPECT_TRUE(fs::is_symlink(Home() + ".link.abcdef.quorlet-tmp"));
    EXPECT_EQ(Read(outside + ".a.qvf.abcdef.quorlet-tmp"), "kept");
    fs::remove_all(outside);
}

struct TWriterCase {
    const char* what;
    std::string file;
    std::function<void()> write;
};

std::vector<TWriterCase> Writers(const std::string& home) {
    return {
        {"settings", kSettingsFileName, [] { SaveSettings(); }},
        {"counters template", "_counter_template.txt",
         [] {
             CountersTemplateLines = {"A|1", "B|2"};
             SaveCountersTemplate();
         }},
        {"debug log", "log.txt", [home] { SaveDebugLogTo(home + "log.txt"); }},
        {"language file", kEnglishLanguageFileName, [] { InstallEnglishLanguageFile(); }},
    };
}

// The old writers all wrote one fixed "name.tmp": whatever held that name blocked every save.
TEST_F(KeptFilesTest, ALeftOverFixedTemporaryNameBlocksNoWriter) {
    ApplyDefaultSettings();
    OptionsWindowCreated = 1;
    for (const TWriterCase& c : Writers(Home())) {
        SCOPED_TRACE(c.what);
        fs::create_directories(Home() + c.file + ".tmp/in-the-way");
        c.write();
        EXPECT_TRUE(fs::is_regular_file(Home() + c.file));
        EXPECT_GT(fs::file_size(Home() + c.file), 0u);
    }
}

TEST_F(KeptFilesTest, AFullDiskLeavesEveryOldFileWholeAndNoTemporary) {
    ApplyDefaultSettings();
    OptionsWindowCreated = 1;
    for (const TWriterCase& c : Writers(Home())) {
        SCOPED_TRACE(c.what);
        if (c.file == kEnglishLanguageFileName) continue; // written only when missing
        const std::string old(200, 'o');
        Write(Home() + c.file, old);
        {
            test::TFileSizeLimit full(4);
            c.write();
        }
        EXPECT_EQ(Read(Home() + c.file), old);
        for (const std::string& name : Names(Home()))
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

// A damaged history kept its records in memory but lost them from the file; a stale fixed
// temporary name made the rewrite fail.
TEST_F(KeptFilesTest, DamagedHistoryIsCutBackToItsWholeRecords) {
    DebugWindowOn = 0;
    fs::create_directories(Home() + "stats.dat.tmp/in-the-way");
    TGameRecord r;
    r.day = 3;
    r.month = 4;
    r.year = 2026;
    r.level = glExpert;
    r.timeSec = 77;
    r.bbbv = 150;
    std::string file;
    for (int i = 0; i < 3; ++i) {
        const THistoryFileRecord bytes = EncodeHistoryRecord(r);
        file.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    const std::string whole = file;
    file += "torn";
    Write(Home() + "stats.dat", file);
    LoadHistoryFile();
    EXPECT_EQ(HistoryRecordCount(), 3u);
    EXPECT_EQ(Read(Home() + "stats.dat"), whole);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], UIText("0183"));
}

// A "quorlet.dat" without write permission was replaced by the rename and kept its mode, and the
// settings writer never logged its read-only lines; a failed template save said nothing to the
// player. The file stays, the writer's lines are logged and "Cannot save file" is shown.
TEST_F(KeptFilesTest, AReadOnlyFileOfTheProgramIsKeptAndThePlayerIsTold) {
    ApplyDefaultSettings();
    OptionsWindowCreated = 1;
    CountersTemplateLines = {"A|1"};
    AutosaveTemplateUnread = 0; // both templates are known, as after their load
    ASSERT_TRUE(SaveSettings());
    const struct {
        const char* file;
        const char* line;
    } cases[] = {
        {kSettingsFileName, "error #1: can not rewrite file (file is read-only)"},
        {"_counter_template.txt", "#error savining counters template"},
        {"_autosave_template.txt", "#error savining automatic saving template"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = Home() + c.file;
        const std::string before = Read(path);
        ASSERT_FALSE(before.empty());
        ::chmod(path.c_str(), 0444);
        messages_.clear();
        DebugLogLines.clear();
        Options.CounterRefresh = 55;
        CountersTemplateLines = {"B|2"};
        AutosaveTemplateLines = {"changed"};
        EXPECT_FALSE(SaveSettings());
        EXPECT_EQ(Read(path), before);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0444u);
        EXPECT_TRUE(Logged(c.line));
        if (c.file == std::string(kSettingsFileName)) {
            EXPECT_TRUE(Logged("error #1 saving options"));
        }
        EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"}) << "once for the three files";
        ::chmod(path.c_str(), 0644);
        EXPECT_TRUE(SaveSettings());
    }
}

// A link in place of "quorlet.dat" or a template was read through, then replaced by a plain file
// at the next save: the file it names never changed. The save writes the file the link names.
TEST_F(KeptFilesTest, ALinkInPlaceOfAFileOfTheProgramIsWrittenThrough) {
    const std::vector<std::string> names = {kSettingsFileName, "_counter_template.txt",
                                            "_autosave_template.txt"};
    fs::create_directories(Home() + "real");
    for (const std::string& name : names) {
        Write(Home() + "real/" + name, "");
        fs::create_symlink("real/" + name, Home() + name);
    }
    ApplyDefaultSettings();
    OptionsWindowCreated = 1;
    Options.CounterRefresh = 41;
    CountersTemplateLines = {"A|1"};
    AutosaveTemplateLines = {"rule"};
    AutosaveTemplateUnread = 0;
    ASSERT_TRUE(SaveSettings());
    for (const std::string& name : names) {
        EXPECT_TRUE(fs::is_symlink(Home() + name)) << name;
        EXPECT_GT(fs::file_size(Home() + "real/" + name), 0u) << name;
    }
    EXPECT_EQ(Read(Home() + "real/_counter_template.txt"), "A|1\r\n");
    EXPECT_EQ(Names(Home() + "real"), (std::vector<std::string>{"_autosave_template.txt",
                                                                "_counter_template.txt", kSettingsFileName}));
    FreshStart();
    CountersTemplateLines.clear();
    LoadSettings();
    EXPECT_EQ(Options.CounterRefresh, 41);
    EXPECT_EQ(CountersTemplateLines, std::vector<std::string>{"A|1"});
}

// A rename needs only the folder's write right: the exports, "Save Table" and the board and
// screenshot files replaced a file the player had made read-only, without a word.
TEST_F(KeptFilesTest, NoWriterReplacesAReadOnlyFile) {
    SystemTimeSource = [] { return TSystemTime{2026, 3, 0, 5, 14, 7, 9, 0}; };
    TimeZoneBias = 0;
    GameHistory[0] = TGameRecord{};
    GameHistory[0].day = 5;
    GameHistory[0].month = 3;
    GameHistory[0].year = 2026;
    THistoryGrid grid;
    THighScoreGrid scores;
    scores.columns = 1;
    scores.cells = {{"x"}};
    fs::create_directories(Home() + "boards");
    const struct {
        const char* what;
        std::function<std::string()> target;
        std::function<bool()> write;
    } cases[] = {
        {"statistics CSV", [this] { return Home() + "stats_csv.csv"; }, [] { return WriteHistoryCsv(); }},
        {"statistics HTML page", [this] { return Home() + "page.html"; },
         [&] { return ExportGridHtml(Home() + "page.html", grid, "p"); }},
        {"statistics report", [this] { return Home() + "report.html"; },
         [&] { return ExportStatisticsHtml(Home() + "report.html", grid); }},
        {"Save Table", [this] { return Home() + "scores_best.html"; },
         [&] { return SaveHighScorePageHtml(scores, Home() + "scores_best.html"); }},
        {"board file", [this] { return Home() + "boards/" + BoardFileName(); },
         [] { return SaveBoardFile(); }},
        {"text board", [this] { return Home() + "board.txt"; },
         [&] { return SaveTextBoard(Home() + "board.txt", " "); }},
        {"board picture and screenshot", [this] { return Home() + "ScreenShot_0000.bmp"; },
         [&] { return WriteFileOrReport(Home() + "ScreenShot_0000.bmp", "BM bytes"); }},
    };
    test::StartLoadedGame(test::kBeginnerBoard, glBeginner);
    GameOver = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = c.target();
        Write(target, "kept");
        ::chmod(target.c_str(), 0444);
        messages_.clear();
        DebugLogLines.clear();
        EXPECT_FALSE(c.write());
        EXPECT_EQ(Read(target), "kept");
        EXPECT_EQ(messages_, std::vector<std::string>{"Cannot save file"});
        EXPECT_TRUE(Logged(target)) << "a \"#\" line names the file";
        EXPECT_TRUE(std::any_of(DebugLogLines.begin(), DebugLogLines.end(),
                                [](const std::string& line) { return line.find("#") != std::string::npos; }));
        ::chmod(target.c_str(), 0644);
        EXPECT_TRUE(c.write());
        EXPECT_NE(Read(target), "kept");
    }
}

// A huge language file used to be read whole at every start.
TEST_F(KeptFilesTest, LanguageFileOverTheCapKeepsEnglish) {
    std::string big = "0290=Huge\r\n";
    big += std::string(1100000, ';');
    Write(Home() + "big.lng", big);
    Options.langFileName = "big.lng";
    LoadLanguageFile();
    EXPECT_EQ(UIText("0290"), "Cannot save file");
    EXPECT_TRUE(Logged("#cannot read language file big.lng"));
    Write(Home() + "big.lng", "0290=Small\r\n");
    LoadLanguageFile();
    EXPECT_EQ(UIText("0290"), "Small");
}

} // namespace
} // namespace quorlet
