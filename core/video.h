// The game video: mouse events stamped with the game clock, and their eight-byte file form.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace quorlet {

// One recorded event; all six flags 0 make a position sample (a move or a clock tick).
struct TVideoEvent {
    uint16_t seconds = 0; // 1000 in a decoded end marker
    uint8_t hundredths = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint8_t leftPress = 0;
    uint8_t rightPress = 0;
    uint8_t middlePress = 0;
    uint8_t leftRelease = 0;
    uint8_t rightRelease = 0;
    uint8_t middleRelease = 0;
};

// Slots of VideoEvents (the globals live in core/FData).
constexpr uint32_t kVideoSlots = 500001;
// Slots kept free after the last event: the player reads up to six events past it.
constexpr uint32_t kVideoReserve = 6;
// Most events a game may record, so that its end slots still fit in the buffer.
constexpr uint32_t kVideoMaxEvents = kVideoSlots - kVideoReserve;

// VideoEventCount := 0 and the whole buffer zeroed.
void ClearVideoEvents();

// Each appends one event at the clock's stamp with its one flag set; x, y are board pixels.
// Appends stop (silently) once the buffer's reserved end slots would be reached.
void RecordLeftPress(uint16_t x, uint16_t y);
void RecordLeftRelease(uint16_t x, uint16_t y);
void RecordRightPress(uint16_t x, uint16_t y);
void RecordRightRelease(uint16_t x, uint16_t y);
void RecordMiddlePress(uint16_t x, uint16_t y);
void RecordMiddleRelease(uint16_t x, uint16_t y);
// A position sample (no flag).
void RecordMouseMove(uint16_t x, uint16_t y);

// The eight-byte form of event `index`; its stored time is seconds + timeAdd (mod 65536).
// An index outside the buffer encodes a zero event.
std::array<uint8_t, 8> EncodeVideoEvent(uint32_t index, uint16_t timeAdd);
// Writes the decoded event into slot `index` (zero beforehand); a wrong length or an index
// outside the buffer leaves everything untouched. Returns whether the slot was written.
bool DecodeVideoEvent(uint32_t index, std::span<const uint8_t> bytes);
bool DecodeVideoEvent(uint32_t index, const std::array<uint8_t, 8>& bytes);

// Sum of the byte values of a text (0 when empty).
uint32_t ReplayByteSum(std::string_view text);

} // namespace quorlet
