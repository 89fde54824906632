// The string grid behind the history window's pages and its search results, without widgets:
// the window shows it through a table model, so a page of a full history costs no widget per
// cell. Like the grid it stands for, a cell keeps its text when the row or column count
// shrinks below it; only Clear (or a new text) empties it.
#pragma once

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

    // Empties every cell inside the current column and row counts.
    void Clear();

  private:
    int colCount_ = 2;
    int rowCount_ = 1;
    std::vector<int> widths_ = std::vector<int>(2, kDefaultColWidth);
    // One string per row: each cell as a two-byte length, then its bytes. A long page so
    // costs one allocation a row instead of one a cell.
    std::vector<std::string> rows_;
};

} // namespace quorlet
