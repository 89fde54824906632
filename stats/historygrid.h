// The string grid behind the history window's pages and its search results, without widgets:
// the window shows it through a table model, so a page of a full history costs no widget per
// cell. Like the grid it stands for, a cell keeps its text when the row or column count
// shrinks below it; only Clear (or a new text) empties it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorlet {

class THistoryGrid {
  public:
    static constexpr int kDefaultColWidth = 84;

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    // Counts below 0 become 0; new columns get the default width.
    void SetColCount(int count);
    void SetRowCount(int count);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // Sets the column count to the number of widths and the widths in order.
    void SetColWidths(const std::vector<int>& widths);

    // The text of a cell, also past the counts; empty for a cell never written.
    std::string_view CellView(int col, int row) const;
    std::string Cell(int col, int row) const { return std::string(CellView(col, row)); }
    // Negative positions are ignored; a text is kept up to 65,535 bytes.
    void SetCell(int col, int row, std::string_view text);
    // Writes the texts into one row from column 0 on, without a temporary list (long pages).
    template <typename... Texts> void SetCells(int row, const Texts&... texts) {
        const std::string_view views[] = {std::string_view(texts)...};
        SetCells(row, views, sizeof...(texts));
    }
    void SetCells(int row, const std::string_view* texts, size_t count);
    // Rows first .. first + order.size() - 1 take, from column `keep` on, the cells of rows
    // first + order[i]; their first `keep` cells stay where they are.
    void ReorderRows(int first, const std::vector<size_t>& order, int keep);
    // Writes the texts into one row from column 0 on.
    void SetRow(int row, const std::vector<std::string>& texts);

    // Room for `rows` rows of about `bytesPerRow` bytes of text: a long page fills its block
    // without moving it as it grows.
    void Reserve(int rows, size_t bytesPerRow);

    // Empties every cell inside the current column and row counts.
    void Clear();

  private:
    std::string_view Row(size_t row) const;
    // The row's cells become `bytes` (which must not lie inside the block).
    void SetRowBytes(size_t row, std::string_view bytes);
    // Drops the stale bytes of rows that moved.
    void Pack();

    int colCount_ = 2;
    int rowCount_ = 1;
    std::vector<int> widths_ = std::vector<int>(2, kDefaultColWidth);
    // Every row's cells, each a two-byte length and then its bytes, lie in one block: row r at
    // rowStart_[r], rowSize_[r] bytes long. A row that grows moves to the block's end, and the
    // block is packed once most of it is stale. A page of a full history so costs no allocation
    // a row, and the next page reuses the block.
    std::string block_;
    std::vector<uint32_t> rowStart_;
    std::vector<uint32_t> rowSize_;
    size_t live_ = 0;
};

// One row's texts gathered side by side in one buffer and set at once: the long pages format
// every cell this way, without a string a cell.
class THistoryRow {
  public:
    // The text is copied.
    THistoryRow& Text(std::string_view text);
    THistoryRow& Number(uint64_t value);
    // `put(out)` writes a text into `out` (room for kRoom characters) and returns its length.
    static constexpr size_t kRoom = 32;
    template <typename Put> THistoryRow& Format(Put put) {
        if (count_ < kCells && used_ + kRoom <= kBytes) Close(put(buffer_ + used_));
        return *this;
    }
    // Writes the texts into `row` of the grid from column 0 on; the row is empty again after.
    void SetInto(THistoryGrid& grid, int row);

  private:
    void Close(size_t bytes);

    static constexpr size_t kBytes = 512, kCells = 16;
    char buffer_[kBytes];
    size_t used_ = 0;
    size_t ends_[kCells];
    size_t count_ = 0;
};

} // namespace quorlet
