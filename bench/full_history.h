// A full history table of 262,144 varied records for the benchmarks, filled once.
#pragma once

#include "core/FData.h"
#include "core/random.h"
#include "stats/gamerecord.h"

namespace quorlet {

inline void FillFullTable() {
    static bool filled = false;
    if (filled) return;
    filled = true;
    RandomSeed = 12345;
    for (uint32_t i = 0; i < kHistoryCapacity; ++i) {
        TGameRecord& r = GameHistory[i];
        r = TGameRecord{};
        r.day = static_cast<uint8_t>(1 + Random(28));
        r.month = static_cast<uint8_t>(1 + Random(12));
        r.year = static_cast<uint16_t>(2000 + Random(27));
        r.hour = static_cast<uint8_t>(Random(24));
        r.minute = static_cast<uint8_t>(Random(60));
        r.second = static_cast<uint8_t>(Random(60));
        r.level = static_cast<uint8_t>(Random(3));
        r.timeSec = static_cast<uint16_t>(1 + Random(300));
        r.timeHund = static_cast<uint8_t>(Random(100));
        r.bbbv = static_cast<uint16_t>(2 + Random(250));
        r.rightClicks = static_cast<uint16_t>(Random(2) ? 0 : Random(60));
        r.flagging = r.rightClicks > 0;
        r.leftClicks = static_cast<uint16_t>(1 + Random(300));
        r.doubleClicks = static_cast<uint16_t>(Random(80));
        DeriveRecordFields(r);
        HistorySelectionMask[i] = 1;
    }
    GameHistory[kHistoryCapacity] = TGameRecord{};
}

} // namespace quorlet
