// The main window's desktop commands: the program's folders, the help file, web pages and the
// feedback mail opened through the desktop, the mouse settings tool, the tray icon that a
// minimised window hides into, and the global boss key.
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <filesystem>

#include "app/FMain.h"
#include "app/programicon.h"
#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/shell.h"
#include "core/uihooks.h"
#include "kit/KitGlobalHotKey.h"
#include "kit/KitTimer.h"
#include "kit/KitTrayIcon.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

// Alt+F2 as the hot key stores it.
constexpr uint16_t kBossHotKey = 32881;

// Desktop tools that show the mouse settings, tried in this order.
const struct {
    const char* program;
    const char* argument;
} kMouseSettingsTools[] = {
    {"gnome-control-center", "mouse"}, {"cinnamon-settings", "mouse"}, {"systemsettings", "kcm_mouse"},
    {"xfce4-mouse-settings", nullptr}, {"mate-mouse-properties", nullptr}, {"lxqt-config-input", nullptr},
    {"lxinput", nullptr},
};

QString Text(const char* key, const char* fallback) {
    const std::string& text = UIText(key);
    return QString::fromStdString(text.empty() ? std::string(fallback) : text);
}

} // namespace

void TMain::BuildShellMenus() {
    feedbackBtn = HelpMnu->addAction(QString());
    HomepageBtn = HelpMnu->addAction(QString());
    HomepageBtn->setShortcut(Qt::Key_Home);
    CommunityBtn = HelpMnu->addMenu(QString());
    CommunitySite1 = CommunityBtn->addAction(QString());
    guestbookforumBtn = CommunityBtn->addAction(QString());
    CommunityRanking = CommunityBtn->addAction(QString());
    CommunitySite2 = CommunityBtn->addAction(QString());
    // The chat menu's item, shown under Help as well.
    HelpMnu->addAction(ircJoinBtn);
    traypopup = new QMenu(this);
    Exit1 = traypopup->addAction(QString());

    const std::pair<QObject*, const char*> names[] = {
        {feedbackBtn, "feedbackBtn"},       {HomepageBtn, "HomepageBtn"},
        {CommunityBtn, "CommunityBtn"},     {CommunitySite1, "CommunitySite1"},
        {guestbookforumBtn, "guestbookforumBtn"}, {CommunityRanking, "CommunityRanking"},
        {CommunitySite2, "CommunitySite2"},
        {traypopup, "traypopup"},           {Exit1, "Exit1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    const std::pair<QAction*, void (TMain::*)()> handlers[] = {
        {quoFoldBtn, &TMain::quoFoldBtnClick},
        {scrFoldBtn, &TMain::scrFoldBtnClick},
        {boardFoldBtn, &TMain::boardFoldBtnClick},
        {boardpresFoldBtn, &TMain::boardpresFoldBtnClick},
        {plugFoldBtn, &TMain::plugFoldBtnClick},
        {IndexBtn, &TMain::IndexBtnClick},
        {MouseCPL, &TMain::MouseCPLClick},
        {feedbackBtn, &TMain::feedbackBtnClick},
        {HomepageBtn, &TMain::HomepageBtnClick},
        {CommunitySite1, &TMain::CommunitySite1Click},
        {guestbookforumBtn, &TMain::guestbookforumBtnClick},
        {CommunityRanking, &TMain::CommunityRankingClick},
        {CommunitySite2, &TMain::CommunitySite2Click},
        {Exit1, &TMain::ExitBtnClick},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
}

void TMain::ApplyShellMenuCaptions() {
    feedbackBtn->setText(QStringLiteral("Send Feedback"));
    HomepageBtn->setText(QStringLiteral("Homepage"));
    CommunityBtn->setTitle(Text("0248", "Community Websites"));
    CommunitySite1->setText(QStringLiteral("Community site"));
    guestbookforumBtn->setText(QStringLiteral("Guestbook"));
    CommunityRanking->setText(QStringLiteral("Ranking"));
    CommunitySite2->setText(QStringLiteral("Players' site"));
    Exit1->setText(Text("0237", "Exit"));
}

void TMain::InstallShell() {
    // Every window without an icon of its own shows the application's.
    QApplication::setWindowIcon(ProgramIcon());
    UiHooks.ProgramIconFile = [] { return quorlet::ProgramIconFile(); };

    // Stored inactive: nothing is shown until the window is minimised.
    trayicon = new TKitTrayIcon(this);
    trayicon->setObjectName(QStringLiteral("trayicon"));
    // The stored properties in their published order, Active first: set while still active,
    // the icon and the tip would reach the desktop (and make it an icon object) for nothing.
    trayicon->SetActive(false);
    trayicon->SetIcon(ProgramIcon());
    trayicon->SetHint(QStringLiteral("Minesweeper Quorlet"));
    trayicon->SetPopupMenu(traypopup);
    trayicon->Interval = 1;
    trayicon->OnMouseDown = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, bool, int, int) {
        trayiconMouseDown(button);
    };
    trayicon->Loaded();

    // Grabbed only while the boss-key option is on (ApplyBossKeyOption).
    bossBtn = new TKitGlobalHotKey(this);
    bossBtn->setObjectName(QStringLiteral("bossBtn"));
    bossBtn->SetActive(false);
    bossBtn->OnKeyDown = [this](QObject*, uint16_t&, Qt::KeyboardModifiers) { boss_keyKeyDown(); };
    UiHooks.ApplyBossKeyOption = [] {
        if (TMain* m = MainWindow()) m->ApplyBossKeyOption();
    };
}

void TMain::ApplyBossKeyOption() {
    bossBtn->SetHotKey(kBossHotKey);
    bossBtn->SetActive(Options.doEnableBossKey);
    // While grabbed, the grab's event filter takes every press of the key, so the menu's own
    // Alt+F2 never sees it and one press toggles once.
    BossKeyCanRestore = bossBtn->Registered();
}

void TMain::boss_keyKeyDown() {
    ToggleBossKey();
}

// ---- Folders, help, links ----

void TMain::OpenProgramFolder(const std::string& sub) {
    const std::string folder = Options.LastPath + sub;
    std::error_code ec;
    // The desktop reports a missing folder late or not at all: look first.
    if (!std::filesystem::is_directory(std::filesystem::u8path(folder), ec) ||
        !QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)))) {
        DebugLog("#error: " + UIText("0293"));
        ShowMessageBox("Error: " + UIText("0293"));
    }
}

void TMain::quoFoldBtnClick() {
    OpenProgramFolder("");
}
void TMain::scrFoldBtnClick() {
    OpenProgramFolder("screenshots/");
}
void TMain::boardFoldBtnClick() {
    OpenProgramFolder("boards/");
}
void TMain::boardpresFoldBtnClick() {
    OpenProgramFolder("board_presets/");
}
void TMain::plugFoldBtnClick() {
    OpenProgramFolder("plugins/");
}

void TMain::IndexBtnClick() {
    const QString help = QString::fromStdString(Options.LastPath + "index.hlp");
    if (!QFileInfo(help).isFile()) {
        ShowMessageBox("File \"INDEX.HLP\" not found");
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(help));
    showMinimized();
}

void TMain::MouseCPLClick() {
    StopGameClock();
    for (const auto& tool : kMouseSettingsTools) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool.program));
        if (program.isEmpty()) continue;
        QStringList arguments;
        if (tool.argument) arguments << QString::fromLatin1(tool.argument);
        if (QProcess::startDetached(program, arguments)) return;
    }
    DebugLog("#no mouse settings tool found");
}

void TMain::OpenLink(const std::string& url, bool stopClock) {
    if (stopClock) StopGameClock();
    // Launch failures of links are not reported.
    QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode));
}

void TMain::HomepageBtnClick() {
    OpenLink(kHomepageUrl, true);
}
void TMain::feedbackBtnClick() {
    OpenLink(FeedbackMailUrl(Options.ReplayName), false);
}
void TMain::CommunitySite1Click() {
    OpenLink(kCommunitySite1Url, true);
}
void TMain::guestbookforumBtnClick() {
    OpenLink(kCommunityGuestbookUrl, true);
}
void TMain::CommunityRankingClick() {
    OpenLink(kCommunityRankingUrl, true);
}
void TMain::CommunitySite2Click() {
    OpenLink(kCommunitySite2Url, true);
}

// ---- Tray icon and minimising ----

void TMain::WindowStateChanged(Qt::WindowStates oldState) {
    const bool was = oldState & Qt::WindowMinimized;
    if (isMinimized() && !was)
        ApplicationEvents1Minimize();
    else if (!isMinimized() && was)
        ApplicationEvents1Restore();
}

void TMain::ApplicationEvents1Minimize() {
    trayicon->SetActive(true);
    // Standard levels keep running while minimised; a Custom game waits.
    if (!WaitingFirstClick && GameLevel == glCustom) DisableGameTimer();
}

void TMain::ApplicationEvents1Restore() {
    if (WaitingFirstClick || GameOver || GameLevel != glCustom || Options.doDisableTimer) return;
    EnableGameTimer();
    trayicon->SetActive(false);
}

void TMain::trayiconMouseDown(Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    trayicon->SetActive(false);
    showNormal();
    // Above the other programs' windows, as the stay-on-top switch does.
    raise();
    activateWindow();
}

} // namespace quorlet
