// The video recorder: appends at the clock's stamp, the eight-byte form, and the buffer limit.
#include <gtest/gtest.h>

#include "core/FData.h"
#include "core/clock.h"
#include "core/video.h"
#include "testutil.h"

namespace quorlet {
namespace {

using VideoTest = test::EngineTest;

TEST_F(VideoTest, RecordersStampTheClockAndSetTheirOneFlag) {
    SetClock(12, 34);
    RecordLeftPress(1, 2);
    RecordLeftRelease(3, 4);
    RecordRightPress(5, 6);
    RecordRightRelease(7, 8);
    RecordMiddlePress(9, 10);
    RecordMiddleRelease(11, 12);
    RecordMouseMove(13, 14);
    ASSERT_EQ(VideoEventCount, 7u);
    for (uint32_t i = 0; i < 7; ++i) {
        const TVideoEvent& e = VideoEvents[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(e.seconds, 12);
        EXPECT_EQ(e.hundredths, 34);
        EXPECT_EQ(e.x, 2 * i + 1);
        EXPECT_EQ(e.y, 2 * i + 2);
        const int flags[6] = {e.leftPress,    e.leftRelease, e.rightPress,
                              e.rightRelease, e.middlePress, e.middleRelease};
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(flags[f], f == static_cast<int>(i) ? 1 : 0);
    }
}

TEST_F(VideoTest, ClearVideoEventsZeroesCountAndSlots) {
    RecordLeftPress(300, 20);
    RecordMouseMove(1, 1);
    ClearVideoEvents();
    EXPECT_EQ(VideoEventCount, 0u);
    EXPECT_EQ(VideoEvents[0].x, 0);
    EXPECT_EQ(VideoEvents[0].leftPress, 0);
    EXPECT_EQ(VideoEvents[1].y, 0);
}

struct EncodeCase {
    const char* name;
    TVideoEvent event;
    uint16_t timeAdd;
    std::array<uint8_t, 8> bytes;
};

TEST_F(VideoTest, EncodeVideoEventLaysOutTheEightBytes) {
    const EncodeCase cases[] = {
        {"left press", {5, 7, 300, 20, 1, 0, 0, 0, 0, 0}, 1, {3, 1, 6, 44, 7, 0, 0, 20}},
        {"position sample", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, {1, 0, 1, 0, 0, 0, 0, 0}},
        {"end marker", {}, 0, {1, 0, 0, 0, 0, 0, 0, 0}},
        {"every flag, large values",
         {999, 99, 479, 511, 1, 1, 1, 1, 1, 1},
         1,
         {127, 1, 0xE8, 0xDF, 99, 1, 3, 0xFF}},
        {"stored time wraps at 65536", {65535, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, {1, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        VideoEvents[0] = c.event;
        EXPECT_EQ(EncodeVideoEvent(0, c.timeAdd), c.bytes);
    }
}

TEST_F(VideoTest, DecodeVideoEventUndoesEncoding) {
    const TVideoEvent events[] = {
        {5, 7, 300, 20, 1, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {998, 99, 65535, 256, 0, 1, 0, 1, 0, 1},
        {17, 3, 4, 5, 0, 0, 1, 0, 1, 0},
    };
    for (const TVideoEvent& e : events) {
        VideoEvents[0] = e;
        const auto bytes = EncodeVideoEvent(0, 1);
        VideoEvents[1] = TVideoEvent{};
        ASSERT_TRUE(DecodeVideoEvent(1, bytes));
        const TVideoEvent& d = VideoEvents[1];
        EXPECT_EQ(d.seconds, e.seconds);
        EXPECT_EQ(d.hundredths, e.hundredths);
        EXPECT_EQ(d.x, e.x);
        EXPECT_EQ(d.y, e.y);
        EXPECT_EQ(d.leftPress, e.leftPress);
        EXPECT_EQ(d.rightPress, e.rightPress);
        EXPECT_EQ(d.middlePress, e.middlePress);
        EXPECT_EQ(d.leftRelease, e.leftRelease);
        EXPECT_EQ(d.rightRelease, e.rightRelease);
        EXPECT_EQ(d.middleRelease, e.middleRelease);
    }
}

TEST_F(VideoTest, DecodeZeroTimeGivesTheEndStamp) {
    ASSERT_TRUE(DecodeVideoEvent(0, std::array<uint8_t, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(VideoEvents[0].seconds, 1000);
}

TEST_F(VideoTest, DecodeRejectsWrongLengthAndIndexPastTheBuffer) {
    VideoEvents[0].x = 77;
    const uint8_t seven[7] = {3, 1, 6, 44, 7, 0, 0};
    EXPECT_FALSE(DecodeVideoEvent(0, std::basic_string_view<uint8_t>(seven, 7)));
    EXPECT_EQ(VideoEvents[0].x, 77);
    EXPECT_FALSE(DecodeVideoEvent(kVideoSlots, std::array<uint8_t, 8>{3, 1, 6, 44, 7, 0, 0, 20}));
    EXPECT_EQ(EncodeVideoEvent(kVideoSlots, 1), (std::array<uint8_t, 8>{1, 0, 1, 0, 0, 0, 0, 0}));
}

TEST_F(VideoTest, AppendsStopBeforeTheEndSlots) {
    VideoEventCount = kVideoMaxEvents - 1;
    RecordLeftPress(1, 1);
    EXPECT_EQ(VideoEventCount, kVideoMaxEvents);
    RecordLeftRelease(2, 2);
    RecordMouseMove(3, 3);
    EXPECT_EQ(VideoEventCount, kVideoMaxEvents);
    // The writer's six end slots stay zero.
    for (uint32_t i = kVideoMaxEvents; i < kVideoSlots; ++i)
        EXPECT_EQ(VideoEvents[i].x, 0);
}

TEST_F(VideoTest, ReplayByteSumAddsUnsignedBytes) {
    EXPECT_EQ(ReplayByteSum(""), 0u);
    EXPECT_EQ(ReplayByteSum("abc"), 97u + 98u + 99u);
    EXPECT_EQ(ReplayByteSum("\xFF\x01"), 256u);
}

} // namespace
} // namespace quorlet
