// libFuzzer target: arbitrary bytes as a kit block stream and as one block. Nothing decodes
// past a chunk per block, and any bytes compress to a stream that decodes to themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kit/engine/kitblock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string out;
    size_t used = 0;
    if (DecompressStream(bytes, out, &used)) {
        if (used > size || out.size() > (size / 5 + 1) * kKitChunkSize) std::abort();
    } else if (!out.empty()) {
        std::abort();
    }
    std::string block;
    if (DecompressBlock(bytes, block) && block.size() > kKitChunkSize) std::abort();
    if (block.size() > kKitChunkSize) std::abort();
    std::string back;
    if (!DecompressStream(CompressStream(bytes), back) || back != bytes) std::abort();
    if (size <= kKitChunkSize && CompressBlock(bytes).size() > size + 1) std::abort();
    return 0;
}
