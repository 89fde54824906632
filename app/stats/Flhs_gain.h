// The new-record notice: a small on-top window over the main window naming the records a won
// game set; OK opens the local high-score window on its first page.
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorlet {

// Set once the notice exists.
extern uint8_t LhsGainCreated;

class Tlhs_gain : public QDialog {
    Q_OBJECT

  public:
    explicit Tlhs_gain(QWidget* parent = nullptr);
    ~Tlhs_gain() override;

    // Sets the text, places the notice over the main window and shows it with the main
    // window disabled (the entry UiHooks.ShowHighScoreNotice).
    void ShowNotice(const QString& text);
    // Hides the notice and opens the high-score window, unless the won game is no longer the
    // current solved, ranked, live game; then the notice stays.
    void okBtnClick();

    QLabel* imLogo = nullptr;
    QPlainTextEdit* txt = nullptr;
    QPushButton* okBtn = nullptr;

  protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quorlet
