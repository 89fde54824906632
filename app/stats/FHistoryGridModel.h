// Shows a headless history grid in a table view: no widget per cell, so a page of a full
// history opens at once. Row 0 of the grid is its header row and is shown as a row, as the
// window always has.
#pragma once

#include <QAbstractTableModel>

#include "stats/historygrid.h"

namespace quorlet {

class THistoryGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    THistoryGridModel(const THistoryGrid& grid, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The grid changed: the views read counts, widths and cells again.
    void Reload();

  private:
    const THistoryGrid& grid_;
};

} // namespace quorlet
