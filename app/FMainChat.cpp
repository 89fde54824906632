// The main window's chat submenu: each report is built by the engine and copied; the menu
// only asks for the game number and keeps the style and silent-mode check marks.
#include <QAction>
#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>

#include <exception>

#include "app/FMain.h"
#include "core/FData.h"
#include "core/debuglog.h"
#include "settings/FCap.h"
#include "stats/chatformat.h"
#include "stats/chatreports.h"
#include "stats/gamerecord.h"

namespace quorlet {

namespace {

QString Text(const char* key) {
    return QString::fromStdString(UIText(key));
}

// Runs a menu command; nothing it throws leaves the slot.
template <typename F> void Guarded(const char* what, F&& command) {
    try {
        command();
    } catch (const std::exception& e) {
        DebugLog(std::string("#") + what + ": " + e.what());
    } catch (...) {
        DebugLog(std::string("#") + what + ": unknown error");
    }
}

} // namespace

void TMain::BuildChatMenu() {
    IRCbtn = OptionsMnu->addMenu(Text("0267"));
    auto item = [this](const QString& caption, const char* name, void (TMain::*handler)(),
                       QMenu* menu = nullptr) {
        QAction* action = (menu ? menu : IRCbtn)->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    IRCLastGameInfoBtn = item(Text("0268"), "IRCLastGameInfoBtn", &TMain::IRCLastGameInfoBtnClick);
    IRCLastGameInfoBtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    IRCNGameInfoBtn = item(Text("0274"), "IRCNGameInfoBtn", &TMain::IRCNGameInfoBtnClick);
    IRCTimeRecordsInfoBtn = item(Text("0347"), "IRCTimeRecordsInfoBtn", &TMain::IRCTimeRecordsInfoBtnClick);
    IRC3BVSRecordsInfoBtn = item(Text("0348"), "IRC3BVSRecordsInfoBtn", &TMain::IRC3BVSRecordsInfoBtnClick);
    IRCAVGSInfoBtn = item(Text("0349"), "IRCAVGSInfoBtn", &TMain::IRCAVGSInfoBtnClick);
    IRCTodayBEGInfoBtn = item(Text("0350"), "IRCTodayBEGInfoBtn", &TMain::IRCTodayBEGInfoBtnClick);
    IRCTodayINTInfoBtn = item(Text("0351"), "IRCTodayINTInfoBtn", &TMain::IRCTodayINTInfoBtnClick);
    IRCTodayEXPInfoBtn = item(Text("0352"), "IRCTodayEXPInfoBtn", &TMain::IRCTodayEXPInfoBtnClick);
    IRCbtn->addSeparator();
    ircoutputfrmtBtn = IRCbtn->addMenu(Text("0353"));
    ircoutputfrmtBtn->setObjectName(QStringLiteral("ircoutputfrmtBtn"));
    ircfrmtmircBtn =
        item(QStringLiteral("mIRC"), "ircfrmtmircBtn", &TMain::ircfrmtmircBtnClick, ircoutputfrmtBtn);
    ircfrmtCGIBtn =
        item(QStringLiteral("CGI"), "ircfrmtCGIBtn", &TMain::ircfrmtCGIBtnClick, ircoutputfrmtBtn);
    ircfrmtTXTBtn =
        item(QStringLiteral("TXT"), "ircfrmtTXTBtn", &TMain::ircfrmtTXTBtnClick, ircoutputfrmtBtn);
    auto* styles = new QActionGroup(this);
    for (QAction* a : {ircfrmtmircBtn, ircfrmtCGIBtn, ircfrmtTXTBtn}) {
        a->setCheckable(true);
        styles->addAction(a);
    }
    IRCsilentmodeBtn = item(Text("0375"), "IRCsilentmodeBtn", &TMain::IRCsilentmodeBtnClick);
    IRCsilentmodeBtn->setCheckable(true);
    IRCbtn->addSeparator();
    ircJoinBtn = item(QStringLiteral("Join #minesweeper channel"), "ircJoinBtn", &TMain::ircJoinBtnClick);
    IRCbtn->setObjectName(QStringLiteral("IRCbtn"));
    // The settings are read after the menus are built: the marks follow them when shown.
    connect(IRCbtn, &QMenu::aboutToShow, this, [this] { SyncChatMenuChecks(); });
    SyncChatMenuChecks();
    AskGameNumber = [this](const QString& defaultText) {
        bool ok = false;
        const QString answer = QInputDialog::getText(this, QStringLiteral("Request"),
                                                     QStringLiteral("Please, type in a game number:"),
                                                     QLineEdit::Normal, defaultText, &ok);
        return ok ? answer : defaultText;
    };
}

void TMain::SyncChatMenuChecks() {
    ircfrmtmircBtn->setChecked(Options.doIRCtype == ifMirc);
    ircfrmtCGIBtn->setChecked(Options.doIRCtype == ifCgi);
    ircfrmtTXTBtn->setChecked(Options.doIRCtype == ifTxt);
    IRCsilentmodeBtn->setChecked(Options.cbSilentMode);
}

void TMain::IRCLastGameInfoBtnClick() {
    Guarded("last game report", [] { CopyLastGameReport(); });
}

void TMain::IRCNGameInfoBtnClick() {
    Guarded("game report", [this] {
        const QString count = QString::number(HistoryRecordCount());
        const QString answer = AskGameNumber ? AskGameNumber(count) : count;
        CopyGameReportByNumber(answer.toStdString());
    });
}

void TMain::IRCTimeRecordsInfoBtnClick() {
    Guarded("time records report", [] { CopyRecordsReport(true); });
}

void TMain::IRC3BVSRecordsInfoBtnClick() {
    Guarded("3BV/s records report", [] { CopyRecordsReport(false); });
}

void TMain::IRCAVGSInfoBtnClick() {
    Guarded("averages report", [] { CopyAveragesReport(); });
}

void TMain::IRCTodayBEGInfoBtnClick() {
    Guarded("today report", [] { CopyTodayReport(glBeginner); });
}

void TMain::IRCTodayINTInfoBtnClick() {
    Guarded("today report", [] { CopyTodayReport(glIntermediate); });
}

void TMain::IRCTodayEXPInfoBtnClick() {
    Guarded("today report", [] { CopyTodayReport(glExpert); });
}

void TMain::ircfrmtmircBtnClick() {
    Options.doIRCtype = ifMirc;
    SyncChatMenuChecks();
}

void TMain::ircfrmtCGIBtnClick() {
    Options.doIRCtype = ifCgi;
    SyncChatMenuChecks();
}

void TMain::ircfrmtTXTBtnClick() {
    Options.doIRCtype = ifTxt;
    SyncChatMenuChecks();
}

void TMain::IRCsilentmodeBtnClick() {
    Options.cbSilentMode = !Options.cbSilentMode;
    SyncChatMenuChecks();
}

void TMain::ircJoinBtnClick() {
    Guarded("channel information", [] { ShowChatChannelInfo(); });
}

} // namespace quorlet
