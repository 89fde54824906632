// libFuzzer target: arbitrary bytes as a video file. A file that loads must leave a board and a
// video inside their buffers, and must save and load again. The same bytes also go through the
// file reader and the open-for-playback steps, and a video that opens is played to its end.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "core/FData.h"
#include "core/playback.h"
#include "core/qvf.h"

namespace {

const std::string& VideoPath() {
    static const std::string path = [] {
        char shm[] = "/dev/shm/quorlet-fuzz-qvf-XXXXXX";
        char tmp[] = "/tmp/quorlet-fuzz-qvf-XXXXXX";
        const char* made = ::mkdtemp(shm);
        if (!made) made = ::mkdtemp(tmp);
        if (!made) return std::string("/tmp/quorlet-fuzz.qvf");
        static const std::string folder = made;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        });
        return folder + "/fuzz.qvf";
    }();
    return path;
}

void CheckLoaded() {
    using namespace quorlet;
    if (LastColumn >= kMaxColumns || LastRow >= kMaxRows || GameLevel > glCustom) std::abort();
    if (uint64_t{VideoEventCount} + 1 > kVideoSlots) std::abort();
    uint32_t mines = 0;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            mines += HiddenBoard[c][r] == csMine;
    if (mines != MineCount) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    if (LoadReplayBytes(std::span<const uint8_t>(data, size))) {
        CheckLoaded();
        // What was read is written back with the writer's own end markers and read again.
        if (VideoEventCount >= 5) {
            const auto bytes = BuildReplayBytes("[fuzz]", VideoEventCount - 5);
            if (!LoadReplayBytes(bytes)) std::abort();
        }
    }

    {
        std::ofstream out(VideoPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ReplayMode = 0;
    if (!OpenReplayFile(VideoPath())) return 0;
    CheckLoaded();
    // Each tick plays at least one event, so playback always reaches its end.
    while (ReplayMode && VideoPlaybackIndex <= VideoEventCount) {
        const uint32_t before = VideoPlaybackIndex;
        PlaybackTick();
        if (VideoPlaybackIndex == 0) break; // an end marker stopped it
        if (VideoPlaybackIndex <= before) std::abort();
    }
    StopPlayback();
    return 0;
}
