// Start-up pieces of the main window: the single-instance socket and the debug window's place.
#include <gtest/gtest.h>

#include <QDir>
#include <QScreen>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "app/Fdebug.h"
#include "app/firstpaint.h"
#include "platform/singleinstance.h"
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

} // namespace
} // namespace quorlet
