// The debug command box: a one-line prompt with the list of commands, opened from the debug
// log window. The rules (list, type-ahead, dispatch) are in settings/debugcommand.
#pragma once

#include <QWidget>

class QAction;
class QComboBox;
class QToolButton;

namespace quorlet {

class TDebug_Command : public QWidget {
    Q_OBJECT

  public:
    // Runs FormCreate and fills UiHooks.ShowDebugCommandWindow. `debugWindow` is centred on,
    // disabled while the box shows and enabled again when it hides.
    explicit TDebug_Command(QWidget* debugWindow, QWidget* parent = nullptr);
    ~TDebug_Command() override;

    QComboBox* dc = nullptr;
    QToolButton* OKbtn = nullptr;
    QAction* ExitBtn = nullptr;

    void OKbtnClick();
    void dcChange(const QString& text);
    // Backspace and Enter; true when the key was handled.
    bool dcKeyDown(int key);
    void ExitBtnClick();
    // Placed on the debug window, focus in dc, shown with the debug window disabled.
    void ShowBox();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ReturnToDebugWindow();
    void ShowCompletion(const std::string& text, std::size_t caret, std::size_t selected);

    QWidget* debugWindow_;
};

} // namespace quorlet
