// libFuzzer target: arbitrary bytes as a kit item record, container and library file of each
// list kind. What reads must write and read again to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "kit/engine/kitlists.h"

namespace {

bool Same(const quorlet::TKitItemRecord& a, const quorlet::TKitItemRecord& b) {
    return a.Data == b.Data && a.Strip == b.Strip && a.Mask == b.Mask && a.Description == b.Description &&
           a.Ident == b.Ident && a.FrameCount == b.FrameCount && a.Width == b.Width && a.Height == b.Height;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (int k = 0; k < 4; ++k) {
        const auto kind = static_cast<TKitListKind>(k);
        TKitReader recordIn(bytes);
        TKitItemRecord record;
        if (ReadItemRecord(recordIn, kind, record)) {
            std::string out;
            WriteItemRecord(out, kind, record);
            TKitReader again(out);
            TKitItemRecord back;
            if (!ReadItemRecord(again, kind, back) || !Same(back, record)) std::abort();
        }
        for (bool withIndex : {false, true}) {
            TKitReader in(bytes);
            std::vector<TKitItemRecord> items;
            if (ReadContainer(in, kind, withIndex, items) && items.size() > size) std::abort();
        }
        std::vector<TKitItemRecord> items;
        if (ReadLibraryFile(bytes, kind, items)) {
            const std::string file = LibraryFileBytes(kind, items);
            std::vector<TKitItemRecord> back;
            if (!ReadLibraryFile(file, kind, back) || back.size() != items.size()) std::abort();
        }
    }
    TKitLibraryIndex index;
    if (DetectLibraryFile(bytes, index)) {
        for (size_t n = 0; n < index.Positions.size(); ++n) {
            if (index.Positions[n] >= size) std::abort();
            TKitItemRecord item;
            (void)ReadLibraryItem(bytes, index, n, static_cast<TKitListKind>(index.Signature % 4), item);
        }
    }
    return 0;
}
