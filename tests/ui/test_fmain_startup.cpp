// Start-up pieces of the main window: the single-instance socket and the debug window's place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Fdebug.h"
#include "app/firstpaint.h"
#include "platform/singleinstance.h"
#include "settings/settingsfile.h"
#include "stats/gamerecord.h"
#include "stats/historyfile.h"
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

// Only five names were cleaned, and at once: a kill's temporary of any other file stayed for
// good. The start removes them all, once the instance lock says no other instance may be writing.
TEST_F(MainWindowTest, TheStartRemovesTheTemporariesOfInterruptedWritesWhenAlone) {
    namespace fs = std::filesystem;
    fs::create_directories(Home() + "replays");
    const std::vector<std::string> temporaries = {Home() + "._autosave_template.txt.x9Y8z7.quorlet-tmp",
                                                  Home() + "replays/.beg_7.qvf.abcdef.quorlet-tmp",
                                                  Home() + ".stats_csv.html.tmp.Ab12Cd"};
    for (const std::string& path : temporaries)
        std::ofstream(path) << "half";
    {
        // An instance that allows company runs on this folder: a fresh temporary may be its own.
        TSingleInstance other;
        ASSERT_TRUE(other.Claim(QStringLiteral("Minesweeper Quorlet "), QString::fromStdString(Home())));
        Open();
        for (const std::string& path : temporaries)
            EXPECT_TRUE(fs::exists(path)) << path;
        window.reset();
    }
    Open();
    for (const std::string& path : temporaries)
        EXPECT_FALSE(fs::exists(path)) << path;
}

// A damaged "stats.dat" larger than the table was copied before the window showed: the start
// waited for the disk. The copy is made once the window is on screen.
TEST_F(MainWindowTest, AHugeDamagedHistoryIsCopiedOnlyOnceTheWindowIsShown) {
    namespace fs = std::filesystem;
    std::ofstream(Home() + "stats.dat") << "not a record";
    fs::resize_file(Home() + "stats.dat", 20'000'003);
    auto copies = [this] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(Home()))
            n += entry.path().filename().string().rfind("stats_corrupt_", 0) == 0;
        return n;
    };
    window = std::make_unique<TMain>(QString());
    EXPECT_EQ(copies(), 0);
    EXPECT_EQ(fs::file_size(Home() + "stats.dat"), 20'000'003u);
    window->show();
    for (int wait = 0; wait < 200 && copies() == 0; ++wait)
        QTest::qWait(50);
    EXPECT_EQ(copies(), 1);
    EXPECT_EQ(fs::file_size(Home() + "stats.dat"), 0u);
    EXPECT_EQ(messages, std::vector<std::string>{"History file manual corruption detected"});
}

// The window's own cursor picture was read by the picture reader from "cursor.bmp": a fifo of
// that name stopped the start before the window existed.
TEST_F(MainWindowTest, AFifoOrAHugeFileNamedCursorBmpLeavesTheBuiltInCursor) {
    namespace fs = std::filesystem;
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "a fifo" : "a huge file");
        fs::remove(Home() + "cursor.bmp");
        if (fifo) {
            ASSERT_EQ(::mkfifo((Home() + "cursor.bmp").c_str(), 0600), 0);
        } else {
            std::ofstream(Home() + "cursor.bmp") << "BM";
            fs::resize_file(Home() + "cursor.bmp", uintmax_t{1} << 30);
        }
        Open();
        ASSERT_NE(window->Cur, nullptr);
        EXPECT_FALSE(window->Cur->pixmap().isNull());
        window.reset();
    }
}

// The program's start paints its window before it reads the history, and reads it before any
// input: without the split the first paint waited for a full "stats.dat" to be decoded.
TEST_F(MainWindowTest, APaintFirstStartPaintsTheWindowThenReadsTheHistory) {
    {
        std::ofstream out(Home() + "stats.dat", std::ios::binary);
        TGameRecord r;
        r.day = 3, r.month = 4, r.year = 2026, r.level = 1, r.timeSec = 20, r.bbbv = 30;
        for (int i = 0; i < 2; ++i) {
            const THistoryFileRecord bytes = EncodeHistoryRecord(r);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
    }
    window = std::make_unique<TMain>(QStringLiteral("debugmode"), nullptr, TMain::TStartupPaint::PaintFirst);
    ASSERT_TRUE(window->StartedUp());
    EXPECT_EQ(HistoryRecordCount(), 0u);
    EXPECT_EQ(DebugModeFlag, 0) << "the command line comes after the history";

    struct TPaints : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++count;
            return false;
        }
    } paints;
    window->installEventFilter(&paints);
    ShowAndAwaitFirstPaint(window.get());
    window->removeEventFilter(&paints);
    EXPECT_TRUE(window->isVisible());
    EXPECT_GE(paints.count, 1);

    window->FinishStartup();
    EXPECT_EQ(HistoryRecordCount(), 2u);
    EXPECT_EQ(LevelGameCounts[1], 2u);
    EXPECT_EQ(DebugModeFlag, 1);
    window->FinishStartup(); // once only
    EXPECT_EQ(HistoryRecordCount(), 2u);
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
