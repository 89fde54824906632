#include "app/Fdebug.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStringList>
#include <QTimer>

#include <climits>

#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/sysinfo.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

QString Text(const char* key) {
    return QString::fromStdString(UIText(key));
}

QString DefaultChooseSaveFile(QWidget* parent, const QString& folder, const QString& name) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(folder);
    dialog.selectFile(name);
    dialog.setNameFilters({QStringLiteral("Text Files (*.txt *.diz*)"), QStringLiteral("Any File (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool DefaultChooseFont(QWidget* parent, QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok) font = chosen;
    return ok;
}

} // namespace

QPoint CenteredOnOpener(const QRect& opener, const QSize& dialog, const QSize& screen) {
    // trunc(left + width / 2 - dialog width / 2) over the exact halves: halving each width on its
    // own would put an odd dialog on an even opener one pixel off.
    auto centre = [](int start, int length, int inner) {
        return static_cast<int32_t>((2 * int64_t{start} + length - inner) / 2);
    };
    const TWindowRect r = PlaceWindow(centre(opener.left(), opener.width(), dialog.width()),
                                      centre(opener.top(), opener.height(), dialog.height()), dialog.width(),
                                      dialog.height(), TScreenSize{screen.width(), screen.height()});
    return {r.Left, r.Top};
}

Tdebug::Tdebug(QWidget* opener, QWidget* parent) : QMainWindow(parent), opener_(opener) {
    ChooseSaveFile = [this](const QString& folder, const QString& name) {
        return DefaultChooseSaveFile(this, folder, name);
    };
    ChooseFont = [this](QFont& font) { return DefaultChooseFont(this, font); };

    dm = new QPlainTextEdit(this);
    dm->setObjectName(QStringLiteral("dm"));
    dm->setReadOnly(true);
    dm->setFrameShape(QFrame::NoFrame);
    dm->setLineWrapMode(QPlainTextEdit::NoWrap);
    dm->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    dm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    dm->setFocusPolicy(Qt::NoFocus);
    dm->setContextMenuPolicy(Qt::PreventContextMenu);
    dm->setTextInteractionFlags(Qt::NoTextInteraction);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    dm->setFont(font);
    dm->installEventFilter(this);
    dm->viewport()->installEventFilter(this);
    setCentralWidget(dm);

    auto addItem = [this](QAction*& action, const char* name, void (Tdebug::*handler)(),
                          QList<QKeySequence> keys) {
        action = menuBar()->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        addAction(action); // shortcuts work while the menu bar is hidden too
        connect(action, &QAction::triggered, this, handler);
    };
    addItem(ClearBtn, "ClearBtn", &Tdebug::ClearBtnClick, {QKeySequence(Qt::CTRL | Qt::Key_N)});
    addItem(SaveAsBtn, "SaveAsBtn", &Tdebug::SaveAsBtnClick, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    addItem(FontBtn, "FontBtn", &Tdebug::FontBtnClick, {});
    addItem(CommandBtn, "CommandBtn", &Tdebug::CommandBtnClick,
            {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    addItem(CloseBtn, "CloseBtn", &Tdebug::CloseBtnClick, {QKeySequence(Qt::Key_Escape)});
    setFocusPolicy(Qt::StrongFocus);

    resize(640, 480);
    ApplyTexts();

    UiHooks.DebugLogChanged = [this] { LogChanged(); };
    // FormCreate: from here on the log keeps lines.
    LogStartupSystemReport(static_cast<uint64_t>(winId()));
    RefreshLog();
}

Tdebug::~Tdebug() {
    UiHooks.DebugLogChanged = nullptr;
    DebugWindowOn = 0;
}

void Tdebug::ApplyTexts() {
    setWindowTitle(QString::fromStdString(DebugLogCaption()));
    ClearBtn->setText(Text("0047"));
    SaveAsBtn->setText(Text("0048"));
    FontBtn->setText(Text("0049"));
    CommandBtn->setText(Text("0050"));
    CloseBtn->setText(Text("0051"));
}

void Tdebug::LogChanged() {
    setWindowTitle(QString::fromStdString(DebugLogCaption()));
    stale_ = true;
    // Rebuilding the memo for every line of a burst is slow: once per event-loop turn, and only
    // while the window is shown.
    if (!isVisible() || refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        if (stale_) RefreshLog();
    });
}

void Tdebug::RefreshLog() {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(DebugLogLines.size()));
    for (const auto& line : DebugLogLines)
        lines << QString::fromStdString(line);
    dm->setPlainText(lines.join(QLatin1Char('\n')));
    setWindowTitle(QString::fromStdString(DebugLogCaption()));
    stale_ = false;
}

void Tdebug::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (stale_) RefreshLog();
}

void Tdebug::ClearBtnClick() {
    ClearDebugLog();
}

void Tdebug::SaveAsBtnClick() {
    if (DebugLogLines.empty()) return;
    const QString path =
        ChooseSaveFile(QString::fromStdString(Options.LastPath), QString::fromStdString(DebugLogSaveName()));
    if (path.isEmpty()) return;
    SaveDebugLogAs(path.toStdString());
}

void Tdebug::FontBtnClick() {
    QFont font = dm->font();
    if (!ChooseFont(font)) return;
    // The log offers sizes 7 to 36 and no style choice.
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const int size = font.pointSize() > 0 ? font.pointSize() : font.pixelSize();
    if (size < 7 || size > 36) font.setPointSize(size < 7 ? 7 : 36);
    dm->setFont(font);
}

void Tdebug::CommandBtnClick() {
    // The command box places and shows itself, and disables this window.
    if (UiHooks.ShowDebugCommandWindow) {
        UiHooks.ShowDebugCommandWindow();
        return;
    }
    if (!CommandBox) return;
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = shown ? shown->geometry().size() : QSize(INT_MAX / 2, INT_MAX / 2);
    CommandBox->move(CenteredOnOpener(frameGeometry(), CommandBox->frameGeometry().size(), screenSize));
    CommandBox->show();
    QWidget* list = CommandBox->findChild<QWidget*>(QStringLiteral("dc"));
    (list ? list : CommandBox)->setFocus();
    CommandBox->raise();
    CommandBox->activateWindow();
    setEnabled(false);
}

void Tdebug::ReturnToOpener() {
    if (!opener_) return;
    opener_->setEnabled(true);
    opener_->show();
}

void Tdebug::CloseBtnClick() {
    StopGameClock();
    ReturnToOpener();
    if (UiHooks.NewGame) UiHooks.NewGame();
    hide();
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

void Tdebug::closeEvent(QCloseEvent* event) {
    ReturnToOpener();
    if (Options.doShowCounters) ShowCountersWindow();
    hide();
    event->ignore(); // the window lives for the whole run
}

bool Tdebug::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dm || watched == dm->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::ContextMenu:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // The memo takes no selection, menu or keys.
            if (dm->hasFocus()) setFocus();
            return true;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quorlet
