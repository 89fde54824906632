// One won game as kept in the history table, and the table itself (globals in core/FData).
#pragma once

#include <array>
#include <cstdint>

namespace quorlet {

// Fields in the stored order; not byte-packed since the history file is encoded field by field.
struct TGameRecord {
    uint8_t day = 0; // 0 marks the end of the table
    uint8_t month = 0;
    uint16_t year = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
    uint16_t timeSec = 0;
    uint8_t timeHund = 0;
    uint16_t bbbv = 0;
    uint8_t bbbvsWhole = 0;
    uint8_t bbbvsHund = 0;
    uint8_t level = 0;
    uint8_t flagging = 0;
    // Indexed by the number shown: cellCount[1] .. cellCount[8]; cellCount[0] stays 0.
    std::array<uint16_t, 9> cellCount{};
    uint16_t rightClicks = 0;
    uint16_t leftClicks = 0;
    uint16_t doubleClicks = 0;
    uint16_t effLeftClicks = 0;
    uint16_t effRightClicks = 0;
    uint16_t effDoubleClicks = 0;
    uint8_t openings = 0;
    uint8_t islands = 0;
    uint32_t path = 0;
    float rqp = 0;
    float ios = 0;
    float bbbvsExact = 0;
};

// Records held at most; GameHistory has one more slot, always an end slot. Also the "none" index.
constexpr uint32_t kHistoryCapacity = 262144;
constexpr uint32_t kHistorySlots = kHistoryCapacity + 1;

// 3BV/s in exact integers, as the record keeps it (whole part in the byte it is stored in, and
// the truncated hundredths); `hundredths` is the time in hundredths of a second, not 0.
void ExactBBBVs(uint32_t bbbv, uint32_t hundredths, uint8_t& whole, uint8_t& hund);

// Computes bbbvsWhole, bbbvsHund, bbbvsExact, rqp and ios from the other fields.
void DeriveRecordFields(TGameRecord& record);
// Index of the first slot whose day is 0 (kHistoryCapacity when the table is full).
uint32_t FindFreeHistorySlot();
// Zeroes every slot and the three LevelGameCounts.
void ClearGameHistory();
// Number of records in the table (slots before the first end slot).
uint32_t HistoryRecordCount();

} // namespace quorlet
