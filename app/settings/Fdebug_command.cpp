#include "app/settings/Fdebug_command.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>

#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/debugcommand.h"
#include "settings/options.h"

namespace quorlet {

TDebug_Command::TDebug_Command(QWidget* debugWindow, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), debugWindow_(debugWindow) {
    setObjectName(QStringLiteral("TDebug_Command"));
    dc = new QComboBox(this);
    dc->setObjectName(QStringLiteral("dc"));
    dc->setEditable(true);
    dc->setInsertPolicy(QComboBox::NoInsert);
    // Completion is the box's own type-ahead, not Qt's.
    dc->setCompleter(nullptr);
    dc->setFixedWidth(249);
    for (const char* name : kDebugCommands)
        dc->addItem(QString::fromLatin1(name));
    dc->setCurrentIndex(-1);
    dc->setEditText(QString());
    OKbtn = new QToolButton(this);
    OKbtn->setObjectName(QStringLiteral("OKbtn"));
    OKbtn->setText(QStringLiteral("OK"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->addWidget(dc);
    row->addWidget(OKbtn);
    ExitBtn = new QAction(QStringLiteral("q"), this);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    ExitBtn->setShortcut(QKeySequence(Qt::Key_Escape));
    ExitBtn->setShortcutContext(Qt::WindowShortcut);
    addAction(ExitBtn);
    setFixedSize(312, 38);

    connect(OKbtn, &QToolButton::clicked, this, [this] { OKbtnClick(); });
    connect(ExitBtn, &QAction::triggered, this, [this] { ExitBtnClick(); });
    connect(dc, &QComboBox::editTextChanged, this, [this](const QString& text) { dcChange(text); });
    // The combo box holds the focus and hands its keys to the line edit directly, past any
    // filter there: the keys are caught on the combo box (and on the edit, should it get focus).
    dc->installEventFilter(this);
    dc->lineEdit()->installEventFilter(this);

    // FormCreate: the caption (ApplyTexts sets it again when the texts change).
    setWindowTitle(QString::fromStdString(UIText("0055")));
    UiHooks.ShowDebugCommandWindow = [this] { ShowBox(); };
}

TDebug_Command::~TDebug_Command() {
    UiHooks.ShowDebugCommandWindow = nullptr;
}

void TDebug_Command::ShowBox() {
    try {
        if (debugWindow_) {
            const QRect frame = debugWindow_->frameGeometry();
            const QScreen* screen = debugWindow_->screen() ? debugWindow_->screen() : QGuiApplication::primaryScreen();
            const QSize size = frameGeometry().size();
            const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
            const TWindowRect at = CenterOnMain({frame.left(), frame.top(), frame.width(), frame.height()},
                                                size.width(), size.height(), {area.width(), area.height()});
            move(at.Left, at.Top);
        }
        show();
        raise();
        activateWindow();
        dc->setFocus();
        if (debugWindow_) debugWindow_->setEnabled(false);
    } catch (...) {
        DebugLog("#debug command box not shown");
    }
}

void TDebug_Command::ReturnToDebugWindow() {
    if (!debugWindow_) return;
    debugWindow_->setEnabled(true);
    debugWindow_->show();
}

void TDebug_Command::OKbtnClick() {
    try {
        StopGameClock();
        ReturnToDebugWindow();
        hide();
        const std::string text = dc->currentText().toStdString();
        RunDebugCommand(text);
        const QSignalBlocker quiet(dc);
        dc->setEditText(QString());
    } catch (...) {
        DebugLog("#debug command failed");
    }
}

void TDebug_Command::ShowCompletion(const std::string& text, std::size_t caret, std::size_t selected) {
    QLineEdit* edit = dc->lineEdit();
    const QSignalBlocker quiet(dc);
    edit->setText(QString::fromStdString(text));
    if (selected > 0)
        edit->setSelection(static_cast<int>(caret), static_cast<int>(selected));
    else
        edit->setCursorPosition(static_cast<int>(caret));
}

void TDebug_Command::dcChange(const QString& text) {
    if (const auto done = CompleteDebugCommand(text.toStdString()))
        ShowCompletion(done->text, done->caret, done->selected);
}

bool TDebug_Command::dcKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        OKbtnClick();
        return true;
    }
    if (key != Qt::Key_Backspace) return false;
    QLineEdit* edit = dc->lineEdit();
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const TCompletion c = DebugCommandBackspace(edit->text().toStdString(), static_cast<std::size_t>(caret));
    ShowCompletion(c.text, c.caret, c.selected);
    return true;
}

void TDebug_Command::ExitBtnClick() {
    OKbtnClick();
}

void TDebug_Command::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: back to the log, nothing runs.
    ReturnToDebugWindow();
    hide();
    event->accept();
}

bool TDebug_Command::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == dc || watched == dc->lineEdit()) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            ExitBtnClick();
            return true;
        }
        if (dcKeyDown(key->key())) return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorlet
