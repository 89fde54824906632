// Start-up pieces of the main window: the single-instance socket and the debug window's place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "app/Fdebug.h"
#include "platform/singleinstance.h"
#include "settings/settingsfile.h"
#include "test_fmain_fixture.h"

namespace quorlet {
namespace {

TEST_F(MainWindowTest, ASecondClaimLeavesTheLiveInstancesSocketAlone) {
    // Guards against the claim deleting the socket of an instance that answers: two starts at
    // once would each take the name, and neither would see the other again.
    const QString title = QStringLiteral("Quorlet claim test");
    const QString folder = QString::fromStdString(Home());
    TSingleInstance first, second;
    ASSERT_TRUE(first.Claim(title, folder));
    EXPECT_FALSE(second.Claim(title, folder));
    EXPECT_TRUE(TSingleInstance::IsRunning(title, folder));
    first.Release();
    EXPECT_FALSE(TSingleInstance::IsRunning(title, folder));

    // A crashed instance's socket file, bound once and never listened on, is taken over.
    const QByteArray path =
        (QDir::tempPath() + QLatin1Char('/') + TSingleInstance::ServerName(title, folder)).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    EXPECT_TRUE(second.Claim(title, folder));
    EXPECT_TRUE(TSingleInstance::IsRunning(title, folder));
}

TEST_F(MainWindowTest, DebugWindowOpensCentredAndInsideTheScreen) {
    TMain& main = Open();
    Tdebug debug(&main);
    const QRect screen = main.screen()->geometry();
    // Near the right edge the window is pushed back to end at it; in the middle it is centred.
    for (const QPoint at : {QPoint(screen.width() - main.frameGeometry().width(), 100), QPoint(200, 100)}) {
        SCOPED_TRACE(at.x());
        main.move(at);
        main.setEnabled(true);
        main.ShowDebugProtocol1Click();
        const QRect frame = debug.frameGeometry();
        const QRect m = main.frameGeometry();
        const int centred = m.left() + m.width() / 2 - frame.width() / 2;
        EXPECT_EQ(frame.left(), std::clamp(centred, 0, screen.width() - frame.width()));
        EXPECT_LE(frame.right(), screen.right());
        EXPECT_GE(frame.top(), 0);
        EXPECT_FALSE(main.isEnabled());
        debug.hide();
    }
    main.setEnabled(true);
}

// Plug-ins load while the main window is made, before the debug window exists: their lines
// were dropped. They show in the window, older than its start-up report.
TEST_F(MainWindowTest, PluginLinesLoggedBeforeTheDebugWindowExistsShowInIt) {
    Options.doSeekPlugins = true;
    SaveSettings();
    std::filesystem::create_directories(Home() + "plugins");
    std::filesystem::copy_file(std::string(QUORLET_TEST_PLUGIN_DIR) + "/libplugin_throws.so",
                               Home() + "plugins/c.so");
    TMain& main = Open();
    Tdebug debug(&main);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &main, Qt::Key_D);
    ASSERT_TRUE(debug.isVisible());
    QStringList shown = debug.dm->toPlainText().split(QLatin1Char('\n'));
    for (QString& line : shown)
        line = line.mid(13);
    const qsizetype report = shown.indexOf(QStringLiteral("path      | ") + QString::fromStdString(Home()));
    const qsizetype failed = shown.indexOf(QStringLiteral("#plugins load error"));
    const qsizetype searching = shown.indexOf(QStringLiteral("searching plugins..."));
    ASSERT_GE(report, 0);
    EXPECT_GT(failed, report);
    EXPECT_GT(searching, failed);
    main.setEnabled(true);
}

} // namespace
} // namespace quorlet
