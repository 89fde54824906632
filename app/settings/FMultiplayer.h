// The multiplayer window: the screen of a mode with no network behind it. Every field and
// button is disabled; the chat log takes no input and can be saved from its context menu.
#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QLabel;
class QSpinBox;

namespace quorlet {

class TMult : public QWidget {
    Q_OBJECT

  public:
    // Runs FormCreate and fills UiHooks.ShowMultiplayerWindow. `mainWindow` is enabled and
    // shown again when this window closes.
    explicit TMult(QWidget* mainWindow, QWidget* parent = nullptr);
    ~TMult() override;

    QLabel* lName = nullptr;
    QLineEdit* eName = nullptr;
    QLabel* lPort = nullptr;
    QSpinBox* sePort = nullptr;
    QLabel* lIP = nullptr;
    QLineEdit* eIP = nullptr;
    QPushButton* HostBtn = nullptr;
    QPushButton* ConnectBtn = nullptr;
    QPushButton* DisconnectBtn = nullptr;
    QLineEdit* eChat = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* SaveBtn = nullptr;

    // The opener's show step: the top-left corner of the screen, shown on top.
    void ShowWindow();
    void SaveBtnClick();

    // The save dialog (initial folder in, chosen path out, empty when cancelled); tests replace it.
    std::function<QString(const QString& folder)> ChooseSaveFile;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* mainWindow_;
};

} // namespace quorlet
