#include "stats/historygrid.h"

#include <algorithm>
#include <charconv>

namespace quorlet {

namespace {

size_t CellLength(std::string_view row, size_t pos) {
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
size_t FindCell(std::string_view row, int col, int& cells) {
    size_t pos = 0;
    cells = 0;
    while (cells < col && pos < row.size()) {
        pos += 2 + CellLength(row, pos);
        ++cells;
    }
    return pos;
}

// Where a row is built before it goes into the block.
std::string& Scratch() {
    thread_local std::string scratch;
    scratch.clear();
    return scratch;
}

} // namespace

std::string_view THistoryGrid::Row(size_t row) const {
    if (row >= rowStart_.size()) return {};
    return std::string_view(block_).substr(rowStart_[row], rowSize_[row]);
}

void THistoryGrid::Pack() {
    std::string packed;
    packed.reserve(live_ + live_ / 4);
    for (size_t r = 0; r < rowStart_.size(); ++r) {
        const std::string_view bytes = Row(r);
        rowStart_[r] = static_cast<uint32_t>(packed.size());
        packed.append(bytes);
    }
    block_.swap(packed);
}

void THistoryGrid::SetRowBytes(size_t row, std::string_view bytes) {
    if (row >= rowStart_.size()) {
        if (bytes.empty()) return;
        rowStart_.resize(row + 1, static_cast<uint32_t>(block_.size()));
        rowSize_.resize(row + 1, 0);
    }
    live_ = live_ - rowSize_[row] + bytes.size();
    if (bytes.size() <= rowSize_[row]) { // fits where it was
        std::copy(bytes.begin(), bytes.end(), block_.begin() + rowStart_[row]);
    } else {
        rowSize_[row] = 0;
        const size_t stale = block_.size() - (live_ - bytes.size());
        if (stale > live_ + (size_t{1} << 20)) Pack();
        rowStart_[row] = static_cast<uint32_t>(block_.size());
        block_.append(bytes);
    }
    rowSize_[row] = static_cast<uint32_t>(bytes.size());
}

void THistoryGrid::Reserve(int rows, size_t bytesPerRow) {
    if (rows <= 0) return;
    const auto n = static_cast<size_t>(rows);
    block_.reserve(n * bytesPerRow); // no more than once for a grid that held such a page
    rowStart_.reserve(n);
    rowSize_.reserve(n);
}

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
    if (row < 0 || col < 0) return {};
    const std::string_view cells = Row(static_cast<size_t>(row));
    int walked = 0;
    const size_t pos = FindCell(cells, col, walked);
    if (pos >= cells.size()) return {};
    return cells.substr(pos + 2, CellLength(cells, pos));
}

void THistoryGrid::SetCell(int col, int row, std::string_view text) {
    if (row < 0 || col < 0) return;
    const std::string_view cells = Row(static_cast<size_t>(row));
    int walked = 0;
    const size_t pos = FindCell(cells, col, walked);
    // Past the row's last cell an empty text reads as empty already.
    if (pos >= cells.size() && text.empty()) return;
    std::string& built = Scratch();
    built.append(cells.substr(0, pos));
    for (; walked < col; ++walked)
        AppendCell(built, {});
    AppendCell(built, text);
    if (pos < cells.size()) built.append(cells.substr(pos + 2 + CellLength(cells, pos)));
    SetRowBytes(static_cast<size_t>(row), built);
}

void THistoryGrid::SetCells(int row, const std::string_view* texts, size_t count) {
    if (row < 0) return;
    const std::string_view cells = Row(static_cast<size_t>(row));
    int walked = 0;
    const size_t tail = FindCell(cells, static_cast<int>(count), walked);
    std::string& built = Scratch();
    for (size_t i = 0; i < count; ++i)
        AppendCell(built, texts[i]);
    if (tail < cells.size()) built.append(cells.substr(tail));
    SetRowBytes(static_cast<size_t>(row), built);
}

THistoryRow& THistoryRow::Text(std::string_view text) {
    if (count_ == kCells) return *this;
    const size_t n = std::min(text.size(), kBytes - used_);
    std::copy(text.data(), text.data() + n, buffer_ + used_);
    Close(n);
    return *this;
}

THistoryRow& THistoryRow::Number(uint64_t value) {
    return Format(
        [value](char* out) { return static_cast<size_t>(std::to_chars(out, out + kRoom, value).ptr - out); });
}

void THistoryRow::Close(size_t bytes) {
    used_ += bytes;
    ends_[count_++] = used_;
}

void THistoryRow::SetInto(THistoryGrid& grid, int row) {
    std::string_view views[kCells];
    size_t start = 0;
    for (size_t i = 0; i < count_; ++i) {
        views[i] = std::string_view(buffer_ + start, ends_[i] - start);
        start = ends_[i];
    }
    grid.SetCells(row, static_cast<const std::string_view*>(views), count_);
    used_ = count_ = 0;
}

void THistoryGrid::ReorderRows(int first, const std::vector<size_t>& order, int keep) {
    if (first < 0 || order.empty()) return;
    const auto base = static_cast<size_t>(first);
    if (rowStart_.size() < base + order.size()) {
        rowStart_.resize(base + order.size(), static_cast<uint32_t>(block_.size()));
        rowSize_.resize(base + order.size(), 0);
    }
    // A new block in one pass: the other rows as they are, each reordered row from its own
    // first cells and the moved row's rest.
    std::string packed;
    packed.reserve(live_ + 2 * order.size() * static_cast<size_t>(std::max(keep, 0)));
    std::vector<uint32_t> starts(rowStart_.size()), sizes(rowSize_.size());
    for (size_t r = 0; r < rowStart_.size(); ++r) {
        starts[r] = static_cast<uint32_t>(packed.size());
        if (r < base || r >= base + order.size()) {
            packed.append(Row(r));
        } else {
            const std::string_view own = Row(r), moved = Row(base + order[r - base]);
            int walked = 0, skipped = 0;
            packed.append(own.substr(0, FindCell(own, keep, walked)));
            for (; walked < keep; ++walked) // a short row keeps its place for the moved cells
                AppendCell(packed, {});
            const size_t tail = FindCell(moved, keep, skipped);
            if (tail < moved.size()) packed.append(moved.substr(tail));
        }
        sizes[r] = static_cast<uint32_t>(packed.size() - starts[r]);
    }
    block_.swap(packed);
    rowStart_.swap(starts);
    rowSize_.swap(sizes);
    live_ = block_.size();
}

void THistoryGrid::SetRow(int row, const std::vector<std::string>& texts) {
    for (size_t c = 0; c < texts.size(); ++c)
        SetCell(static_cast<int>(c), row, texts[c]);
}

void THistoryGrid::Clear() {
    const size_t rows = std::min(rowStart_.size(), static_cast<size_t>(rowCount_));
    for (size_t r = 0; r < rows; ++r) {
        const std::string_view cells = Row(r);
        int walked = 0;
        const size_t pos = FindCell(cells, colCount_, walked);
        if (pos >= cells.size()) { // every cell of the row lies inside the counts
            live_ -= rowSize_[r];
            rowSize_[r] = 0;
            continue;
        }
        std::string& kept = Scratch();
        for (int c = 0; c < colCount_; ++c)
            AppendCell(kept, {});
        kept.append(cells.substr(pos));
        SetRowBytes(r, kept);
    }
    // Nothing left: the next page writes into the same memory from its start.
    if (live_ == 0) {
        block_.clear();
        std::fill(rowStart_.begin(), rowStart_.end(), 0u);
    }
}

} // namespace quorlet
