// The game program itself, started on a program folder that holds what a player's folder can
// hold after a mistake: it shows its window, keeps the player's settings and closes normally.
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/FData.h"
#include "oddfiles.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "testutil.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

class X11GameStartTest : public test::EngineTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X11 display";
        EngineTest::SetUp();
    }

    static QString Run(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(5000);
        return QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
    }

    // The game's main window once it is on screen: its title, and larger than the counters
    // window (which may carry the program's title for a moment while it is made).
    static QString MainWindowOf(qint64 pid) {
        const QStringList ids = Run({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--pid"), QString::number(pid)})
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& id : ids) {
            if (Run({QStringLiteral("getwindowname"), id}) != QStringLiteral("Minesweeper Quorlet")) continue;
            const QString geometry =
                Run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
            const int at = geometry.indexOf(QStringLiteral("HEIGHT="));
            if (at >= 0 && geometry.mid(at + 7).section(QLatin1Char('\n'), 0, 0).toInt() >= 100) return id;
        }
        return {};
    }

    // Starts the game on the test's program folder and waits for its main window; then closes
    // it with the game's own Alt+F4. False when no window showed within `seconds`.
    bool StartShowAndClose(int seconds, int& exitCode) {
        QProcess game;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORLET_HOME"), QString::fromStdString(Home()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        game.setProcessEnvironment(env);
        game.start(QStringLiteral(QUORLET_GAME_BINARY), {});
        exitCode = -1;
        if (!game.waitForStarted(5000)) return false;
        QString id;
        for (int tenth = 0; tenth < seconds * 10 && id.isEmpty(); ++tenth) {
            if (game.waitForFinished(100)) return false; // ended without a window
            id = MainWindowOf(game.processId());
        }
        if (id.isEmpty()) {
            game.kill();
            game.waitForFinished();
            return false;
        }
        Run({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
        Run({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("alt+F4")});
        if (!game.waitForFinished(10000)) {
            game.kill();
            game.waitForFinished();
            exitCode = -2;
            return true;
        }
        exitCode = game.exitStatus() == QProcess::NormalExit ? game.exitCode() : -3;
        return true;
    }
};

// A folder, a fifo, a link to /dev/zero or a huge file named "_counter_template.txt" stopped the
// start (exit status 1 after a second, no window) or kept the window from showing.
TEST_F(X11GameStartTest, AnythingInTheCountersTemplatesPlaceLetsTheGameShowItsWindow) {
    const std::string tmpl = Home() + "_counter_template.txt";
    const std::string settingsPath = Home() + kSettingsFileName;
    // The player's settings: no reminder box at the start, and a value to recognise.
    ApplyDefaultSettings();
    Options.doMarks = false;
    Options.CounterRefresh = 37;
    ASSERT_TRUE(SaveSettings());
    const std::string settings = test::ReadFileText(settingsPath);
    for (const test::TOddFile& c : test::OddFiles()) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(Home()))
            fs::remove_all(entry.path());
        std::ofstream(settingsPath, std::ios::binary) << settings;
        c.make(tmpl, Home());
        const auto kind = fs::symlink_status(tmpl).type();
        int exitCode = 0;
        if (!StartShowAndClose(10, exitCode)) {
            ADD_FAILURE() << "no window";
            continue;
        }
        EXPECT_EQ(exitCode, 0);
        const std::string protocol = test::ReadFileText(Home() + "_debug_protocol_last.txt");
        EXPECT_NE(protocol.find("#error loading counters template. applying default"), std::string::npos)
            << protocol;
        EXPECT_EQ(protocol.find("loading options"), std::string::npos) << protocol;
        EXPECT_NE(test::ReadFileText(settingsPath).find("\r\nCounterRefresh=37\r\n"), std::string::npos);
        for (const auto& entry : fs::directory_iterator(Home()))
            EXPECT_EQ(entry.path().filename().string().find("quorlet_backup_"), std::string::npos)
                << "the settings were moved aside";
        EXPECT_EQ(fs::symlink_status(tmpl).type(), kind);
    }
}

} // namespace
} // namespace quorlet
