// libFuzzer target: arbitrary bytes as "stats.dat", loaded into the history table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/FData.h"
#include "fuzz/fuzz_folder.h"
#include "stats/historyfile.h"

namespace {

const std::string& Folder() {
    return FuzzFolder("history");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    Options.LastPath = Folder();
    {
        std::ofstream out(Folder() + "stats.dat", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    LoadHistoryFile();
    // Every decoded slot ends before the end slot; walk them as a reader would.
    uint32_t n = 0;
    while (n < kHistoryCapacity && GameHistory[n].day != 0)
        ++n;
    if (GameHistory[kHistoryCapacity].day != 0) std::abort();
    // Whole records also go through the decoder directly.
    for (size_t i = 0; i + kHistoryFileRecordSize <= size; i += kHistoryFileRecordSize) {
        TGameRecord r;
        if (DecodeHistoryRecord(data + i, r)) DeriveRecordFields(r);
    }
    return 0;
}
