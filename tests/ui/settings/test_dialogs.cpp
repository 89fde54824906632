// The debug command box, the About box, the multiplayer window and the plug-in host.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <fstream>

#include "app/pluginhost.h"
#include "app/settings/FAbout.h"
#include "settings/FCap.h"
#include "app/settings/FMultiplayer.h"
#include "app/settings/Fdebug_command.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

bool Logged(const std::string& text) {
    for (const std::string& line : DebugLogLines)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

class CommandBoxTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        debug.resize(400, 300);
        debug.show();
        // After SetUp: the hook table is reset there, and the box fills its entry.
        box = std::make_unique<TDebug_Command>(&debug);
    }
    void TearDown() override {
        box.reset();
        EngineTest::TearDown();
    }
    // Where the player's keys go once the box shows.
    QWidget* Focused() {
        EXPECT_TRUE(QTest::qWaitForWindowActive(box.get()));
        QWidget* focused = QApplication::focusWidget();
        EXPECT_NE(focused, nullptr);
        return focused ? focused : box.get();
    }
    QWidget debug;
    std::unique_ptr<TDebug_Command> box;
};

// The keys go where the player's go: to the focused widget, which is the combo box itself.
// A filter on its line edit saw none of them, so Backspace and Enter did nothing.
TEST_F(CommandBoxTest, TypingCompletesAndEnterRunsTheCommand) {
    ASSERT_TRUE(UiHooks.ShowDebugCommandWindow);
    UiHooks.ShowDebugCommandWindow();
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(debug.isEnabled());
    EXPECT_EQ(box->dc->count(), 11);
    EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
    QWidget* keys = Focused();
    EXPECT_EQ(keys, box->dc);
    QLineEdit* edit = box->dc->lineEdit();
    QTest::keyClicks(keys, "ses");
    EXPECT_EQ(edit->text(), "session_info");
    EXPECT_EQ(edit->selectionStart(), 3);
    EXPECT_EQ(edit->selectedText(), "sion_info");
    QTest::keyClick(keys, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "session_info");
    EXPECT_EQ(edit->selectionStart(), 2);
    QTest::keyClicks(keys, "Z");
    EXPECT_EQ(edit->text(), "seZ");
    QTest::keyClick(keys, Qt::Key_Backspace);
    QTest::keyClick(keys, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "session_info");
    EXPECT_EQ(edit->selectionStart(), 1);
    DebugLogLines.clear();
    QTest::keyClick(keys, Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(debug.isEnabled());
    EXPECT_TRUE(Logged("processing debug command \"session_info\""));
    EXPECT_TRUE(Logged("STARTING DEBUG_SESSION_INFO"));
    EXPECT_EQ(box->dc->currentText(), "");
}

TEST_F(CommandBoxTest, CapitalsCompleteToTheListedEntryAndEscRunsIt) {
    UiHooks.ShowDebugCommandWindow();
    QWidget* keys = Focused();
    QTest::keyClicks(keys, "GRAB_REMOTE_P");
    EXPECT_EQ(box->dc->currentText(), "grab_remote_processlist");
    DebugLogLines.clear();
    QTest::keyClick(keys, Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(Logged("multiplayer under construction"));
}

TEST_F(CommandBoxTest, ClosingRunsNothing) {
    UiHooks.ShowDebugCommandWindow();
    QTest::keyClicks(Focused(), "help");
    DebugLogLines.clear();
    box->close();
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(debug.isEnabled());
    EXPECT_FALSE(Logged("processing debug command"));
    // "help" is not listed, but runs when typed.
    UiHooks.ShowDebugCommandWindow();
    EXPECT_EQ(box->dc->currentText(), "help");
    QTest::keyClick(Focused(), Qt::Key_Enter);
    EXPECT_TRUE(Logged("please read the help file for more information"));
}

TEST_F(MainWindowTest, AboutBoxOkStartsANewGameEscDoesNotAndCloseIsRefused) {
    TMain& main = Open();
    TAbout about;
    std::vector<QUrl> opened;
    about.OpenUrl = [&](const QUrl& url) { opened.push_back(url); };
    int newGames = 0;
    UiHooks.NewGame = [&] { ++newGames; };
    Options.ReplayName = "Zoe & Co";
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        ASSERT_TRUE(UiHooks.ShowAboutWindow);
        UiHooks.ShowAboutWindow();
        ASSERT_TRUE(about.isVisible());
        EXPECT_FALSE(main.isEnabled());
        EXPECT_EQ(about.lVer->text(), "version 0.47");
        // 15 entries and the 24 thanks; the line-break entry and the two addresses take two lines each.
        EXPECT_EQ(about.m->document()->blockCount(), 15 + 24 + 2);
        if (way == 0) {
            QTest::mouseClick(about.Button1, Qt::LeftButton);
            EXPECT_EQ(newGames, 1);
        } else if (way == 1) {
            QTest::keyClick(&about, Qt::Key_Escape);
            EXPECT_EQ(newGames, 1);
        } else {
            about.close();
            EXPECT_TRUE(about.isVisible());
            about.ExitBtnClick();
        }
        EXPECT_FALSE(about.isVisible());
        EXPECT_TRUE(main.isEnabled());
    }
    about.llink2Click();
    about.llinkClick();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].toString(QUrl::FullyEncoded).endsWith("by%20Zoe%20%26%20Co"))
        << opened[0].toString(QUrl::FullyEncoded).toStdString();
    EXPECT_EQ(opened[1].toString(), "https://example.org/minesweeper");
}

TEST_F(MainWindowTest, MultiplayerWindowShowsItsFieldsAndSavesItsLog) {
    TMain& main = Open();
    TMult mult(&main);
    ASSERT_TRUE(UiHooks.ShowMultiplayerWindow);
    UiHooks.ShowMultiplayerWindow();
    EXPECT_TRUE(mult.isVisible());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(mult.sePort->value(), 8765);
    EXPECT_FALSE(mult.sePort->isEnabled());
    EXPECT_EQ(mult.eIP->text(), "127.0.0.1");
    EXPECT_EQ(mult.eName->text(), "Sweeper_i_am");
    EXPECT_EQ(mult.lPort->text(), "Port");
    QTest::keyClicks(mult.Memo, "typed");
    EXPECT_EQ(mult.Memo->toPlainText(), "");
    const std::string path = Home() + "chat.txt";
    mult.ChooseSaveFile = [&](const QString& folder) {
        EXPECT_EQ(folder.toStdString(), Options.LastPath);
        return QString::fromStdString(path);
    };
    mult.SaveBtn->trigger();
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    mult.Memo->setPlainText("one\ntwo");
    mult.SaveBtnClick();
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "one\r\ntwo\r\n");
    mult.close();
    EXPECT_FALSE(mult.isVisible());
}

class PluginTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        fs::create_directories(Home() + "plugins");
    }
    void Copy(const char* built, const std::string& as) {
        fs::copy_file(std::string(QUORLET_TEST_PLUGIN_DIR) + "/" + built, Home() + "plugins/" + as,
                      fs::copy_options::overwrite_existing);
    }
    static bool StaysLoaded(const std::string& path) {
        void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (h) ::dlclose(h);
        return h != nullptr;
    }
};

TEST_F(PluginTest, OnlyLibrariesWithTheExportStayAndTheirItemsRun) {
    Copy("libplugin_no_export.so", "a.so");
    Copy("libplugin_two_items.so", "b.SO");
    Copy("libplugin_throws.so", ".c.so");
    std::ofstream(Home() + "plugins/readme.txt") << "not a library";
    // No regular files: loading a fifo named like a library waited for a writer forever.
    ASSERT_EQ(::mkfifo((Home() + "plugins/fifo.so").c_str(), 0600), 0);
    fs::create_directories(Home() + "plugins/folder.so");
    fs::create_symlink("/dev/zero", Home() + "plugins/zero.so");
    QObject owner;
    QMenu menu;
    Options.doSeekPlugins = true;
    LoadPlugins(&menu, &owner);
    auto* host = owner.findChild<TPluginHost*>();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->Count(), 1u);
    EXPECT_TRUE(Logged("searching plugins..."));
    EXPECT_TRUE(Logged("#plugins load error")); // the hidden one threw
    EXPECT_FALSE(StaysLoaded(Home() + "plugins/a.so"));
    EXPECT_TRUE(StaysLoaded(Home() + "plugins/b.SO"));
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "First item");
    EXPECT_EQ(items[1]->text(), QString::fromUtf8("Zweites \xC3\xA4"));
    void* library = ::dlopen((Home() + "plugins/b.SO").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    auto** data = static_cast<void**>(::dlsym(library, "LastClickData"));
    auto** sender = static_cast<void**>(::dlsym(library, "LastClickSender"));
    auto** app = static_cast<void**>(::dlsym(library, "SeenApplication"));
    ASSERT_TRUE(data && sender && app);
    EXPECT_EQ(*app, static_cast<void*>(QApplication::instance()));
    items[1]->trigger();
    EXPECT_EQ(*static_cast<int*>(*data), 2);
    EXPECT_EQ(*sender, static_cast<void*>(items[1]));
    items[0]->trigger();
    EXPECT_EQ(*static_cast<int*>(*data), 1);
    ::dlclose(library);
}

TEST_F(PluginTest, SwitchedOffOrAFileInsteadOfTheFolder) {
    QObject owner;
    QMenu menu;
    Copy("libplugin_two_items.so", "b.so");
    Options.doSeekPlugins = false;
    LoadPlugins(&menu, &owner);
    EXPECT_EQ(owner.findChild<TPluginHost*>(), nullptr);
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_FALSE(Logged("searching plugins..."));

    fs::remove_all(Home() + "plugins");
    std::ofstream(Home() + "plugins") << "a file";
    std::vector<std::string> shown;
    UiHooks.ShowMessageBox = [&](const std::string& text) { shown.push_back(text); };
    Options.doSeekPlugins = true;
    LoadPlugins(&menu, &owner);
    EXPECT_TRUE(Logged("#plugins search error"));
    EXPECT_EQ(shown, std::vector<std::string>{"#plugins search error"});
}

// One start's plug-in loading in a child process, as a start of the program that may die:
// what it showed, logged and put under the menu is left in "start.txt" of the program folder.
void StartInAChild(const std::string& report) {
    std::vector<std::string> shown;
    UiHooks.ShowMessageBox = [&](const std::string& text) { shown.push_back(text); };
    QObject owner;
    QMenu menu;
    DebugLogLines.clear();
    LoadPlugins(&menu, &owner);
    std::ofstream out(report);
    for (const std::string& text : shown)
        out << "shown " << text << "\n";
    for (const std::string& line : DebugLogLines)
        out << "logged " << line.substr(13) << "\n";
    out << "items " << menu.actions().size() << "\n";
    out.close();
    std::_Exit(0);
}

// A plug-in that crashes in its InitPlugin used to end every start. Now it ends one: the
// marker it leaves keeps it out of the next starts, which say so once, until it is replaced.
TEST_F(PluginTest, ACrashingPluginEndsOneStartOnlyAndIsUsedAgainOnceReplaced) {
    GTEST_FLAG_SET(death_test_style, "fast");
    Copy("libplugin_crashes.so", "a.so");
    Copy("libplugin_two_items.so", "b.so");
    Options.doSeekPlugins = true;
    const std::string report = Home() + "start.txt";
    // A signal, or the sanitizer's own exit in the sanitizer build: any end but the child's.
    const auto crashed = [](int status) { return !(WIFEXITED(status) && WEXITSTATUS(status) == 0); };
    EXPECT_EXIT(StartInAChild(report), crashed, "");
    EXPECT_NE(test::ReadFileText(Home() + "_plugin_marker.txt").find(" a.so\n"), std::string::npos);

    const std::string skipped = "logged #plugin skipped: \"a.so\" ended an earlier start\n";
    const std::string message =
        "shown The plug-in \"a.so\" ended the last start of the program and is not "
        "loaded.\r\n\r\nReplace the file in the \"plugins\" folder to use it again.\n";
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        fs::remove(report);
        EXPECT_EXIT(StartInAChild(report), ::testing::ExitedWithCode(0), "");
        const std::string seen = test::ReadFileText(report);
        // The message once, at the first start after the crash; the "#" line at every start.
        EXPECT_EQ(seen.find(message) != std::string::npos, start == 0) << seen;
        EXPECT_NE(seen.find(skipped), std::string::npos) << seen;
        EXPECT_NE(seen.find("items 2\n"), std::string::npos) << seen; // the other plug-in runs
    }

    // The player puts a sound library in its place: it is loaded again, and nothing is noted.
    Copy("libplugin_two_items.so", "a.so");
    fs::remove(report);
    EXPECT_EXIT(StartInAChild(report), ::testing::ExitedWithCode(0), "");
    const std::string seen = test::ReadFileText(report);
    EXPECT_EQ(seen.find("shown "), std::string::npos) << seen;
    EXPECT_EQ(seen.find("#plugin"), std::string::npos) << seen;
    EXPECT_NE(seen.find("items 4\n"), std::string::npos) << seen;
    EXPECT_FALSE(fs::exists(Home() + "_plugin_marker.txt"));
}

TEST_F(MainWindowTest, PlugMenuSitsUnderOptionsAndStaysEmptyWithTheOptionOff) {
    TMain& main = Open();
    ASSERT_NE(main.pluginbtn, nullptr);
    EXPECT_TRUE(main.OptionsMnu->actions().contains(main.pluginbtn->menuAction()));
    // The text table's caption (the narrow board's menu may shorten its case).
    EXPECT_EQ(main.pluginbtn->title().compare(QString::fromStdString(UIText("0303")), Qt::CaseInsensitive), 0);
    EXPECT_TRUE(main.pluginbtn->actions().isEmpty());
}

} // namespace
} // namespace quorlet
