#include "core/video.h"

#include <algorithm>

#include "core/FData.h"

namespace quorlet {

namespace {

enum : uint8_t {
    kFlagWritten = 0x01,
    kFlagLeftPress = 0x02,
    kFlagLeftRelease = 0x04,
    kFlagRightPress = 0x08,
    kFlagRightRelease = 0x10,
    kFlagMiddlePress = 0x20,
    kFlagMiddleRelease = 0x40,
};

// Returns the next slot, or nullptr once the end slots would no longer fit.
TVideoEvent* AppendEvent(uint16_t x, uint16_t y) {
    if (VideoEventCount >= kVideoMaxEvents) return nullptr;
    TVideoEvent& e = VideoEvents[VideoEventCount++];
    VideoEventsUsed = std::max(VideoEventsUsed, VideoEventCount);
    e = TVideoEvent{};
    e.seconds = GameClock.seconds;
    e.hundredths = GameClock.hundredths;
    e.x = x;
    e.y = y;
    return &e;
}

// An event with one button flag set.
void AppendPress(uint16_t x, uint16_t y, uint8_t TVideoEvent::*flag) {
    if (TVideoEvent* e = AppendEvent(x, y)) e->*flag = 1;
}

} // namespace

void ClearVideoEvents() {
    // A slot written past the used mark by hand (the count names the last event) is cleared too.
    const uint32_t used =
        std::min(std::max<uint64_t>(VideoEventsUsed, uint64_t{VideoEventCount} + 1), uint64_t{kVideoSlots});
    std::fill_n(VideoEvents.begin(), used, TVideoEvent{});
    VideoEventCount = 0;
    VideoEventsUsed = 0;
}

void RecordLeftPress(uint16_t x, uint16_t y) {
    AppendPress(x, y, &TVideoEvent::leftPress);
}
void RecordLeftRelease(uint16_t x, uint16_t y) {
    AppendPress(x, y, &TVideoEvent::leftRelease);
}
void RecordRightPress(uint16_t x, uint16_t y) {
    AppendPress(x, y, &TVideoEvent::rightPress);
}
void RecordRightRelease(uint16_t x, uint16_t y) {
    AppendPress(x, y, &TVideoEvent::rightRelease);
}
void RecordMiddlePress(uint16_t x, uint16_t y) {
    AppendPress(x, y, &TVideoEvent::middlePress);
}
void RecordMiddleRelease(uint16_t x, uint16_t y) {
    AppendPress(x, y, &TVideoEvent::middleRelease);
}
void RecordMouseMove(uint16_t x, uint16_t y) {
    AppendEvent(x, y);
}

std::array<uint8_t, 8> EncodeVideoEvent(uint32_t index, uint16_t timeAdd) {
    const TVideoEvent e = index < kVideoSlots ? VideoEvents[index] : TVideoEvent{};
    uint8_t flags = kFlagWritten;
    if (e.leftPress) flags |= kFlagLeftPress;
    if (e.leftRelease) flags |= kFlagLeftRelease;
    if (e.rightPress) flags |= kFlagRightPress;
    if (e.rightRelease) flags |= kFlagRightRelease;
    if (e.middlePress) flags |= kFlagMiddlePress;
    if (e.middleRelease) flags |= kFlagMiddleRelease;
    const auto stored = static_cast<uint16_t>(e.seconds + timeAdd);
    return {flags,
            static_cast<uint8_t>(e.x >> 8),
            static_cast<uint8_t>(stored & 0xFF),
            static_cast<uint8_t>(e.x & 0xFF),
            e.hundredths,
            static_cast<uint8_t>(e.y >> 8),
            static_cast<uint8_t>(stored >> 8),
            static_cast<uint8_t>(e.y & 0xFF)};
}

bool DecodeVideoEvent(uint32_t index, std::span<const uint8_t> bytes) {
    if (bytes.size() != 8 || index >= kVideoSlots) return false;
    TVideoEvent& e = VideoEvents[index];
    VideoEventsUsed = std::max(VideoEventsUsed, index + 1);
    e.x = static_cast<uint16_t>(bytes[1] << 8 | bytes[3]);
    e.y = static_cast<uint16_t>(bytes[5] << 8 | bytes[7]);
    e.hundredths = bytes[4];
    const auto t = static_cast<uint16_t>(bytes[6] << 8 | bytes[2]);
    e.seconds = t == 0 ? 1000 : static_cast<uint16_t>(t - 1);
    // Clear bits leave their fields alone: the reader zeroes the buffer first.
    const uint8_t flags = bytes[0];
    if (flags & kFlagLeftPress) e.leftPress = 1;
    if (flags & kFlagLeftRelease) e.leftRelease = 1;
    if (flags & kFlagRightPress) e.rightPress = 1;
    if (flags & kFlagRightRelease) e.rightRelease = 1;
    if (flags & kFlagMiddlePress) e.middlePress = 1;
    if (flags & kFlagMiddleRelease) e.middleRelease = 1;
    return true;
}

bool DecodeVideoEvent(uint32_t index, const std::array<uint8_t, 8>& bytes) {
    return DecodeVideoEvent(index, std::span<const uint8_t>(bytes.data(), bytes.size()));
}

uint32_t ReplayByteSum(std::string_view text) {
    uint32_t sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return sum;
}

} // namespace quorlet
