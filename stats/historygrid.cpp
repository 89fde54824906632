#include "stats/historygrid.h"

#include <algorithm>

namespace quorlet {

namespace {

size_t CellLength(const std::string& row, size_t pos) {
    return static_cast<unsigned char>(row[pos]) | static_cast<size_t>(static_cast<unsigned char>(row[pos + 1])) << 8;
}

void AppendCell(std::string& row, std::string_view text) {
    const size_t n = std::min<size_t>(text.size(), 0xFFFF);
    row += static_cast<char>(n & 0xFF);
    row += static_cast<char>(n >> 8);
    row.append(text.data(), n);
}

// Position of cell `col` in the row, or of the row's end when the row has fewer cells; `cells`
// gets the number of cells walked over.
size_t FindCell(const std::string& row, int col, int& cells) {
    size_t pos = 0;
    cells = 0;
    while (cells < col && pos < row.size()) {
        pos += 2 + CellLength(row, pos);
        ++cells;
    }
    return pos;
}

} // namespace

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

std::string_view THistoryGrid::CellView(int col, int row) const {
    if (row < 0 || col < 0 || static_cast<size_t>(row) >= rows_.size()) return {};
    const std::string& cells = rows_[static_cast<size_t>(row)];
    int walked = 0;
    const size_t pos = FindCell(cells, col, walked);
    if (pos >= cells.size()) return {};
    return std::string_view(cells).substr(pos + 2, CellLength(cells, pos));
}

void THistoryGrid::SetCell(int col, int row, std::string_view text) {
    if (row < 0 || col < 0) return;
    const auto r = static_cast<size_t>(row);
    if (r >= rows_.size()) {
        if (text.empty()) return; // an empty text there reads as empty already
        rows_.resize(r + 1);
    }
    std::string& cells = rows_[r];
    int walked = 0;
    const size_t pos = FindCell(cells, col, walked);
    if (pos >= cells.size()) { // past the row's last cell: append
        if (text.empty()) return;
        if (cells.empty()) cells.reserve(static_cast<size_t>(std::max(colCount_, col + 1)) * 12);
        for (; walked < col; ++walked)
            AppendCell(cells, {});
        AppendCell(cells, text);
        return;
    }
    const size_t old = 2 + CellLength(cells, pos);
    std::string encoded;
    AppendCell(encoded, text);
    cells.replace(pos, old, encoded);
}

void THistoryGrid::SetCells(int row, const std::string_view* texts, size_t count) {
    if (row < 0) return;
    const auto r = static_cast<size_t>(row);
    if (r >= rows_.size()) rows_.resize(r + 1);
    std::string& cells = rows_[r];
    int walked = 0;
    const size_t tail = FindCell(cells, static_cast<int>(count), walked);
    // Built aside and copied back, so the row keeps its allocation from page to page.
    thread_local std::string built;
    built.clear();
    for (size_t i = 0; i < count; ++i)
        AppendCell(built, texts[i]);
    if (tail < cells.size()) built.append(cells, tail, std::string::npos);
    cells.assign(built);
}

void THistoryGrid::ReorderRows(int first, const std::vector<size_t>& order, int keep) {
    if (first < 0) return;
    std::vector<std::string> heads(order.size()), tails(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const size_t r = static_cast<size_t>(first) + i;
        if (r >= rows_.size()) break;
        int walked = 0;
        const size_t pos = FindCell(rows_[r], keep, walked);
        heads[i] = rows_[r].substr(0, pos);
        for (; walked < keep; ++walked) // a short row keeps its place for the moved cells
            AppendCell(heads[i], {});
        if (pos < rows_[r].size()) tails[i] = rows_[r].substr(pos);
    }
    const size_t needed = static_cast<size_t>(first) + order.size();
    if (rows_.size() < needed) rows_.resize(needed);
    for (size_t i = 0; i < order.size(); ++i)
        rows_[static_cast<size_t>(first) + i] = heads[i] + tails[order[i]];
}

void THistoryGrid::SetRow(int row, const std::vector<std::string>& texts) {
    for (size_t c = 0; c < texts.size(); ++c)
        SetCell(static_cast<int>(c), row, texts[c]);
}

void THistoryGrid::Clear() {
    const size_t rows = std::min(rows_.size(), static_cast<size_t>(rowCount_));
    for (size_t r = 0; r < rows; ++r) {
        std::string& cells = rows_[r];
        int walked = 0;
        const size_t pos = FindCell(cells, colCount_, walked);
        if (pos >= cells.size()) { // every cell of the row lies inside the counts
            cells.clear();
            continue;
        }
        std::string kept;
        for (int c = 0; c < colCount_; ++c)
            AppendCell(kept, {});
        kept.append(cells, pos, std::string::npos);
        cells = std::move(kept);
    }
}

} // namespace quorlet
