// The desktop commands of the main window (launch targets recorded through the desktop's URL
// handlers), the tray icon driven by its activation and the window's state, and the global
// hot key; the X11 cases run under xvfb-run.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/FMain.h"
#include "app/settings/FAbout.h"
#include "core/FData.h"
#include "core/shell.h"
#include "kit/KitGlobalHotKey.h"
#include "kit/KitTimer.h"
#include "kit/KitTrayIcon.h"
#include "platform/x11.h"
#include "stats/chatreports.h"
#include "testutil.h"
#include "ui/test_fmain_fixture.h"

#include <xcb/xcb.h>

namespace quorlet {

// Receives the URLs the desktop would open.
class TUrlRecorder : public QObject {
    Q_OBJECT

  public:
    std::vector<QUrl> urls;

  public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

namespace {

namespace fs = std::filesystem;

bool LoggedLine(const std::string& text) {
    for (const std::string& line : DebugLogLines)
        if (line.size() >= 13 && line.compare(13, std::string::npos, text) == 0) return true;
    return false;
}

class MainWindowShellTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        DebugWindowOn = 1;
        for (const char* scheme : {"file", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "Open");
    }
    void TearDown() override {
        for (const char* scheme : {"file", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        MainWindowTest::TearDown();
    }
    // A game under way: the first click made, the clock running.
    void StartGame(TMain& w) {
        QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(3, 3));
        if (GameOver) {
            w.NewBtnClick();
            QTest::mouseClick(w.box, Qt::LeftButton, {}, CellCentre(0, 0));
        }
    }
    TUrlRecorder recorder;
};

TEST_F(MainWindowShellTest, FoldersOpenThroughTheDesktopAndAMissingOneIsReported) {
    TMain& w = Open();
    for (const char* sub : {"screenshots", "boards", "board_presets", "plugins"})
        fs::create_directories(Home() + sub);
    const std::pair<QAction*, std::string> cases[] = {
        {w.quoFoldBtn, ""}, {w.scrFoldBtn, "screenshots/"}, {w.boardFoldBtn, "boards/"},
        {w.boardpresFoldBtn, "board_presets/"}, {w.plugFoldBtn, "plugins/"},
    };
    for (const auto& [action, sub] : cases) {
        recorder.urls.clear();
        action->trigger();
        ASSERT_EQ(recorder.urls.size(), 1u) << sub;
        EXPECT_EQ(recorder.urls[0], QUrl::fromLocalFile(QString::fromStdString(Home() + sub)));
    }
    EXPECT_TRUE(messages.empty());
    fs::remove_all(Home() + "plugins");
    recorder.urls.clear();
    w.plugFoldBtn->trigger();
    EXPECT_TRUE(recorder.urls.empty());
    EXPECT_EQ(messages, std::vector<std::string>{"Error: Cannot load folder"});
    EXPECT_TRUE(LoggedLine("#error: Cannot load folder"));
}

TEST_F(MainWindowShellTest, TheHelpFileOpensAndMinimisesOnlyWhenItExists) {
    TMain& w = Open();
    w.IndexBtn->trigger();
    EXPECT_EQ(messages, std::vector<std::string>{"File \"INDEX.HLP\" not found"});
    EXPECT_TRUE(recorder.urls.empty());
    EXPECT_FALSE(w.isMinimized());
    std::ofstream(Home() + "index.hlp") << "help";
    w.IndexBtn->trigger();
    ASSERT_EQ(recorder.urls.size(), 1u);
    EXPECT_EQ(recorder.urls[0].toLocalFile().toStdString(), Home() + "index.hlp");
    EXPECT_TRUE(w.isMinimized());
}

// Fault guarded: the ranking link opened "/ranking" instead of its fixed path.
TEST_F(MainWindowShellTest, LinksOpenTheirAddressesAndMostEndTheRunningGame) {
    TMain& w = Open();
    Options.ReplayName = "A&B #1?";
    const struct {
        QAction* action;
        std::string url;
        bool stopsClock;
    } cases[] = {
        {w.HomepageBtn, "https://quorlet.example.org/", true},
        {w.CommunitySite1, "https://community.example.org/minesweeper", true},
        {w.guestbookforumBtn, "https://community.example.org/guestbook", true},
        {w.CommunityRanking, "https://community.example.org/index.php?page=scores&menu=15", true},
        {w.CommunitySite2, "https://players.example.org/", true},
        {w.feedbackBtn,
         "mailto:feedback@quorlet.example.org?subject="
         "Minesweeper%20Quorlet%200.47%20feedback%20by%20A%26B%20%231%3F",
         false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.url);
        w.NewBtnClick();
        StartGame(w);
        ASSERT_TRUE(w.timer->Enabled());
        recorder.urls.clear();
        tc.action->trigger();
        ASSERT_EQ(recorder.urls.size(), 1u);
        EXPECT_EQ(recorder.urls[0].toEncoded().toStdString(), tc.url);
        EXPECT_EQ(w.timer->Enabled(), !tc.stopsClock);
    }
    const QUrl mail = recorder.urls.back();
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    const QString subject = QUrlQuery(mail).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded);
    EXPECT_TRUE(subject.endsWith(QStringLiteral("feedback by A&B #1?"))) << subject.toStdString();
    EXPECT_TRUE(w.HomepageBtn->shortcut() == QKeySequence(Qt::Key_Home));
}

TEST_F(MainWindowShellTest, TheChannelItemEndsTheGameAndShowsTheChannel) {
    TMain& w = Open();
    StartGame(w);
    w.ircJoinBtn->trigger();
    EXPECT_FALSE(w.timer->Enabled());
    EXPECT_EQ(messages, std::vector<std::string>{ChatChannelInfoText()});
    EXPECT_NE(messages[0].find("port: 6667\r\nchannel: #minesweeper"), std::string::npos);
}

// Set while the icon was still active, the stored icon and tip made the desktop's icon object
// at every start (a session-bus round trip before the first paint), and the menu bar asked the
// desktop for a global menu: neither is needed until the window is minimised or ever.
TEST_F(MainWindowShellTest, TheStartMakesNoTrayObjectAndKeepsTheMenuInTheWindow) {
    TMain& w = Open();
    EXPECT_FALSE(w.trayicon->Active());
    EXPECT_EQ(w.trayicon->findChild<QSystemTrayIcon*>(), nullptr);
    EXPECT_FALSE(w.menuBar()->isNativeMenuBar());
    // The stored properties are still there for the first minimising.
    EXPECT_FALSE(w.trayicon->Icon().isNull());
    EXPECT_EQ(w.trayicon->Hint(), QStringLiteral("Minesweeper Quorlet"));
}

TEST_F(MainWindowShellTest, AMinimisedCustomGameWaitsInTheTrayAndResumesFromIt) {
    TMain& w = Open();
    w.trayicon->TrayAvailable = [] { return true; };
    StartGame(w);
    GameLevel = glCustom;
    EXPECT_FALSE(w.trayicon->Active());
    w.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.trayicon->Active());
    EXPECT_FALSE(w.isVisible()); // hidden into the tray
    EXPECT_FALSE(w.timer->Enabled());
    // A right click only opens the menu; a left click brings the window back.
    emit w.trayicon->NotifyIconObject()->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(w.trayicon->Active());
    emit w.trayicon->NotifyIconObject()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(w.trayicon->Active());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.timer->Enabled());
    // A second left click changes nothing.
    emit w.trayicon->NotifyIconObject()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.traypopup->actions(), QList<QAction*>{w.Exit1});
    EXPECT_EQ(w.Exit1->text(), QStringLiteral("Exit"));
}

TEST_F(MainWindowShellTest, AnExpertGameRunsOnMinimisedAndTheIconStaysUntilClicked) {
    TMain& w = Open();
    w.trayicon->TrayAvailable = [] { return true; };
    w.ExpertBtnClick();
    StartGame(w);
    w.showMinimized();
    EXPECT_TRUE(w.timer->Enabled());
    // Restored by other means than the icon: the icon stays.
    w.showNormal();
    EXPECT_TRUE(w.trayicon->Active());
    EXPECT_TRUE(w.timer->Enabled());
    emit w.trayicon->NotifyIconObject()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(w.trayicon->Active());
}

TEST_F(MainWindowShellTest, WithoutANotificationAreaTheWindowOnlyMinimises) {
    TMain& w = Open();
    w.trayicon->TrayAvailable = [] { return false; };
    w.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.trayicon->Active());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
}

// ---- The kit components on their own ----

class TFrames : public TKitTrayFrameSource {
  public:
    std::vector<int> counts;
    int ItemCount() const override { return static_cast<int>(counts.size()); }
    int FrameCount(int item) const override { return counts[item]; }
    QIcon Frame(int, int frame) const override {
        QPixmap p(16, 16);
        p.fill(QColor(frame * 40, 0, 0));
        return QIcon(p);
    }
};

TEST(KitTrayIcon, SettersActOnlyOnChangeAndTheTipIsCut) {
    QWidget owner;
    TKitTrayIcon icon(&owner);
    icon.SetActive(false);
    icon.Loaded();
    EXPECT_FALSE(icon.NotifyIconObject()->isVisible());
    icon.SetActive(false);
    icon.SetHint(QString(80, QLatin1Char('x')));
    EXPECT_EQ(icon.Hint().size(), 80);
    icon.SetActive(true);
    EXPECT_TRUE(icon.IsHooked());
    EXPECT_EQ(icon.NotifyIconObject()->toolTip().size(), 63);
    icon.SetActive(true);
    EXPECT_TRUE(icon.IsHooked());
    icon.SetActive(false);
    EXPECT_FALSE(icon.IsHooked());

    // Events of each activation, in order.
    std::vector<std::string> events;
    icon.OnClick = [&](QObject*) { events.push_back("click"); };
    icon.OnDblClick = [&](QObject*) { events.push_back("dbl"); };
    icon.OnPopUp = [&](QObject*) { events.push_back("popup"); };
    icon.OnMouseDown = [&](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, bool dbl, int, int) {
        events.push_back("down" + std::to_string(int(b)) + (dbl ? "d" : ""));
    };
    icon.OnMouseUp = [&](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, bool, int, int) {
        events.push_back("up" + std::to_string(int(b)));
    };
    icon.IconActivated(QSystemTrayIcon::Trigger);
    icon.IconActivated(QSystemTrayIcon::DoubleClick);
    icon.IconActivated(QSystemTrayIcon::Context); // no menu: no popup event
    QMenu menu;
    icon.SetPopupMenu(&menu);
    icon.IconActivated(QSystemTrayIcon::Context);
    icon.IconActivated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(events, (std::vector<std::string>{"down1", "click", "up1", "dbl", "down1d", "down2", "click", "up2",
                                                "down2", "popup", "click", "up2", "down4", "click", "up4"}));
}

TEST(KitTrayIcon, TheAnimationWrapsAndSkipsAnItemWithoutFrames) {
    QWidget owner;
    TKitTrayIcon icon(&owner);
    TFrames frames;
    frames.counts = {3, 0};
    icon.AnimateStep(); // no frame source: nothing
    EXPECT_EQ(icon.FrameIndex(), 0);
    icon.SetImageList(&frames);
    for (int expected : {1, 2, 0, 1}) {
        icon.AnimateStep();
        EXPECT_EQ(icon.FrameIndex(), expected);
    }
    icon.ListIndex = 1; // no frames
    icon.AnimateStep();
    EXPECT_EQ(icon.FrameIndex(), 1);
    icon.ListIndex = 5; // out of range
    icon.AnimateStep();
    EXPECT_EQ(icon.FrameIndex(), 1);
    // The timer seam: made with Animated, threaded only in tmThreaded, gone when stopped.
    EXPECT_EQ(icon.AnimationTimer(), nullptr);
    icon.SetTimerMode(TKitTimerMode::tmThreaded);
    icon.SetAnimated(true);
    ASSERT_NE(icon.AnimationTimer(), nullptr);
    EXPECT_TRUE(icon.AnimationTimer()->UseThread());
    EXPECT_EQ(icon.AnimationTimer()->Interval(), 200u);
    icon.SetAnimated(false);
    EXPECT_EQ(icon.AnimationTimer(), nullptr);
}

TEST(KitGlobalHotKey, TheShortcutSplitsIntoF2AndAltAndEachInstanceHasItsOwnId) {
    uint16_t key = 0;
    Qt::KeyboardModifiers shift;
    TKitGlobalHotKey::SplitShortcut(32881, key, shift);
    EXPECT_EQ(key, 0x71);
    EXPECT_EQ(shift, Qt::AltModifier);
    TKitGlobalHotKey::SplitShortcut(0x6000 | 'Q', key, shift);
    EXPECT_EQ(key, 'Q');
    EXPECT_EQ(shift, Qt::ShiftModifier | Qt::ControlModifier);

    TKitGlobalHotKey a, b;
    EXPECT_NE(a.HotKeyId(), b.HotKeyId());
    std::vector<std::pair<uint16_t, Qt::KeyboardModifiers>> presses;
    a.OnKeyDown = [&](QObject* sender, uint16_t& k, Qt::KeyboardModifiers s) {
        EXPECT_EQ(sender, &a);
        presses.emplace_back(k, s);
    };
    a.SetHotKey(32881);
    a.HotKeyPressed();
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].first, 0x71);
    EXPECT_EQ(presses[0].second, Qt::AltModifier);
}

TEST(KitGlobalHotKey, OffX11RegistrationFailsWithALogLineAndAZeroKeyGrabsNothing) {
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) GTEST_SKIP() << "X11 can grab";
    ResetGlobals();
    DebugWindowOn = 1;
    TKitGlobalHotKey key;
    key.SetActive(false);
    key.SetActive(true); // HotKey 0: nothing to grab, nothing logged
    EXPECT_TRUE(DebugLogLines.empty());
    key.SetHotKey(32881);
    EXPECT_FALSE(key.Registered());
    EXPECT_EQ(key.LastError(), "no X11 display");
    EXPECT_TRUE(LoggedLine("#global hot key 32881 not registered: no X11 display"));
    ResetGlobals();
}

// ---- X11 ----

class X11BossKeyTest : public MainWindowShellTest {
  protected:
    void SetUp() override {
        MainWindowShellTest::SetUp();
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X11 display";
    }
    static bool PressAltF2() {
        return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+F2")}) == 0;
    }
};

TEST_F(X11BossKeyTest, AltF2HidesAndRestoresTheWindowOnlyWhileTheBossKeyIsOn) {
    Options.doEnableBossKey = true;
    TMain& w = Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.ApplyBossKeyOption();
    ASSERT_TRUE(w.bossBtn->Registered()) << w.bossBtn->LastError();
    EXPECT_TRUE(w.BossKeyCanRestore);
    ASSERT_TRUE(PressAltF2());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 3000));
    EXPECT_EQ(BossKeyHidden, 1);
    ASSERT_TRUE(PressAltF2());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isVisible(); }, 3000));
    EXPECT_EQ(BossKeyHidden, 0);

    Options.doEnableBossKey = false;
    w.ApplyBossKeyOption();
    EXPECT_FALSE(w.bossBtn->Registered());
    EXPECT_FALSE(w.BossKeyCanRestore);
    ASSERT_TRUE(PressAltF2());
    QTest::qWait(300);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(BossKeyHidden, 0);
}

// A window manager's close request (WM_DELETE_WINDOW), as the close box or Alt+F4 send it.
void AskToClose(QWidget& window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : 0;
        free(reply);
        return a;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, event.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(c);
    xcb_disconnect(c);
}

// The boss key closed every window, and the About box refuses a close: it stayed on screen.
TEST_F(X11BossKeyTest, AltF2HidesTheAboutBoxWhichStillRefusesThePlayersClose) {
    Options.doEnableBossKey = true;
    TMain& w = Open();
    TAbout about;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.ApplyBossKeyOption();
    ASSERT_TRUE(w.bossBtn->Registered()) << w.bossBtn->LastError();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_F1);
    ASSERT_TRUE(about.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_FALSE(w.isEnabled());
    AskToClose(about);
    QTest::qWait(300);
    EXPECT_TRUE(about.isVisible()) << "the player's close is refused";

    ASSERT_TRUE(PressAltF2());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 3000));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(BossKeyHidden, 1);
    ASSERT_TRUE(PressAltF2());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isVisible(); }, 3000));
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(X11BossKeyTest, AKeyAnotherClientHoldsFailsWithTheLogLine) {
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(other));
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(other)).data;
    TKitGlobalHotKey probe;
    probe.SetHotKey(32881); // find F2's keycode by grabbing once ourselves
    ASSERT_TRUE(probe.Registered()) << probe.LastError();
    probe.SetHotKey(0);
    // The other client takes Alt+F2 for every keycode it could be.
    for (int code = 8; code < 256; ++code)
        xcb_grab_key(other, 1, screen->root, XCB_MOD_MASK_1, static_cast<xcb_keycode_t>(code), XCB_GRAB_MODE_ASYNC,
                     XCB_GRAB_MODE_ASYNC);
    free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr));
    TKitGlobalHotKey key;
    key.SetHotKey(32881);
    EXPECT_FALSE(key.Registered());
    EXPECT_TRUE(LoggedLine("#global hot key 32881 not registered: the key is held by another program"));
    xcb_disconnect(other);
}

} // namespace
} // namespace quorlet

#include "test_fmain_shell.moc"
