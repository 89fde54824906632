// The About box: name, version, credits, the web and mail links and the memo with the thanks
// list (texts from settings/about). OK starts a new game; Esc closes; a close request is refused.
#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QUrl;

namespace quorlet {

struct TAboutTexts;

class TAbout : public QWidget {
    Q_OBJECT

  public:
    // Runs FormCreate and fills UiHooks.ShowAboutWindow.
    explicit TAbout(QWidget* parent = nullptr);
    ~TAbout() override;

    QLabel* iml1 = nullptr;
    QLabel* iml2 = nullptr;
    QLabel* lname = nullptr;
    QLabel* lVer = nullptr;
    QLabel* lcop = nullptr;
    QLabel* lAuth = nullptr;
    QLabel* llink = nullptr;
    QLabel* llink2 = nullptr;
    QLabel* Image2 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QPlainTextEdit* m = nullptr;
    QPushButton* Button1 = nullptr;
    QAction* ExitBtn = nullptr;

    // The texts of one opening.
    void Fill(const TAboutTexts& texts);
    // The About command's show steps: placed on the main window, filled, shown.
    void ShowBox();

    void Button1Click();
    void ExitBtnClick();
    void llinkClick();
    void llink2Click();

    // Opens a link; tests replace it. The default asks the desktop and ignores a failure.
    std::function<void(const QUrl&)> OpenUrl;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowOrHideCounters();
};

} // namespace quorlet
