// A full history of 262,144 generated records (all levels, both styles, many ties), made again
// only when the other kind is asked for.
#pragma once

#include <cstdint>
#include <fstream>
#include <random>
#include <string>

#include "core/FData.h"
#include "stats/historyfile.h"

namespace quorlet::bench {

// `allExpert`: every game on Expert, the longest pages of one level.
inline void MakeFullHistory(bool allExpert = false) {
    static int made = -1;
    if (made == static_cast<int>(allExpert)) return;
    made = allExpert;
    std::mt19937 gen(262144);
    const auto pick = [&gen](unsigned lo, unsigned hi) { return lo + gen() % (hi - lo + 1); };
    for (uint32_t i = 0; i < kHistoryCapacity; ++i) {
        TGameRecord g;
        g.level = static_cast<uint8_t>(allExpert ? 2 : i % 3);
        g.year = static_cast<uint16_t>(pick(2005, 2026));
        g.month = static_cast<uint8_t>(pick(1, 12));
        g.day = static_cast<uint8_t>(pick(1, 28));
        g.hour = static_cast<uint8_t>(pick(0, 23));
        g.minute = static_cast<uint8_t>(pick(0, 59));
        g.second = static_cast<uint8_t>(pick(0, 59));
        g.timeSec = static_cast<uint16_t>(pick(1, 400));
        g.timeHund = static_cast<uint8_t>(pick(0, 99));
        g.bbbv = static_cast<uint16_t>(pick(2, 300));
        g.rightClicks = static_cast<uint16_t>(gen() % 2 * pick(1, 50));
        g.flagging = g.rightClicks > 0;
        g.leftClicks = static_cast<uint16_t>(pick(1, 400));
        g.cellCount[1] = static_cast<uint16_t>(pick(0, 40));
        g.path = pick(0, 100000);
        DeriveRecordFields(g);
        GameHistory[i] = g;
    }
    GameHistory[kHistoryCapacity] = TGameRecord{};
    LevelGameCounts = {};
    for (uint32_t i = 0; i < kHistoryCapacity; ++i)
        ++LevelGameCounts[GameHistory[i].level];
}

// Writes a "stats.dat" of `games` records as the game stores them, record i being recordOf(i).
template <typename TRecordOf>
void WriteHistoryFile(const std::string& path, uint32_t games, TRecordOf recordOf) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (uint32_t i = 0; i < games; ++i) {
        const THistoryFileRecord bytes = EncodeHistoryRecord(recordOf(i));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

} // namespace quorlet::bench
