#include "app/stats/FHistoryGridModel.h"

namespace quorlet {

THistoryGridModel::THistoryGridModel(const THistoryGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

int THistoryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount();
}

int THistoryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColCount();
}

QVariant THistoryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
        const std::string_view text = grid_.CellView(index.column(), index.row());
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void THistoryGridModel::Reload() {
    beginResetModel();
    endResetModel();
}

} // namespace quorlet
