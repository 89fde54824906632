#include "app/FProgressBar.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QSlider>
#include <QToolButton>

#include "app/FMain.h"
#include "core/FData.h"
#include "core/playback.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/options.h"

namespace quorlet {

namespace {

TProgressBar* gProgressBar = nullptr;

constexpr int kClientWidth = 503;
constexpr int kClientHeight = 30;

enum class TGlyph { Restart, Pause, Stop };

// Our own button pictures: play-from-start, pause bars and a stop square.
QPixmap Glyph(TGlyph kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    switch (kind) {
    case TGlyph::Restart:
        p.drawRect(3, 3, 2, 10);
        p.drawPolygon(QPolygon({QPoint(6, 3), QPoint(13, 8), QPoint(6, 13)}));
        break;
    case TGlyph::Pause:
        p.drawRect(4, 3, 3, 10);
        p.drawRect(9, 3, 3, 10);
        break;
    case TGlyph::Stop: p.drawRect(4, 4, 8, 8); break;
    }
    return pixmap;
}

QToolButton* FlatButton(QWidget* parent, TGlyph glyph, int left) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(QIcon(Glyph(glyph)));
    button->setGeometry(left, 3, 24, 24);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Both track bars move by their key handlers only (a line size of 0).
QSlider* TrackBar(QWidget* parent, int left, int width) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setGeometry(left, 3, width, 24);
    slider->setSingleStep(0);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

} // namespace

TProgressBar* ProgressBarWindow() {
    return gProgressBar;
}

TProgressBar::TProgressBar(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    gProgressBar = this;
    setObjectName(QStringLiteral("TProgressBar"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kClientWidth, kClientHeight);

    RestartBtn = FlatButton(this, TGlyph::Restart, 2);
    PauseBtn = FlatButton(this, TGlyph::Pause, 27);
    StopBtn = FlatButton(this, TGlyph::Stop, 52);
    trSpeed = TrackBar(this, 80, 120);
    trSpeed->setRange(kSlowestSpeed, kFastestSpeed);
    trSpeed->setTickInterval(10);
    lSpeed = new QLabel(this);
    lSpeed->setGeometry(202, 3, 44, 24);
    trProgress = TrackBar(this, 250, 196);
    trProgress->setRange(0, 0);
    trProgress->setTickInterval(100);
    lProgress = new QLabel(this);
    lProgress->setGeometry(448, 3, 52, 24);
    lProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const std::pair<QObject*, const char*> names[] = {
        {RestartBtn, "RestartBtn"}, {PauseBtn, "PauseBtn"}, {StopBtn, "StopBtn"},
        {trSpeed, "trSpeed"},       {lSpeed, "lSpeed"},     {trProgress, "trProgress"},
        {lProgress, "lProgress"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    connect(RestartBtn, &QToolButton::clicked, this, [this] { RestartBtnClick(); });
    connect(PauseBtn, &QToolButton::clicked, this, [this] { PauseBtnClick(); });
    connect(StopBtn, &QToolButton::clicked, this, [this] { StopBtnClick(); });
    connect(trSpeed, &QSlider::valueChanged, this, [this] { trSpeedChange(); });
    connect(trProgress, &QSlider::valueChanged, this, [this] { trProgressChange(); });
    trSpeed->installEventFilter(this);
    trProgress->installEventFilter(this);

    InstallHooks();
    FormCreate();
}

TProgressBar::~TProgressBar() {
    if (gProgressBar == this) gProgressBar = nullptr;
    ProgressBarReady = 0;
}

void TProgressBar::InstallHooks() {
    UiHooks.SetupProgressBar = [](int32_t maximum) {
        if (TProgressBar* bar = ProgressBarWindow()) bar->SetupBar(maximum);
    };
    UiHooks.SetProgressPosition = [](int32_t position, const std::string& label) {
        if (TProgressBar* bar = ProgressBarWindow()) {
            bar->trProgress->setValue(position);
            bar->lProgress->setText(QString::fromStdString(label));
        }
    };
    auto otherRect = UiHooks.WindowRect;
    UiHooks.WindowRect = [otherRect](TWindowKind kind) -> std::optional<TWindowRect> {
        if (kind != TWindowKind::ProgressBar) return otherRect ? otherRect(kind) : std::nullopt;
        TProgressBar* bar = ProgressBarWindow();
        if (!bar) return std::nullopt;
        const QRect g = bar->frameGeometry();
        return TWindowRect{g.left(), g.top(), g.width(), g.height()};
    };
    auto otherMove = UiHooks.MoveWindow;
    UiHooks.MoveWindow = [otherMove](TWindowKind kind, int32_t left, int32_t top) {
        if (kind != TWindowKind::ProgressBar) {
            if (otherMove) otherMove(kind, left, top);
            return;
        }
        if (TProgressBar* bar = ProgressBarWindow()) bar->move(left, top);
    };
}

void TProgressBar::FormCreate() {
    ProgressBarReady = 1;
    {
        // Only the speed label's start text: the speed itself is set when a video starts.
        const QSignalBlocker block(trSpeed);
        trSpeed->setValue(kRealTimeSpeed);
    }
    speedSelEnd_ = kRealTimeSpeed;
    lSpeed->setText(QStringLiteral("1,00x"));
    lProgress->setText(QStringLiteral("0,00"));
    move(Options.posProgressBarX, Options.posProgressBarY);
    KeepOnScreen();
    setWindowTitle(QString::fromStdString(UIText("0020")));
    if (!ReplayMode) {
        if (TMain* main = MainWindow())
            main->HideProgressBarWindow();
        else
            hide();
        return;
    }
    OpenReplayFile(StartupVideoFile);
    if (ReplayMode) RestartBtnClick();
}

void TProgressBar::KeepOnScreen() {
    const std::optional<TScreenSize> screen = CurrentScreenSize();
    if (!screen) return;
    const QRect g = frameGeometry();
    TWindowRect r{pos().x(), pos().y(), g.width(), g.height()};
    quorlet::KeepOnScreen(r, *screen);
    move(r.Left, r.Top);
}

void TProgressBar::SetupBar(int maximum) {
    {
        const QSignalBlocker block(trProgress);
        trProgress->setRange(0, std::max(maximum, 0));
        trProgress->setTickInterval(100);
        trProgress->setValue(0);
    }
    trProgressChange();
    trSpeed->show();
    trProgress->show();
    if (TMain* main = MainWindow())
        main->ShowProgressBarWindow();
    else
        ShowWindow();
}

void TProgressBar::ShowWindow() {
    move(Options.posProgressBarX, Options.posProgressBarY);
    KeepOnScreen();
    show();
}

void TProgressBar::RestartBtnClick() {
    RestartPlayback();
}

void TProgressBar::StopBtnClick() {
    StopPlayback();
}

void TProgressBar::PauseBtnClick() {
    PausePlayback();
}

void TProgressBar::trSpeedChange() {
    if (!ReplayMode) return;
    speedSelEnd_ = trSpeed->value();
    SetPlaybackSpeed(trSpeed->value());
    lSpeed->setText(QString::fromStdString(PlaybackSpeedLabel(trSpeed->value())));
}

bool TProgressBar::trSpeedKeyDown(int key) {
    if (key != Qt::Key_Left && key != Qt::Key_Right) return false;
    if (!ReplayMode) return true;
    trSpeed->setValue(StepPlaybackSpeed(key == Qt::Key_Right));
    return true;
}

void TProgressBar::trProgressChange() {
    progressSelEnd_ = trProgress->value();
}

bool TProgressBar::trProgressKeyDown(int key) {
    if (key != Qt::Key_Left && key != Qt::Key_Right) return false;
    const int position =
        ProgressKeyPosition(trProgress->value(), trProgress->maximum(), key == Qt::Key_Right);
    trProgress->setValue(position);
    lProgress->setText(QString::fromStdString(
        FormatGameTime(static_cast<uint16_t>(position / 100), static_cast<uint8_t>(position % 100))));
    return true;
}

bool TProgressBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == trSpeed && trSpeedKeyDown(key)) return true;
        if (watched == trProgress && trProgressKeyDown(key)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorlet
