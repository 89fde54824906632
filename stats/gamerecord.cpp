#include "stats/gamerecord.h"

#include <cmath>

#include "core/FData.h"

namespace quorlet {

void ExactBBBVs(uint32_t bbbv, uint32_t hundredths, uint8_t& whole, uint8_t& hund) {
    // Exact integers: the float quotient truncates 29 / 10.00 to 2.89.
    const uint64_t scaled = uint64_t{bbbv} * 10000u / hundredths;
    whole = static_cast<uint8_t>(scaled / 100);
    hund = static_cast<uint8_t>(scaled % 100);
}

void DeriveRecordFields(TGameRecord& record) {
    const uint32_t hundredths = record.timeSec * 100u + record.timeHund;
    const long double t = record.timeSec + record.timeHund / 100.0L;
    if (hundredths != 0) {
        record.bbbvsExact = static_cast<float>(record.bbbv / t);
        ExactBBBVs(record.bbbv, hundredths, record.bbbvsWhole, record.bbbvsHund);
    }
    const unsigned rateHund = record.bbbvsWhole * 100u + record.bbbvsHund;
    if (rateHund != 0) {
        const long double timePlusOne = record.timeSec + 1 + record.timeHund * 0.01L;
        record.rqp = static_cast<float>(timePlusOne / (record.bbbvsWhole + record.bbbvsHund * 0.01L));
    } else {
        record.rqp = 0;
    }
    record.ios = 0;
    // ln(1) = 0 and ln(0) fail; both, and any other non-finite result, give 0.
    if (record.level != 0 && hundredths != 0 && hundredths != 100) {
        const long double ios = std::log(static_cast<long double>(record.bbbv)) / std::log(t);
        if (std::isfinite(ios)) record.ios = static_cast<float>(ios);
    }
}

uint32_t FindFreeHistorySlot() {
    for (uint32_t i = 0; i < kHistoryCapacity; ++i)
        if (GameHistory[i].day == 0) return i;
    return kHistoryCapacity;
}

void ClearGameHistory() {
    GameHistory.fill(TGameRecord{});
    LevelGameCounts = {};
}

uint32_t HistoryRecordCount() {
    return FindFreeHistorySlot();
}

} // namespace quorlet
