// libFuzzer target: arbitrary bytes as "stats.dat", loaded into the history table. Each whole
// record gets its check bytes filled in first, so that fuzzed values reach the decoder's derived
// fields, the queries, the record pages and the rank variables instead of stopping at the check.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <algorithm>

#include "core/FData.h"
#include "stats/FMath.h"
#include "fuzz/fuzz_folder.h"
#include "stats/historyfile.h"
#include "stats/queries.h"
#include "stats/records.h"

namespace {

const std::string& Folder() {
    return FuzzFolder("history");
}

// Runs every table-wide query and formula over what was loaded.
void Query() {
    using namespace quorlet;
    for (uint8_t level = 0; level <= 3; ++level) {
        uint16_t seconds = 0, bbbv = 0, whole16 = 0;
        uint8_t hund = 0, whole = 0;
        FindBestTime(level, seconds, hund);
        FindBest3BVs(level, whole, hund);
        FindMin3BV(level, bbbv);
        FindWorstTime(level, seconds, hund);
        FindWorst3BVs(level, whole, hund);
        FindMax3BV(level, bbbv);
        AverageTime(level, whole16, hund);
        Average3BVs(level, whole, hund);
        Average3BV(level, whole16, hund);
        FindNextByTime(level, 10, 0, seconds, hund);
        FindNextByTimeMasked(level, 10, 0, seconds, hund);
        FindNextBy3BVs(level, 1, 0, whole, hund);
        FindNextBy3BVsMasked(level, 1, 0, whole, hund);
        CountGamesOfLevel(level);
        CountFlagGamesOfLevel(level);
        for (auto selection : {TRecordSelection::All, TRecordSelection::Flag, TRecordSelection::NoFlag})
            for (auto measure : {TRecordMeasure::Time, TRecordMeasure::BBBVs, TRecordMeasure::RQP,
                                 TRecordMeasure::IOS, TRecordMeasure::IOE}) {
                RecordIOE(BestRecordIndex(level, selection, measure));
                Top25Average(level, selection, measure);
            }
        BestRecordPage(level);
        Top25AveragePage(level);
    }
    uint8_t whole = 0, hund = 0;
    AverageAll3BVs(whole, hund);
    MostPlayedLevel();
    AverageTimeOfDay();
    AverageGameDate();
    // The rank variables scan the table against a won game of each level.
    Board3BV = Solved3BV = 7;
    GameClock = {1, 25};
    for (uint8_t level = 0; level <= 3; ++level) {
        GameLevel = level;
        EvaluateFormula("RANKTIME+GLRANKTIME+RANKBBBVS+GLRANKBBBVS+RANKRQP+GLRANKRQP+RANKIOS+GLRANKIOS+RPI+"
                        "GLOBRPI+TOTALGAMES=");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    Options.LastPath = Folder();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first byte decides whether the check bytes are left as they came (damaged files).
    const bool fillChecks = size > 0 && (data[0] & 1);
    if (fillChecks)
        for (size_t i = 0; i + kHistoryFileRecordSize <= size; i += kHistoryFileRecordSize) {
            const std::string check = HistoryRecordCheck(std::string_view(bytes).substr(i, kHistoryFileRecordSize - 3));
            bytes.replace(i + kHistoryFileRecordSize - 3, 3, check);
        }
    {
        std::ofstream out(Folder() + "stats.dat", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    LoadHistoryFile();
    // Every decoded slot ends before the end slot; walk them as a reader would.
    uint32_t n = 0;
    while (n < kHistoryCapacity && GameHistory[n].day != 0)
        ++n;
    if (GameHistory[kHistoryCapacity].day != 0) std::abort();
    Query();
    // Whole records also go through the decoder directly.
    for (size_t i = 0; i + kHistoryFileRecordSize <= size; i += kHistoryFileRecordSize) {
        TGameRecord r;
        if (DecodeHistoryRecord(reinterpret_cast<const uint8_t*>(bytes.data()) + i, r)) DeriveRecordFields(r);
    }
    return 0;
}
