// The search page of the history window: its filters, the results grid with its averages,
// the sort of the result rows and the Index of Speed, all over grid texts and GameHistory.
#pragma once

#include <cstdint>
#include <string>

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

} // namespace quorlet
