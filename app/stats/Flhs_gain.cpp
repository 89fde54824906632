#include "app/stats/Flhs_gain.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>

#include "app/FMain.h"
#include "app/secondary.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/mouseinput.h"
#include "core/uihooks.h"
#include "settings/options.h"
#include "stats/highscores.h"

namespace quorlet {

uint8_t LhsGainCreated = 0;

namespace {

constexpr int kClientWidth = 269;
constexpr int kClientHeight = 121;

} // namespace

Tlhs_gain::Tlhs_gain(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Tlhs_gain"));
    setFixedSize(kClientWidth, kClientHeight);
    imLogo = new QLabel(this);
    imLogo->setObjectName(QStringLiteral("imLogo"));
    imLogo->setGeometry(12, 16, 32, 32);
    imLogo->setPixmap(QPixmap::fromImage(Skins().faces[imf3].scaled(32, 32, Qt::KeepAspectRatio)));
    txt = new QPlainTextEdit(this);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setGeometry(52, 8, kClientWidth - 60, 70);
    txt->setReadOnly(true);
    txt->setFrameShape(QFrame::NoFrame);
    txt->setFocusPolicy(Qt::NoFocus);
    txt->setContextMenuPolicy(Qt::NoContextMenu);
    txt->setTextInteractionFlags(Qt::NoTextInteraction);
    txt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt->setStyleSheet(QStringLiteral("QPlainTextEdit { background: palette(button); font-size: 13px; }"));
    // The memo never takes keys, clicks, focus or a menu: they are dropped silently.
    txt->installEventFilter(this);
    txt->viewport()->installEventFilter(this);
    okBtn = new QPushButton(QStringLiteral("OK"), this);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    okBtn->setGeometry((kClientWidth - 75) / 2, kClientHeight - 34, 75, 25);
    okBtn->setDefault(true);
    connect(okBtn, &QPushButton::clicked, this, [this] { okBtnClick(); });
    UiHooks.ShowHighScoreNotice = [this](const std::string& text) {
        ShowNotice(QString::fromStdString(text));
    };
    LhsGainCreated = 1;
}

Tlhs_gain::~Tlhs_gain() {
    UiHooks.ShowHighScoreNotice = nullptr;
    LhsGainCreated = 0;
}

void Tlhs_gain::ShowNotice(const QString& text) {
    txt->setPlainText(text);
    // Centred lines, as the notice is laid out.
    QTextCursor all(txt->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
    if (TMain* main = MainWindow()) {
        const QRect m = main->frameGeometry();
        const QRect own = frameGeometry();
        TWindowRect r = HighScoreNoticePlace(TWindowRect{m.left(), m.top(), m.width(), m.height()},
                                             own.width(), own.height());
        // Over a narrow board the notice would start left of the screen, its text cut.
        if (const QScreen* s = main->screen() ? main->screen() : QGuiApplication::primaryScreen()) {
            const QRect area = s->availableGeometry();
            KeepInsideArea(r, TWindowRect{area.left(), area.top(), area.width(), area.height()});
        }
        move(r.Left, r.Top);
    }
    // The main window stays disabled until the notice hides; the high-score window that OK
    // opens disables it again.
    ShowSecondaryWindow(this);
}

void Tlhs_gain::okBtnClick() {
    if (!HighScoreNoticeMayProceed()) return;
    hide();
    if (UiHooks.ShowHighScoresWindow) UiHooks.ShowHighScoresWindow(1);
}

// Every way of closing (Esc, the boss key's close) comes here: it clicks OK first, and a
// notice whose OK refused still goes, its hide giving the main window back.
void Tlhs_gain::reject() {
    okBtnClick();
    hide();
}

void Tlhs_gain::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    okBtn->setFocus();
}

bool Tlhs_gain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txt || watched == txt->viewport()) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::FocusIn:
        case QEvent::ContextMenu: return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quorlet
