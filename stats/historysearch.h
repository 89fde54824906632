// The search page of the history window: its filters, the results grid with its averages,
// the sort of the result rows and the Index of Speed, all over grid texts and GameHistory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/historygrid.h"

namespace quorlet {

// The search page's filter controls: levels, styles and inclusive ranges, each range with the
// check box that switches it on.
struct THistorySearchFilter {
    bool beg = true, inter = true, exp = true;
    bool flag = true, noFlag = true;
    bool date = false;
    uint16_t day1 = 1, month1 = 1, year1 = 2000, day2 = 31, month2 = 12, year2 = 2099;
    bool hour = false;
    uint16_t hour1 = 0, minute1 = 0, second1 = 0, hour2 = 23, minute2 = 59, second2 = 59;
    bool time = false;
    uint16_t timeSec1 = 0, timeHund1 = 0, timeSec2 = 999, timeHund2 = 99;
    bool rate = false;
    uint16_t rateWhole1 = 0, rateHund1 = 0, rateWhole2 = 99, rateHund2 = 99;
    bool bbbv = false;
    uint16_t bbbv1 = 1, bbbv2 = 379;
    // The text of the sort-key box.
    std::string sortKey;
};

// Day count for the date range: leap days are not counted within a year, so 29 February and
// 1 March share a number.
int64_t DayNumber(int day, int month, int year);
int64_t SecondsOfDay(int hour, int minute, int second);

// CLEAR: the results grid to its header, 8 columns and 1 row, with "Avg" waiting in row 1.
void ClearSearchGrid(THistoryGrid& sgs);
// DEFAULT: every level and style, the date from the date Now holds (before it is refreshed)
// to today, the whole day, every time, 3BV/s and 3BV 1..379, sorted by "Time"; only the date
// range switched on. Refreshes Now.
THistorySearchFilter DefaultSearchFilter();
// SEARCH: the admitted records of the table in table order from row 2 on, and their averages
// in row 1 ("W,pppp"). Ranges are inclusive; a range whose from lies above its to admits nothing.
void SearchHistory(THistoryGrid& sgs, const THistorySearchFilter& filter);

// A shown time or 3BV/s ("12,05" with the program's separator) in hundredths; empty when the
// text is not one.
std::optional<int64_t> ParseHundredths(std::string_view text);

// The ten sort keys in the order of the sort box: "Time", "Time inverse", "3BV/s" ... "Style inverse".
std::vector<std::string> SearchSortKeys();
// SORT: the result rows (2 ..) in the key's order, stable, the running numbers in column 0
// kept; an empty key sorts as "Time". Returns 0, or the key's operation number when a cell
// does not convert (the rows are then left as they were). Fewer than 3 rows: nothing to do.
int SortSearchResults(THistoryGrid& sgs, const std::string& key);
// The message of a failed sort: "Error occured!\r\noperation #" + the number.
std::string SortErrorText(int operation);
// More rows than this and the window asks before it sorts.
constexpr int kSortQuestionRows = 1000;

// Index of Speed over the first result rows. `input` is the answer to the "Exclude percents"
// question. On success `message` is the report and `clipboard` the report less its last 24
// characters; otherwise `message` is the error and `clipboard` is empty.
struct TIndexOfSpeed {
    std::string message;
    std::string clipboard;
};
// False when the grid has no result row (the window says "No data for calculations." and asks nothing).
bool HasSearchResults(const THistoryGrid& sgs);
TIndexOfSpeed IndexOfSpeed(const THistoryGrid& sgs, const std::string& input);

} // namespace quorlet
