// What the player keeps survives damaged files, a missing program folder, full disks and the
// left-overs of interrupted writes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/programfolder.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "stats/counters.h"
#include "stats/historyfile.h"
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

TEST_F(KeptFilesTest, StartUpRemovesTheTemporariesOfInterruptedWrites) {
    const std::vector<std::string> stale = {
        ".quorlet.dat.tmp.Ab12Cd", "quorlet.dat.tmp", ".stats.dat.tmp.zzzzzz", "stats.dat.tmp",
        "._counter_template.txt.tmp.123456", "_counter_template.txt.tmp",
    };
    const std::vector<std::string> kept = {"quorlet.dat", "stats.dat", "my.tmp", ".quorlet.dat.tmp.toolong",
                                           "x.qvf.tmp"};
    for (const std::string& name : stale)
        Write(Home() + name, "half");
    for (const std::string& name : kept)
        Write(Home() + name, "kept");
    EXPECT_EQ(OpenProgramFolder(), Home());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(Home()), expected);
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
