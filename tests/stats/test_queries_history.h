// Small fixture histories for the query tests: records written straight into GameHistory.
#pragma once

#include <vector>

#include "core/FData.h"

namespace quorlet::test {

// Game on a level with a time; other fields set by the caller. The date defaults to a valid day.
inline TGameRecord Game(uint8_t level, uint16_t seconds, uint8_t hundredths) {
    TGameRecord r;
    r.day = 1;
    r.month = 1;
    r.year = 2026;
    r.level = level;
    r.timeSec = seconds;
    r.timeHund = hundredths;
    return r;
}

// Replaces the table's contents by the records, in order, followed by an end slot.
inline void LoadHistory(const std::vector<TGameRecord>& records) {
    GameHistory.fill(TGameRecord{});
    for (size_t i = 0; i < records.size() && i < kHistoryCapacity; ++i)
        GameHistory[i] = records[i];
}

} // namespace quorlet::test
