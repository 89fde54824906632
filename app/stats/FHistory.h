// The statistics window over the game history: a page outline, five panels (grid pages,
// style pie, games pie, setup, search) and the buttons that back up, clear and export.
// Every rule is an engine routine; the window shows and forwards.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "stats/historygrid.h"
#include "stats/historysearch.h"

class QAction;
class QCheckBox;
class QChartView;
class QComboBox;
class QLabel;
class QPieSeries;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorlet {

class THistoryGridModel;

// The grid view of both grids: no headers, rows of 18 pixels, a fixed-width font, whole rows.
QTableView* MakeGridView(QWidget* parent);

// Set once the history window has been created.
extern uint8_t HistoryWindowCreated;

class THistory : public QWidget {
    Q_OBJECT
  public:
    explicit THistory(QWidget* mainWindow);
    ~THistory() override;

    // The opening steps after the opener's own (placement, reload, the item, shown with the
    // main window disabled); filled into UiHooks.ShowHistoryWindow. An item outside 1..27
    // opens on the level's summary.
    void ShowWindow(int outlineItem);

    // ---- Handlers ----
    void PageSeLClick();
    void RotatorTimer();
    void Chart1Click();
    void SpeedButton2Click();
    void sbSaveGridClick();
    void sbSavegrid2Click();
    void savestatBtnClick();
    void savestatnodebugBtnClick();
    void BackupBtnClick();
    void ClearBtnClick();
    void RestoreBtnClick();
    void LoadExternalFileBtnClick();
    void ExitBtnClick();
    // The close box's steps (positions stored, counters and playback bar back).
    void FormClose();
    // The shared closing step: main window back, rotation stopped, window hidden, reloaded.
    void CloseHistoryWindow();

    // ---- Search page (FHistorySearch.cpp) ----
    void searchBtnClick();
    void defaultBtnClick();
    void sClearBtnClick();
    void sortBtnClick();
    void hiderBtnClick();
    void SpeedButton3Click();
    void SpeedButton4Click();
    // The filter controls as one value, and back.
    THistorySearchFilter SearchFilter() const;
    void SetSearchFilter(const THistorySearchFilter& filter);

    // Selects an outline item (1..27) and runs the dispatch.
    void SelectItem(int item);
    int CurrentItem() const;

    // Dialogs, replaceable by tests: a Yes/No question, the HTML save dialog (empty: cancel),
    // the Index of Speed's input box (empty: cancel).
    std::function<bool(const QString& question)> AskYesNo;
    std::function<QString(const QString& folder)> ChooseHtmlFile;
    std::function<std::optional<QString>()> AskExcludePercents;

    // ---- Controls (the program's names) ----
    QTreeWidget* PageSeL = nullptr;
    QWidget *pGrid = nullptr, *pChart = nullptr, *pChart2 = nullptr, *pSetup = nullptr, *pSearch = nullptr;
    QLabel *lGridName = nullptr, *lChartName = nullptr, *lchart2name = nullptr, *lSetupName = nullptr,
           *lSearchName = nullptr;
    QTableView* sg = nullptr;
    QTableView* sgs = nullptr;
    QChartView *Chart1 = nullptr, *Chart2 = nullptr;
    QPieSeries *Series1 = nullptr, *PieSeries1 = nullptr;
    // The pies' legends: a colour mark and a label ("Flag-style: 7 (58.3 %)") a slice.
    QWidget *Legend1 = nullptr, *Legend2 = nullptr;
    QTimer* Rotator = nullptr;
    QPushButton *savestatBtn = nullptr, *savestatnodebugBtn = nullptr, *BackupBtn = nullptr, *ClearBtn = nullptr,
                *RestoreBtn = nullptr, *LoadExternalFileBtn = nullptr, *sbSaveGrid = nullptr,
                *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
    QAction* ExitBtn = nullptr;
    // Search page.
    QCheckBox *cbBeg = nullptr, *cbInt = nullptr, *cbExp = nullptr, *cbF = nullptr, *cbNF = nullptr,
              *cbDate = nullptr, *cbHour = nullptr, *cbTime = nullptr, *cbBVS = nullptr, *cbBV = nullptr;
    QSpinBox *seDateDay = nullptr, *seDateMonth = nullptr, *seDateyear = nullptr, *seDateDay2 = nullptr,
             *seDateMonth2 = nullptr, *seDateYear2 = nullptr;
    QSpinBox *seDateHour = nullptr, *seDateMinute = nullptr, *seDateSecond = nullptr, *seDateHour2 = nullptr,
             *seDateMinute2 = nullptr, *seDateSecond2 = nullptr;
    QSpinBox *seTimeS = nullptr, *seTimeH = nullptr, *seTimeS2 = nullptr, *seTimeH2 = nullptr;
    QSpinBox *seBVSS = nullptr, *seBVSH = nullptr, *seBVSS2 = nullptr, *seBVSH2 = nullptr;
    QSpinBox *seBV = nullptr, *seBV2 = nullptr;
    QComboBox* cbSort = nullptr;
    QPushButton *searchBtn = nullptr, *defaultBtn = nullptr, *sortBtn = nullptr, *sClearBtn = nullptr,
                *hiderBtn = nullptr, *SpeedButton3 = nullptr, *SpeedButton4 = nullptr, *sbSavegrid2 = nullptr;
    QWidget* Panel8 = nullptr;

    // What the grids hold (the views show them through their models).
    const THistoryGrid& PageGrid() const { return sgData_; }
    const THistoryGrid& SearchGrid() const { return sgsData_; }
    // The zoom of the pies (75..141) and the start angle of the style pie.
    int ChartZoom() const { return zoom_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    QWidget* BuildSearchPage();
    void ShowPanel(QWidget* panel);
    void FillPie(QPieSeries* series, QWidget* legend, int kind);
    void ShowGrid();
    void ShowSearchGrid();
    void SaveHtml(const std::function<void(const std::string&)>& write);
    void ApplyZoom();

    std::vector<QTreeWidgetItem*> items_; // outline items by index - 1
    THistoryGrid sgData_;
    THistoryGrid sgsData_;
    THistoryGridModel* sgModel_ = nullptr;
    THistoryGridModel* sgsModel_ = nullptr;
    QWidget* mainWindow_ = nullptr;
    int zoom_ = 100;
    uint8_t zoomGrowing_ = 1;
};

// The history window while it exists.
THistory* HistoryWindow();

} // namespace quorlet
