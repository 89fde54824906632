// Summary and ranking pages, the outline dispatch and the cell texts the pages share.
#include "stats/historypages.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/FData.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "stats/queries.h"

namespace quorlet {

namespace {

// Date, hour, 3BV, 3BV/s and time of a record, from column 2 on.
void WriteGameColumns(THistoryGrid& sg, int row, const TGameRecord& r) {
    sg.SetCell(2, row, FormatDate(r.day, r.month, r.year));
    sg.SetCell(3, row, FormatClockTime(r.hour, r.minute, r.second));
    sg.SetCell(4, row, std::to_string(r.bbbv));
    sg.SetCell(5, row, FormatGameTimePlain(r.bbbvsWhole, r.bbbvsHund));
    sg.SetCell(6, row, FormatGameTime(r.timeSec, r.timeHund));
}

const TGameRecord& RecordAt(int32_t index) {
    // kHistoryNone is the table's end slot, all zeros.
    return GameHistory[static_cast<size_t>(std::clamp<int32_t>(index, 0, kHistoryNone))];
}

} // namespace

std::string StyleText(uint8_t flagging) {
    return UIText(flagging == 1 ? "0198" : "0199");
}

std::string LevelText(uint8_t level) {
    static constexpr const char* kKeys[3] = {"0186", "0187", "0188"};
    return level <= 2 ? UIText(kKeys[level]) : std::string("ERROR");
}

std::string FormatPlayTime(uint64_t hundredths) {
    const uint64_t s = hundredths / 100;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%llu:%02u:%02u", static_cast<unsigned long long>(hundredths / 360000),
                  static_cast<unsigned>(s % 3600 / 60), static_cast<unsigned>(s % 60));
    return buf;
}

void ClearHistoryGrid(THistoryGrid& sg) {
    sg.Clear();
}

// ---- Summary ----

void FillLevelSummary(THistoryGrid& sg, uint8_t level) {
    sg.SetColWidths({94, 84, 84, 70, 54, 54, 54});
    sg.SetRowCount(17);
    sg.SetRow(0, {"\\", UIText("0191"), UIText("0192"), UIText("0193"), UIText("0194"), UIText("0195"),
                  UIText("0196")});
    static constexpr const char* kLabels[16] = {"0197", "0198", "0199", "0200", "",     "0201", "0202", "0203",
                                                "",     "0204", "0205", "0206", "",     "0207", "0208", "0209"};
    for (int row = 1; row <= 16; ++row) {
        const char* key = kLabels[row - 1];
        sg.SetCell(0, row, *key ? UIText(key) : std::string());
    }
    sg.SetCell(1, 1, std::to_string(CountGamesOfLevel(level)));
    sg.SetCell(1, 2, std::to_string(CountFlagGamesOfLevel(level)));
    sg.SetCell(1, 3, std::to_string(CountNoFlagGamesOfLevel(level)));

    uint64_t total = 0;
    for (uint32_t i = 0; i < kHistoryCapacity && GameHistory[i].day != 0; ++i)
        if (GameHistory[i].level == level) total += GameHistory[i].timeSec * 100u + GameHistory[i].timeHund;
    sg.SetCell(1, 4, FormatPlayTime(total));

    // An extreme's row: its value, then the game columns of its record (the end slot for none).
    const auto extreme = [&](int row, std::string value, int32_t index) {
        sg.SetCell(1, row, std::move(value));
        WriteGameColumns(sg, row, RecordAt(index));
    };
    // An average's row: its value in column 1 and again in the column of its kind.
    const auto average = [&](int row, int col, const std::string& value) {
        sg.SetCell(1, row, value);
        sg.SetCell(col, row, value);
    };
    uint16_t sec = 0, bbbv = 0;
    uint8_t hund = 0, whole = 0;
    int32_t i = FindBestTime(level, sec, hund);
    extreme(6, FormatGameTime(sec, hund), i);
    AverageTime(level, sec, hund);
    average(7, 6, FormatGameTime(sec, hund));
    i = FindWorstTime(level, sec, hund);
    extreme(8, FormatGameTime(sec, hund), i);
    i = FindBest3BVs(level, whole, hund);
    extreme(10, FormatGameTimePlain(whole, hund), i);
    Average3BVs(level, whole, hund);
    average(11, 5, FormatGameTimePlain(whole, hund));
    i = FindWorst3BVs(level, whole, hund);
    extreme(12, FormatGameTimePlain(whole, hund), i);
    i = FindMin3BV(level, bbbv);
    extreme(14, std::to_string(bbbv), i);
    Average3BV(level, bbbv, hund);
    average(15, 4, FormatGameTimePlain(bbbv, hund));
    i = FindMax3BV(level, bbbv);
    extreme(16, std::to_string(bbbv), i);
}

// ---- Rankings ----

namespace {

struct TRanked {
    uint32_t key; // ranking value, ordered best first
    int32_t index;
};

// The listing order of the walk over the next-ranked queries, by one sort instead of one table
// scan per row. `key` maps a record to its rank (smaller is better) and says whether the record
// can be listed at all; `ends` says, from its rank, whether a record after the first stops the
// listing.
template <typename KeyOf, typename Ends>
std::vector<int32_t> RankingOrder(uint8_t level, bool showEquals, KeyOf keyOf, Ends ends) {
    std::vector<TRanked> ranked;
    uint32_t n = 0;
    for (; n < kHistoryCapacity && GameHistory[n].day != 0; ++n) {
        const TGameRecord& r = GameHistory[n];
        uint32_t key = 0;
        if (r.level == level && keyOf(r, key)) ranked.push_back({key, static_cast<int32_t>(n)});
    }
    std::vector<int32_t> order;
    if (ranked.empty()) {
        if (showEquals) { // the walk marks slots 0..n and clears the "none" answer's byte
            std::fill(HistorySelectionMask.begin(), HistorySelectionMask.begin() + n + 1, uint8_t{1});
            HistorySelectionMask[kHistoryNone] = 0;
        }
        return order;
    }
    // Best value first; among equals the earliest first, the order the plain walk needs.
    std::sort(ranked.begin(), ranked.end(), [](const TRanked& a, const TRanked& b) {
        return a.key != b.key ? a.key < b.key : a.index < b.index;
    });
    order.push_back(ranked[0].index);
    if (!showEquals) {
        for (size_t i = 1; i < ranked.size(); ++i) {
            if (ranked[i].key == ranked[i - 1].key) continue;
            if (ends(ranked[i].key)) break;
            order.push_back(ranked[i].index);
        }
        return order;
    }
    // With equals: after the earliest best record, each value's records newest first.
    size_t group = 0;
    while (group < ranked.size()) {
        size_t end = group;
        while (end < ranked.size() && ranked[end].key == ranked[group].key)
            ++end;
        const size_t first = group == 0 ? 1 : group;
        bool stop = false;
        for (size_t i = end; i > first; --i) {
            if (ends(ranked[i - 1].key)) {
                stop = true;
                break;
            }
            order.push_back(ranked[i - 1].index);
        }
        if (stop) break;
        group = end;
    }
    std::fill(HistorySelectionMask.begin(), HistorySelectionMask.begin() + n + 1, uint8_t{1});
    for (const int32_t i : order)
        HistorySelectionMask[static_cast<size_t>(i)] = 0;
    return order;
}

void RankingHeader(THistoryGrid& sg, const std::string& valueCaption, const std::string& otherCaption) {
    if (Options.doShowEquals)
        sg.SetColWidths({46, 84, 84, 84, 84, 84, 84});
    else
        sg.SetColWidths({46, 54, 84, 70, 54, 54, 70});
    sg.SetRow(0, {"#", valueCaption, UIText("0192"), UIText("0193"), UIText("0194"), otherCaption, UIText("0210")});
}

template <typename Value, typename Other>
void WriteRanking(THistoryGrid& sg, const std::vector<int32_t>& order, Value value, Other other) {
    const std::string styles[2] = {StyleText(0), StyleText(1)};
    sg.Reserve(static_cast<int>(order.size()) + 1, 64);
    THistoryRow cells;
    int row = 1;
    for (size_t k = 0; k < order.size(); ++k) {
        // The ranking jumps about the table: the records a few rows on are fetched meanwhile.
        if (k + 8 < order.size()) __builtin_prefetch(&GameHistory[static_cast<size_t>(order[k + 8])]);
        const TGameRecord& r = GameHistory[static_cast<size_t>(order[k])];
        cells.Number(static_cast<uint64_t>(row))
            .Format([&r, value](char* out) { return value(out, r); })
            .Format([&r](char* out) { return PutDate(out, r.day, r.month, r.year); })
            .Format([&r](char* out) { return PutClockTime(out, r.hour, r.minute, r.second); })
            .Number(r.bbbv)
            .Format([&r, other](char* out) { return other(out, r); })
            .Text(styles[r.flagging == 1])
            .SetInto(sg, row);
        ++row;
    }
    sg.SetRowCount(row);
}

size_t TimeText(char* out, const TGameRecord& r) {
    return PutGameTime(out, r.timeSec, r.timeHund);
}
size_t RateText(char* out, const TGameRecord& r) {
    return PutGameTimePlain(out, r.bbbvsWhole, r.bbbvsHund);
}

} // namespace

void FillTimeRanking(THistoryGrid& sg, uint8_t level) {
    RankingHeader(sg, UIText("0196"), UIText("0195"));
    constexpr uint32_t kNone = 999u << 8 | 99u;
    const auto order = RankingOrder(
        level, Options.doShowEquals,
        [](const TGameRecord& r, uint32_t& key) {
            key = uint32_t{r.timeSec} << 8 | r.timeHund;
            return key < kNone;
        },
        [](uint32_t key) { return key >> 8 == 999; });
    WriteRanking(sg, order, TimeText, RateText);
}

void Fill3BVsRanking(THistoryGrid& sg, uint8_t level) {
    RankingHeader(sg, UIText("0195"), UIText("0196"));
    const auto order = RankingOrder(
        level, Options.doShowEquals,
        [](const TGameRecord& r, uint32_t& key) {
            const uint32_t rate = uint32_t{r.bbbvsWhole} << 8 | r.bbbvsHund;
            key = 0xFFFFu - rate; // fastest first
            return rate != 0;
        },
        [](uint32_t) { return false; });
    WriteRanking(sg, order, RateText, TimeText);
}

void FillLevelSummaryBeg(THistoryGrid& sg) { FillLevelSummary(sg, 0); }
void FillLevelSummaryInt(THistoryGrid& sg) { FillLevelSummary(sg, 1); }
void FillLevelSummaryExp(THistoryGrid& sg) { FillLevelSummary(sg, 2); }
void FillTimeRankingBeg(THistoryGrid& sg) { FillTimeRanking(sg, 0); }
void FillTimeRankingInt(THistoryGrid& sg) { FillTimeRanking(sg, 1); }
void FillTimeRankingExp(THistoryGrid& sg) { FillTimeRanking(sg, 2); }
void Fill3BVsRankingBeg(THistoryGrid& sg) { Fill3BVsRanking(sg, 0); }
void Fill3BVsRankingInt(THistoryGrid& sg) { Fill3BVsRanking(sg, 1); }
void Fill3BVsRankingExp(THistoryGrid& sg) { Fill3BVsRanking(sg, 2); }
void FillTimesReviewBeg(THistoryGrid& sg) { FillTimesReview(sg, 0); }
void FillTimesReviewInt(THistoryGrid& sg) { FillTimesReview(sg, 1); }
void FillTimesReviewExp(THistoryGrid& sg) { FillTimesReview(sg, 2); }
void Fill3BVsReviewBeg(THistoryGrid& sg) { Fill3BVsReview(sg, 0); }
void Fill3BVsReviewInt(THistoryGrid& sg) { Fill3BVsReview(sg, 1); }
void Fill3BVsReviewExp(THistoryGrid& sg) { Fill3BVsReview(sg, 2); }
void Fill3BVReviewBeg(THistoryGrid& sg) { Fill3BVReview(sg, 0); }
void Fill3BVReviewInt(THistoryGrid& sg) { Fill3BVReview(sg, 1); }
void Fill3BVReviewExp(THistoryGrid& sg) { Fill3BVReview(sg, 2); }

// ---- Outline ----

int HistoryItemLevel(int item) {
    if (item >= 1 && item <= 21) return (item - 1) / 7;
    return -1;
}

THistoryPanel HistoryPagePanel(int item) {
    const int level = HistoryItemLevel(item);
    if (level >= 0) return (item - 1) % 7 == 6 ? THistoryPanel::StyleChart : THistoryPanel::Grid;
    switch (item) {
    case 22: return THistoryPanel::StyleChart;
    case 23: return THistoryPanel::GamesChart;
    case 24:
    case 25: return THistoryPanel::Grid;
    case kSearchOutlineItem: return THistoryPanel::Search;
    default: return THistoryPanel::Setup;
    }
}

std::string HistoryOutlineText(int item) {
    static constexpr const char* kLevelItems[7] = {"",           "Top Time",   "Top 3BV/s",  "Times Review",
                                                   "3BV/s Review", "3BV Reviev", "Style Chart"};
    static constexpr const char* kLevels[3] = {"Beg", "Int", "Exp"};
    static constexpr const char* kOthers[6] = {"Style Chart", "Games Chart", "Activity", "Entire", "Setup", "Search"};
    const int level = HistoryItemLevel(item);
    if (level >= 0) {
        const int child = (item - 1) % 7;
        return child == 0 ? kLevels[level] : kLevelItems[child];
    }
    if (item >= 22 && item <= 27) return kOthers[item - 22];
    return "";
}

std::string HistoryPageCaption(int item) {
    const int level = HistoryItemLevel(item);
    if (level >= 0) {
        char key[8];
        std::snprintf(key, sizeof key, "%04d", 75 + item - 1);
        return UIText(key);
    }
    switch (item) {
    case 22: return UIText("0096");
    case 23: return UIText("0263");
    case 24: return UIText("0097");
    case 25: return UIText("0098");
    // As their outline items read.
    case kSetupOutlineItem: return UIText("0074");
    case kSearchOutlineItem: return UIText("0275") + "     ";
    default: return "";
    }
}

bool DrawHistoryGridPage(THistoryGrid& sg, int item) {
    ClearHistoryGrid(sg);
    if (HistoryPagePanel(item) != THistoryPanel::Grid) return false;
    const int level = HistoryItemLevel(item);
    if (level < 0) {
        if (item == 24)
            FillTotalActivity(sg);
        else
            FillEntireStatisticsDebug(sg);
        return true;
    }
    const auto l = static_cast<uint8_t>(level);
    switch ((item - 1) % 7) {
    case 0: FillLevelSummary(sg, l); break;
    case 1: FillTimeRanking(sg, l); break;
    case 2: Fill3BVsRanking(sg, l); break;
    case 3: FillTimesReview(sg, l); break;
    case 4: Fill3BVsReview(sg, l); break;
    case 5: Fill3BVReview(sg, l); break;
    }
    return true;
}

} // namespace quorlet
