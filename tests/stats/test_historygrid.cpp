#include <gtest/gtest.h>

#include "stats/historygrid.h"

namespace quorlet::test {
namespace {

TEST(HistoryGrid, StartsAsTheDesignedGrid) {
    THistoryGrid g;
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.ColWidth(0), 84);
    EXPECT_EQ(g.ColWidth(2), 0);
    EXPECT_EQ(g.Cell(5, 7), "");
}

TEST(HistoryGrid, WidthsSetTheColumnCount) {
    THistoryGrid g;
    g.SetColWidths({46, 84, 70});
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.ColWidth(2), 70);
    g.SetColCount(5);
    EXPECT_EQ(g.ColWidth(2), 70);
    EXPECT_EQ(g.ColWidth(4), 84);
    g.SetColWidth(9, 1); // past the count: ignored
    g.SetColCount(-3);
    EXPECT_EQ(g.ColCount(), 0);
}

// The search page writes its averages label into a row past the row count and relies on it
// staying until the grid grows over it.
TEST(HistoryGrid, CellsPastTheCountsKeepTheirTextUntilCleared) {
    THistoryGrid g;
    g.SetColCount(8);
    g.SetRowCount(1);
    g.SetCell(0, 1, "Avg");
    g.SetCell(7, 3, "x");
    g.SetCell(-1, 0, "ignored");
    g.Clear(); // only row 0 lies inside the counts
    EXPECT_EQ(g.Cell(0, 1), "Avg");
    g.SetRowCount(4);
    EXPECT_EQ(g.Cell(7, 3), "x");
    g.SetColCount(7);
    g.Clear(); // column 7 now lies outside
    EXPECT_EQ(g.Cell(0, 1), "");
    EXPECT_EQ(g.Cell(7, 3), "x");
    g.SetColCount(8);
    g.Clear();
    EXPECT_EQ(g.Cell(7, 3), "");
}

TEST(HistoryGrid, RowWritesFromColumnZero) {
    THistoryGrid g;
    g.SetRow(2, {"a", "", "c"});
    EXPECT_EQ(g.Cell(0, 2), "a");
    EXPECT_EQ(g.Cell(1, 2), "");
    EXPECT_EQ(g.Cell(2, 2), "c");
}

} // namespace
} // namespace quorlet::test

namespace quorlet::test {
namespace {

TEST(HistoryGrid, WholeRowsKeepTheCellsPastThem) {
    THistoryGrid g;
    g.SetRow(1, {"a", "b", "c", "d"});
    g.SetCells(1, std::string("x"), "", std::string_view("z"));
    EXPECT_EQ(g.Cell(0, 1), "x");
    EXPECT_EQ(g.Cell(1, 1), "");
    EXPECT_EQ(g.Cell(2, 1), "z");
    EXPECT_EQ(g.Cell(3, 1), "d");
}

TEST(HistoryGrid, ReorderMovesAllButTheKeptColumns) {
    THistoryGrid g;
    g.SetRow(2, {"1", "a", "A"});
    g.SetRow(3, {"2", "b"});
    g.SetRow(4, {"3"});
    g.ReorderRows(2, {2, 0, 1}, 1);
    EXPECT_EQ(g.Cell(0, 2), "1");
    EXPECT_EQ(g.Cell(1, 2), "");
    EXPECT_EQ(g.Cell(0, 3), "2");
    EXPECT_EQ(g.Cell(1, 3), "a");
    EXPECT_EQ(g.Cell(2, 3), "A");
    EXPECT_EQ(g.Cell(0, 4), "3");
    EXPECT_EQ(g.Cell(1, 4), "b");
}

} // namespace
} // namespace quorlet::test
