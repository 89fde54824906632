#include "app/settings/FAbout.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "app/secondary.h"
#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "core/shell.h"
#include "settings/about.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

// Our own logo: a mine on a grey cell, raised or pressed.
QPixmap Logo(bool pressed) {
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.fillRect(1, 1, 30, 30, QColor(0xC0, 0xC0, 0xC0));
    g.setPen(pressed ? QColor(0x80, 0x80, 0x80) : Qt::white);
    g.drawLine(1, 1, 30, 1);
    g.drawLine(1, 1, 1, 30);
    g.setPen(pressed ? Qt::white : QColor(0x80, 0x80, 0x80));
    g.drawLine(30, 1, 30, 30);
    g.drawLine(1, 30, 30, 30);
    const int d = pressed ? 1 : 0;
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 2));
    g.drawLine(9 + d, 16 + d, 23 + d, 16 + d);
    g.drawLine(16 + d, 9 + d, 16 + d, 23 + d);
    g.setBrush(Qt::black);
    g.drawEllipse(QPoint(16 + d, 16 + d), 6, 6);
    g.setBrush(Qt::white);
    g.setPen(Qt::NoPen);
    g.drawEllipse(QPoint(14 + d, 14 + d), 2, 2);
    return p;
}

QPixmap Picture(int w, int h, QColor colour) {
    QPixmap p(w, h);
    p.fill(colour);
    QPainter g(&p);
    g.setPen(colour.darker(150));
    for (int x = 0; x < w; x += 8)
        g.drawLine(x, 0, x, h);
    return p;
}

QLabel* MakeLabel(QWidget* parent, const char* name, QRect at, QColor colour, bool bold, int pixels) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(at);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(bold);
    f.setPixelSize(pixels);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

} // namespace

TAbout::TAbout(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TAbout"));
    setFixedSize(348, 453);
    iml2 = new QLabel(this);
    iml2->setObjectName(QStringLiteral("iml2"));
    iml2->setGeometry(8, 8, 32, 32);
    iml2->setPixmap(Logo(true));
    iml2->hide();
    iml1 = new QLabel(this);
    iml1->setObjectName(QStringLiteral("iml1"));
    iml1->setGeometry(8, 8, 32, 32);
    iml1->setPixmap(Logo(false));
    lname = MakeLabel(this, "lname", {48, 8, 252, 22}, QColor(0, 0, 0x80), true, 16);
    lVer = MakeLabel(this, "lVer", {48, 30, 252, 18}, Qt::black, false, 13);
    lcop = MakeLabel(this, "lcop", {8, 52, 332, 16}, Qt::black, false, 12);
    lAuth = MakeLabel(this, "lAuth", {8, 68, 332, 16}, QColor(0, 0x80, 0), true, 12);
    llink = MakeLabel(this, "llink", {8, 86, 332, 16}, QColor(0x80, 0, 0), true, 12);
    llink2 = MakeLabel(this, "llink2", {8, 104, 332, 16}, QColor(0, 0, 0x80), true, 12);
    for (QLabel* link : {llink, llink2}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    llink->setText(QString::fromLatin1(kAboutWebPage));
    llink2->setText(QString::fromLatin1(kFeedbackAddress));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(308, 10, 24, 16);
    Image2->setPixmap(Picture(24, 16, QColor(0x40, 0x80, 0xC0)));
    Bevel2 = new QFrame(this);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel2->setGeometry(4, 124, 76, 102);
    Bevel2->setToolTip(QStringLiteral("hello"));
    Image1 = new QLabel(Bevel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(3, 3, 70, 96);
    Image1->setPixmap(Picture(70, 96, QColor(0x90, 0xB0, 0x90)));
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setGeometry(84, 124, 260, 2);
    m = new QPlainTextEdit(this);
    m->setObjectName(QStringLiteral("m"));
    m->setGeometry(84, 130, 260, 290);
    m->setReadOnly(true);
    m->setFrameStyle(QFrame::NoFrame);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->viewport()->setCursor(Qt::ArrowCursor);
    m->setBackgroundRole(QPalette::Button);
    QFont memoFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    memoFont.setStyleHint(QFont::SansSerif);
    memoFont.setPixelSize(13);
    m->setFont(memoFont);
    // The memo shows no caret, selection or menu: keys, presses and the context menu are eaten.
    m->installEventFilter(this);
    m->viewport()->installEventFilter(this);
    m->setContextMenuPolicy(Qt::NoContextMenu);
    m->setFocusPolicy(Qt::NoFocus);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setGeometry(0, 425, 348, 28);
    ExitBtn = new QAction(QStringLiteral("q"), this);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    ExitBtn->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(ExitBtn);
    iml1->installEventFilter(this);
    iml2->installEventFilter(this);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(ExitBtn, &QAction::triggered, this, [this] { ExitBtnClick(); });
    OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    // FormCreate: the caption and the web link's hint.
    setWindowTitle(QString::fromStdString(UIText("0021")));
    llink->setToolTip(QString::fromLatin1(kAboutWebPage));
    UiHooks.ShowAboutWindow = [this] { ShowBox(); };
}

TAbout::~TAbout() {
    UiHooks.ShowAboutWindow = nullptr;
}

void TAbout::Fill(const TAboutTexts& t) {
    lVer->setText(QString::fromStdString(t.version));
    lname->setText(QString::fromStdString(t.name));
    lAuth->setText(QString::fromStdString(t.author));
    lcop->setText(QString::fromStdString(t.copyright));
    llink2->setToolTip(QString::fromStdString(t.mailHint));
    llink->setToolTip(QString::fromStdString(t.webHint));
    m->clear();
    for (const std::string& line : t.memo)
        m->appendPlainText(QString::fromStdString(line).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TAbout::ShowBox() {
    try {
        CenterFormOnMain(this);
        Fill(FillAboutBox());
        m->moveCursor(QTextCursor::Start);
        ShowSecondaryWindow(this);
        Button1->setFocus();
    } catch (...) {
        DebugLog("#about box not shown");
    }
}

void TAbout::ShowOrHideCounters() {
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

void TAbout::Button1Click() {
    try {
        StopGameClock();
        if (UiHooks.NewGame) UiHooks.NewGame();
        // Hiding gives the main window back (ShowSecondaryWindow).
        hide();
        ShowOrHideCounters();
    } catch (...) {
        DebugLog("#about box: new game failed");
    }
}

void TAbout::ExitBtnClick() {
    hide();
    ShowOrHideCounters();
}

void TAbout::llinkClick() {
    if (OpenUrl) OpenUrl(QUrl(QString::fromLatin1(kAboutWebPage)));
}

void TAbout::llink2Click() {
    // Already percent-encoded: taken as it is.
    if (OpenUrl) OpenUrl(QUrl(QString::fromStdString(AboutMailLink()), QUrl::StrictMode));
}

void TAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        ExitBtnClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TAbout::closeEvent(QCloseEvent* event) {
    // Only OK and Esc close the box.
    event->ignore();
}

bool TAbout::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m || watched == m->viewport()) {
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) return true;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::ContextMenu) {
            Button1->setFocus();
            return true;
        }
    }
    if (type == QEvent::MouseButtonPress && watched == llink) {
        llinkClick();
        return true;
    }
    if (type == QEvent::MouseButtonPress && watched == llink2) {
        llink2Click();
        return true;
    }
    // The logo looks pressed while the button is held.
    if (watched == iml1 && type == QEvent::MouseButtonPress) {
        iml2->show();
        iml1->hide();
        return true;
    }
    if ((watched == iml1 && type == QEvent::MouseButtonRelease) ||
        (watched == iml2 && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease))) {
        iml1->show();
        iml2->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorlet
