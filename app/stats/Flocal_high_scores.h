// The local high-score window: six pages of personal records (best games and top-25
// averages for all, flagging and no-flagging games), each recomputed when it is shown, and
// the HTML export of the page shown.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "stats/highscores.h"

class QAction;
class QMenu;
class QTabWidget;
class QTableView;

namespace quorlet {

class THighScoreModel;

// Set once the window exists.
extern uint8_t LocalHighScoresCreated;

class TLocal_High_Scores : public QWidget {
    Q_OBJECT

  public:
    explicit TLocal_High_Scores(QWidget* parent = nullptr);
    ~TLocal_High_Scores() override;

    // The opener's steps (the entry UiHooks.ShowHighScoresWindow): page 1..6 active and
    // filled, centred on the main window, shown with the main window disabled.
    void ShowOnPage(int page);
    // Fills page 1..6 from the history as it stands now.
    void PageShow(int page);
    void page1Show() { PageShow(1); }
    void page2Show() { PageShow(2); }
    void page3Show() { PageShow(3); }
    void page4Show() { PageShow(4); }
    void page5Show() { PageShow(5); }
    void page6Show() { PageShow(6); }
    // Writes the active page's grid, as last filled, to the file the save dialog names.
    void savehtmlbtnClick();
    void ExitBtnClick();
    // The text of a cell of page 1..6 as shown.
    QString CellText(int page, int row, int column) const;

    // The save dialog; an empty name means cancelled.
    std::function<QString(const QString& folder, const QString& name)> ChooseHtmlFile;

    QTabWidget* pager = nullptr;
    std::array<QWidget*, kHighScorePages> pages{};
    std::array<QTableView*, kHighScorePages> grids{};
    QMenu* lhspopup = nullptr;
    QAction* savehtmlbtn = nullptr;
    QAction* ExitBtn = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::array<THighScoreModel*, kHighScorePages> models_{};
    bool filling_ = false;
};

} // namespace quorlet
