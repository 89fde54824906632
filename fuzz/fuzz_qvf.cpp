// libFuzzer target: arbitrary bytes as a video file. A file that loads must leave a board and a
// video inside their buffers, and must save and load again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/FData.h"
#include "core/qvf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    if (!LoadReplayBytes(std::span<const uint8_t>(data, size))) return 0;
    if (LastColumn >= kMaxColumns || LastRow >= kMaxRows || GameLevel > glCustom) std::abort();
    if (uint64_t{VideoEventCount} + 1 > kVideoSlots) std::abort();
    uint32_t mines = 0;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            mines += HiddenBoard[c][r] == csMine;
    if (mines != MineCount) std::abort();
    // What was read is written back with the writer's own end markers and read again.
    if (VideoEventCount >= 5) {
        const auto bytes = BuildReplayBytes("[fuzz]", VideoEventCount - 5);
        if (!LoadReplayBytes(bytes)) std::abort();
    }
    return 0;
}
