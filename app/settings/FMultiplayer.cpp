#include "app/settings/FMultiplayer.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextBlock>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/chatlog.h"

namespace quorlet {

namespace {

QString Text(const char* key) {
    return QString::fromStdString(UIText(key));
}

} // namespace

TMult::TMult(QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("TMult"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(2);
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    lName = new QLabel(this);
    eName = new QLineEdit(QStringLiteral("Sweeper_i_am"), this);
    eName->setMaxLength(16);
    lPort = new QLabel(this);
    sePort = new QSpinBox(this);
    sePort->setRange(1000, 9999);
    sePort->setValue(8765);
    lIP = new QLabel(this);
    eIP = new QLineEdit(QStringLiteral("127.0.0.1"), this);
    eIP->setMaxLength(16);
    HostBtn = new QPushButton(this);
    ConnectBtn = new QPushButton(this);
    DisconnectBtn = new QPushButton(this);
    eChat = new QLineEdit(QStringLiteral("chat_here"), this);
    eChat->setMaxLength(60);
    Memo = new QPlainTextEdit(this);
    const std::pair<QWidget*, const char*> names[] = {
        {lName, "lName"},       {eName, "eName"},     {lPort, "lPort"},           {sePort, "sePort"},
        {lIP, "lIP"},           {eIP, "eIP"},         {HostBtn, "HostBtn"},       {ConnectBtn, "ConnectBtn"},
        {DisconnectBtn, "DisconnectBtn"}, {eChat, "eChat"}, {Memo, "Memo"},
    };
    for (const auto& [w, name] : names) {
        named(w, name);
        column->addWidget(w);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{eName, sePort, eIP, HostBtn, ConnectBtn, DisconnectBtn, eChat}) {
        w->setEnabled(false);
        w->setBackgroundRole(QPalette::Button);
    }
    // The log stays enabled so that its menu can be reached, but takes no keys, clicks or focus.
    Memo->setReadOnly(true);
    Memo->setFocusPolicy(Qt::NoFocus);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->viewport()->setCursor(Qt::ArrowCursor);
    QFont small = Memo->font();
    small.setPixelSize(9);
    Memo->setFont(small);
    Memo->installEventFilter(this);
    Memo->viewport()->installEventFilter(this);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SaveBtn = PopupMenu1->addAction(QStringLiteral("Save Chat Log"));
    SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    connect(SaveBtn, &QAction::triggered, this, [this] { SaveBtnClick(); });
    setFixedSize(146, 296);

    ChooseSaveFile = [this](const QString& folder) {
        QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Save chat log"), folder,
                                                    QStringLiteral("Text Files (*.TXT *.txt);;Any File (*)"),
                                                    nullptr, QFileDialog::DontConfirmOverwrite);
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
        return name;
    };

    // FormCreate: the captions (ApplyTexts sets them again when the texts change).
    setWindowTitle(Text("0019"));
    lName->setText(Text("0013"));
    lPort->setText(Text("0012"));
    lIP->setText(Text("0014"));
    HostBtn->setText(Text("0015"));
    ConnectBtn->setText(Text("0016"));
    DisconnectBtn->setText(Text("0017"));
    UiHooks.ShowMultiplayerWindow = [this] { ShowWindow(); };
}

TMult::~TMult() {
    UiHooks.ShowMultiplayerWindow = nullptr;
}

void TMult::ShowWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    move(screen ? screen->availableGeometry().topLeft() : QPoint(0, 0));
    show();
    raise();
}

void TMult::SaveBtnClick() {
    try {
        const QString path = ChooseSaveFile ? ChooseSaveFile(QString::fromStdString(Options.LastPath)) : QString();
        if (path.isEmpty()) return;
        std::vector<std::string> lines;
        const QString text = Memo->toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split(QLatin1Char('\n')))
                lines.push_back(line.toStdString());
        SaveChatLog(path.toStdString(), lines);
    } catch (...) {
        DebugLog("#" + UIText("0290"));
        ShowMessageBox(UIText("0290"));
    }
}

void TMult::closeEvent(QCloseEvent* event) {
    StopGameClock();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->show();
    }
    event->accept();
}

bool TMult::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo || watched == Memo->viewport()) {
        switch (event->type()) {
        case QEvent::ContextMenu:
            PopupMenu1->popup(QCursor::pos());
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::FocusIn: return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorlet
