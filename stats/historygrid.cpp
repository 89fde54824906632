#include "stats/historygrid.h"

#include <algorithm>
#include <utility>

namespace quorlet {

void THistoryGrid::SetColCount(int count) {
    colCount_ = std::max(count, 0);
    widths_.resize(static_cast<size_t>(colCount_), kDefaultColWidth);
}

void THistoryGrid::SetRowCount(int count) {
    rowCount_ = std::max(count, 0);
}

int THistoryGrid::ColWidth(int col) const {
    if (col < 0 || col >= colCount_) return 0;
    return widths_[static_cast<size_t>(col)];
}

void THistoryGrid::SetColWidth(int col, int width) {
    if (col >= 0 && col < colCount_) widths_[static_cast<size_t>(col)] = width;
}

void THistoryGrid::SetColWidths(const std::vector<int>& widths) {
    SetColCount(static_cast<int>(widths.size()));
    widths_ = widths;
}

const std::string& THistoryGrid::Cell(int col, int row) const {
    static const std::string kEmpty;
    if (row < 0 || col < 0 || static_cast<size_t>(row) >= rows_.size()) return kEmpty;
    const auto& cells = rows_[static_cast<size_t>(row)];
    if (static_cast<size_t>(col) >= cells.size()) return kEmpty;
    return cells[static_cast<size_t>(col)];
}

void THistoryGrid::SetCell(int col, int row, std::string text) {
    if (row < 0 || col < 0) return;
    const auto r = static_cast<size_t>(row);
    const auto c = static_cast<size_t>(col);
    if (r >= rows_.size()) {
        if (text.empty()) return; // an empty text there reads as empty already
        rows_.resize(r + 1);
    }
    auto& cells = rows_[r];
    if (c >= cells.size()) {
        if (text.empty()) return;
        cells.resize(c + 1);
    }
    cells[c] = std::move(text);
}

void THistoryGrid::SetRow(int row, const std::vector<std::string>& texts) {
    for (size_t c = 0; c < texts.size(); ++c)
        SetCell(static_cast<int>(c), row, texts[c]);
}

void THistoryGrid::Clear() {
    const size_t rows = std::min(rows_.size(), static_cast<size_t>(rowCount_));
    for (size_t r = 0; r < rows; ++r) {
        auto& cells = rows_[r];
        const size_t cols = std::min(cells.size(), static_cast<size_t>(colCount_));
        for (size_t c = 0; c < cols; ++c)
            cells[c].clear();
    }
}

} // namespace quorlet
