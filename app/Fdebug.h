// The debug log window: shows DebugLogLines (newest first) in a read-only memo, with commands
// to clear, save, change the font, open the debug command box and close.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QString>

#include <functional>

#include <QPoint>
#include <QRect>
#include <QSize>

class QAction;
class QPlainTextEdit;

namespace quorlet {

// Top-left corner of a dialog centred on its opener's frame, then pushed inside the screen.
QPoint CenteredOnOpener(const QRect& opener, const QSize& dialog, const QSize& screen);

class Tdebug : public QMainWindow {
    Q_OBJECT

  public:
    // Runs FormCreate: the window exists from here on and writes the start-up system report.
    // opener is the window enabled and shown again when this one closes (the main window).
    explicit Tdebug(QWidget* opener = nullptr, QWidget* parent = nullptr);
    ~Tdebug() override;

    QPlainTextEdit* dm = nullptr;
    QAction* ClearBtn = nullptr;
    QAction* SaveAsBtn = nullptr;
    QAction* FontBtn = nullptr;
    QAction* CommandBtn = nullptr;
    QAction* CloseBtn = nullptr;
    // The debug command box opened by CommandBtn (it enables this window again when it closes);
    // its child named "dc" takes the focus. Nothing opens while it is not set.
    QWidget* CommandBox = nullptr;

    void ClearBtnClick();
    void SaveAsBtnClick();
    void FontBtnClick();
    void CommandBtnClick();
    void CloseBtnClick();

    // Captions and menu texts from the interface text table.
    void ApplyTexts();
    // Shows the log lines now (otherwise they follow on the next event-loop turn while shown).
    void RefreshLog();

    // The save and font dialogs; tests replace them. The save chooser gets the start folder and
    // proposed name and returns the chosen path (empty: cancelled); the font chooser returns
    // false when cancelled.
    std::function<QString(const QString& folder, const QString& name)> ChooseSaveFile;
    std::function<bool(QFont& font)> ChooseFont;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LogChanged();
    void ReturnToOpener();

    QWidget* opener_ = nullptr;
    bool refreshPending_ = false;
    bool stale_ = true;
};

} // namespace quorlet
