// The desktop texts: mail link, Exec quoting, launchers and the video file association.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/shell.h"
#include "settings/fileassoc.h"
#include "desktopentry.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

namespace fs = std::filesystem;

std::string PercentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

class ShellTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        UiHooks.ShowMessageBox = [this](const std::string& text) { shown.push_back(text); };
        if (const char* p = std::getenv("PATH")) oldPath = p;
        if (const char* d = std::getenv("XDG_DATA_HOME")) oldData = d;
    }
    void TearDown() override {
        ::setenv("PATH", oldPath.c_str(), 1);
        if (oldData.empty()) ::unsetenv("XDG_DATA_HOME");
        else ::setenv("XDG_DATA_HOME", oldData.c_str(), 1);
        EngineTest::TearDown();
    }
    bool Logged(const std::string& text) const {
        for (const std::string& line : DebugLogLines)
            if (line.size() >= 13 && line.compare(13, std::string::npos, text) == 0) return true;
        return false;
    }
    std::vector<std::string> shown;
    std::string oldPath, oldData;
};

TEST_F(ShellTest, TheFeedbackSubjectCarriesThePlayerNameEncoded) {
    const struct {
        const char* name;
        const char* encodedTail;
    } cases[] = {
        {"Ann", "feedback%20by%20Ann"},
        {"A&B #1?", "feedback%20by%20A%26B%20%231%3F"},
        {"x=y+z/%", "by%20x%3Dy%2Bz%2F%25"},
        {"\xC3\xA9", "by%20%C3%A9"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        const std::string url = FeedbackMailUrl(tc.name);
        ASSERT_EQ(url.rfind(std::string("mailto:") + kFeedbackAddress + "?subject=", 0), 0u);
        EXPECT_TRUE(url.ends_with(tc.encodedTail)) << url;
        // Only the one query separator: nothing of the name can start a second field.
        EXPECT_EQ(url.find_first_of("&# "), std::string::npos);
        const std::string subject = PercentDecode(url.substr(url.find("subject=") + 8));
        EXPECT_EQ(subject, std::string("Minesweeper Quorlet 0.47 feedback by ") + tc.name);
    }
}

TEST_F(ShellTest, ExecArgumentsSurviveBlanksQuotesAndShellCharacters) {
    const char* arguments[] = {"/usr/bin/quorlet", "/home/a b/quorlet", "it's \"here\"", "$HOME", "`id`",
                               "C:\\games\\q", "100%", "a;b|c&d", ""};
    for (const char* argument : arguments) {
        SCOPED_TRACE(argument);
        const std::string exec = DesktopEntryValue(DesktopExecArgument(argument));
        EXPECT_EQ(ParseExec(exec), std::vector<std::string>{argument}) << exec;
    }
    EXPECT_EQ(DesktopExecArgument("/usr/bin/quorlet"), "/usr/bin/quorlet");
    EXPECT_EQ(DesktopExecArgument("/a b/$x"), "\"/a b/\\$x\"");
}

TEST_F(ShellTest, ALauncherStartsTheTargetInItsFolderWithItsArguments) {
    const std::string text = DesktopShortcutText("/opt/my games/quorlet", "DEBUGMODE  x\\y", "/icons/q.png");
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_EQ(KeyValue(text, "Type"), "Application");
    EXPECT_EQ(ParseExec(KeyValue(text, "Exec")), (std::vector<std::string>{"/opt/my games/quorlet", "DEBUGMODE", "x\\y"}));
    EXPECT_EQ(KeyValue(text, "Path"), "/opt/my games");
    EXPECT_EQ(KeyValue(text, "Icon"), "/icons/q.png");
    EXPECT_EQ(KeyValue(DesktopShortcutText("/q", "", ""), "Icon"), "<missing>");
}

TEST_F(ShellTest, TheDesktopShortcutReplacesAnOlderOneAndIsExecutable) {
    UiHooks.ProgramIconFile = [this] { return Home() + "quorlet.png"; };
    const std::string link = Home() + "Minesweeper Quorlet.lnk";
    const std::string file = Home() + "Minesweeper Quorlet.desktop";
    std::ofstream(file) << "old launcher";
    ::chmod(file.c_str(), 0600);
    ASSERT_TRUE(CreateDesktopShortcut("/opt/q/quorlet", link, ""));
    ASSERT_TRUE(CreateDesktopShortcut("/opt/q/quorlet", link, ""));
    EXPECT_EQ(ReadFileText(file), DesktopShortcutText("/opt/q/quorlet", "", Home() + "quorlet.png"));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);
    EXPECT_FALSE(fs::exists(link));
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Home()))
        ++files;
    EXPECT_EQ(files, 1);
    EXPECT_FALSE(CreateDesktopShortcut("/opt/q/quorlet", Home() + "no/such/folder/q.lnk", ""));
    EXPECT_TRUE(Logged("desktop shortcut creation fail"));
}

TEST_F(ShellTest, RegisteringWritesThePackageAndTheEntryThenRunsTheInstalledTools) {
    // The desktop tools are recorders in a PATH of our own.
    const std::string tools = Home() + "bin";
    fs::create_directories(tools);
    for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-mime"}) {
        const std::string path = tools + "/" + tool;
        std::ofstream(path) << "#!/bin/sh\necho \"$0 $*\" >> " << Home() << "calls.txt\n";
        ::chmod(path.c_str(), 0755);
    }
    ::setenv("PATH", tools.c_str(), 1);
    const std::string data = Home() + "data home";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    RegisterVideoFileType();
    RegisterVideoFileType();
    ASSERT_EQ(shown, (std::vector<std::string>{"QVF extension registration done", "QVF extension registration done"}));
    EXPECT_EQ(ReadFileText(data + "/mime/packages/quorlet-qvf.xml"), QvfMimePackageText());
    const std::string entry = ReadFileText(data + "/applications/quorlet.desktop");
    EXPECT_EQ(ParseExec(KeyValue(entry, "Exec")), (std::vector<std::string>{ExecutablePath(), "%f"}));
    EXPECT_EQ(KeyValue(entry, "MimeType"), std::string(kQvfMimeType) + ";");
    EXPECT_NE(QvfMimePackageText().find("<glob pattern=\"*.qvf\"/>"), std::string::npos);
    // One package and one entry, no leftovers.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::recursive_directory_iterator(data))
        files += e.is_regular_file();
    EXPECT_EQ(files, 2);
    const std::string calls = ReadFileText(Home() + "calls.txt");
    EXPECT_NE(calls.find("update-mime-database " + data + "/mime\n"), std::string::npos);
    EXPECT_NE(calls.find("update-desktop-database " + data + "/applications\n"), std::string::npos);
    EXPECT_NE(calls.find(std::string("xdg-mime default quorlet.desktop ") + kQvfMimeType + "\n"), std::string::npos);
}

TEST_F(ShellTest, AnExecutablePathWithBlanksAndQuotesStaysOneQuotedArgument) {
    const std::string entry = QvfDesktopEntryText("/home/Ann Lee/My \"Games\"/quorlet", "");
    EXPECT_EQ(ParseExec(KeyValue(entry, "Exec")), (std::vector<std::string>{"/home/Ann Lee/My \"Games\"/quorlet", "%f"}));
    // Quoted even when nothing needs it, and the case is kept.
    EXPECT_EQ(KeyValue(QvfDesktopEntryText("/opt/Quorlet/quorlet", ""), "Exec"), "\"/opt/Quorlet/quorlet\" %f");
}

TEST_F(ShellTest, AFolderThatCannotBeWrittenIsReportedAsAFailure) {
    ::setenv("PATH", "", 1);
    std::ofstream(Home() + "file") << "x";
    ::setenv("XDG_DATA_HOME", (Home() + "file").c_str(), 1);
    RegisterVideoFileType();
    ASSERT_EQ(shown, std::vector<std::string>{"Registry Access Failure"});
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_EQ(DebugLogLines[0].compare(13, 24, "#Registry Access Failure"), 0);
}

TEST_F(ShellTest, MissingToolsAreFoundNowhereAndRunNothing) {
    ::setenv("PATH", Home().c_str(), 1);
    EXPECT_EQ(FindExecutableInPath("update-mime-database"), "");
    EXPECT_FALSE(RunDesktopTool({"update-mime-database", "/x"}));
    EXPECT_FALSE(RunDesktopTool({}));
    ::setenv("PATH", "/bin:/usr/bin", 1);
    EXPECT_TRUE(RunDesktopTool({"true"}));
    EXPECT_FALSE(RunDesktopTool({"false"}));
}

TEST_F(ShellTest, TheMultiplayerDebugCommandsOnlyLog) {
    DebugCmdRemoteSystemInfo();
    DebugCmdRemoteProcessList();
    ASSERT_EQ(DebugLogLines.size(), 2u);
    EXPECT_TRUE(Logged("multiplayer under construction"));
    EXPECT_TRUE(shown.empty());
}

} // namespace
} // namespace quorlet::test
