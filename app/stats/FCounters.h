// The counters window: a small stay-on-top window beside the board showing the counters grid,
// dragged from anywhere on it, docking to the main window's edges, with a popup of shortcuts.
#pragma once

#include <QWidget>

#include <cstdint>

class QAction;
class QMenu;
class QTableView;

namespace quorlet {

class TCountersModel;

class TCounters : public QWidget {
    Q_OBJECT

  public:
    explicit TCounters(QWidget* parent = nullptr);
    ~TCounters() override;

    // Popup commands: each acts only while the main window is enabled (no command may start
    // under a dialog the main window waits for).
    void cntSaveReplayBtnClick();
    void cntSaveBoardBtnClick();
    void cntPreviewReplayBtnClick();
    void cntCopyInfoTextClick();

    // The grid's text at (row, column) as shown, and its row count.
    QString CellText(int row, int column) const;
    int RowCount() const;
    bool Dragging() const { return dragging_; }

    QTableView* sg = nullptr;
    QMenu* cntPop = nullptr;
    QAction* cntSaveReplayBtn = nullptr;
    QAction* cntSaveBoardBtn = nullptr;
    QAction* cntPreviewReplayBtn = nullptr;
    QAction* cntCopyInfoText = nullptr;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void InstallHooks();
    void FormMouseDown(QMouseEvent* event);
    void sgMouseDown(QMouseEvent* event);
    void FormMouseMove(QMouseEvent* event);
    void FormMouseUp();
    void ResetSelection();
    void FitToGrid();
    // Shows the window while it is wanted and has rows, hides it while it has none.
    void FollowRows();
    // The saved corner, the window kept on the screen.
    void PlaceAt(int32_t left, int32_t top);
    void SetBorder(bool withCaption);

    TCountersModel* model_ = nullptr;
    bool dragging_ = false;
    QPoint grab_;
    int columnWidths_[2] = {60, 60};
    int rows_ = 0;
    // Shown by the last show or hide request, rows permitting.
    bool wanted_ = false;
};

} // namespace quorlet
