// Review, activity and entire pages of the history window.
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "core/FData.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "stats/historypages.h"
#include "stats/queries.h"

namespace quorlet {

namespace {

template <typename F> void ForEachRecord(F&& f) {
    for (uint32_t i = 0; i < kHistoryCapacity && GameHistory[i].day != 0; ++i)
        f(GameHistory[i]);
}

// Minimum, maximum and sums of a (whole, hundredths) value inside a bucket.
struct TPairStats {
    uint32_t min;
    uint32_t max = 0;
    uint64_t sumWhole = 0;
    uint64_t sumHund = 0;
    explicit TPairStats(uint32_t minStart) : min(minStart) {}
    void Add(uint32_t whole, uint32_t hund) {
        const uint32_t key = whole << 8 | (hund & 0xFF);
        min = std::min(min, key);
        max = std::max(max, key);
        sumWhole += whole;
        sumHund += hund;
    }
};

struct TCountStats {
    uint32_t min = 999;
    uint32_t max = 0;
    uint64_t sum = 0;
    void Add(uint32_t v) {
        min = std::min(min, v);
        max = std::max(max, v);
        sum += v;
    }
};

struct TBucket {
    uint64_t count = 0;
    TPairStats time{999u << 8 | 99u};
    TPairStats rate;
    TCountStats bbbv;
    explicit TBucket(uint32_t rateMinStart) : rate(rateMinStart) {}
};

using TFormat = std::string (*)(uint16_t, uint8_t);

std::string PairText(uint32_t key, TFormat format) {
    return format(static_cast<uint16_t>(key >> 8), static_cast<uint8_t>(key & 0xFF));
}

// The integer mean of (whole, hundredths) values, whole part and hundredths, as the queries
// compute it.
std::string PairMeanText(const TPairStats& s, uint64_t n, TFormat format) {
    const uint64_t total = s.sumHund / 100 + s.sumWhole;
    const uint64_t whole = total / n;
    const uint64_t hund = (((total - whole * n) * 100 + s.sumHund % 100) / n) % 100;
    return format(static_cast<uint16_t>(whole), static_cast<uint8_t>(hund));
}

std::string CountMeanText(const TCountStats& s, uint64_t n) {
    const uint64_t whole = s.sum / n;
    const uint64_t hund = ((s.sum - whole * n) * 100 / n) % 100;
    return FormatGameTimePlain(static_cast<uint16_t>(whole), static_cast<uint8_t>(hund));
}

std::vector<std::string> TimeColumns(const TBucket& b) {
    return {PairText(b.time.min, FormatGameTime), PairMeanText(b.time, b.count, FormatGameTime),
            PairText(b.time.max, FormatGameTime)};
}
std::vector<std::string> RateColumns(const TBucket& b) {
    return {PairText(b.rate.min, FormatGameTimePlain), PairMeanText(b.rate, b.count, FormatGameTimePlain),
            PairText(b.rate.max, FormatGameTimePlain)};
}
std::vector<std::string> BBBVColumns(const TBucket& b) {
    return {std::to_string(b.bbbv.min), CountMeanText(b.bbbv, b.count), std::to_string(b.bbbv.max)};
}

// Buckets 0..last of one level's records; keyOf gives a record's bucket, or -1 to leave it out.
template <typename KeyOf>
std::vector<TBucket> FillBuckets(uint8_t level, int last, uint32_t rateMinStart, KeyOf keyOf) {
    std::vector<TBucket> buckets(static_cast<size_t>(last) + 1, TBucket(rateMinStart));
    ForEachRecord([&](const TGameRecord& r) {
        if (r.level != level) return;
        const int key = keyOf(r);
        if (key < 0 || key > last) return;
        TBucket& b = buckets[static_cast<size_t>(key)];
        ++b.count;
        b.time.Add(r.timeSec, r.timeHund);
        b.rate.Add(r.bbbvsWhole, r.bbbvsHund);
        b.bbbv.Add(r.bbbv);
    });
    return buckets;
}

void AppendAll(std::vector<std::string>& row, const std::vector<std::string>& more) {
    row.insert(row.end(), more.begin(), more.end());
}

// Writes one row per non-empty bucket in the given key order.
template <typename Keys, typename RowOf>
void WriteBuckets(THistoryGrid& sg, const std::vector<TBucket>& buckets, Keys keys, RowOf rowOf) {
    int row = 1;
    for (const int key : keys) {
        const TBucket& b = buckets[static_cast<size_t>(key)];
        if (b.count == 0) continue;
        sg.SetRow(row++, rowOf(key, b));
    }
    sg.SetRowCount(row);
}

std::vector<int> Ascending(int first, int last) {
    std::vector<int> keys;
    for (int k = first; k <= last; ++k)
        keys.push_back(k);
    return keys;
}

} // namespace

void FillTimesReview(THistoryGrid& sg, uint8_t level) {
    sg.SetColWidths({54, 54, 54, 80, 80, 80, 62, 62, 62});
    sg.SetRow(0, {UIText("0196"), UIText("0211"), UIText("0190"), UIText("0212"), UIText("0214"), UIText("0213"),
                  UIText("0215"), UIText("0216"), UIText("0217")});
    const auto buckets = FillBuckets(level, 999, 99u << 8 | 99u, [](const TGameRecord& r) {
        return r.timeSec >= 1 && r.timeSec <= 999 ? int{r.timeSec} : -1;
    });
    WriteBuckets(sg, buckets, Ascending(1, 999), [](int key, const TBucket& b) {
        std::vector<std::string> row{std::to_string(key + 1), std::to_string(b.count),
                                     PairMeanText(b.time, b.count, FormatGameTime)};
        AppendAll(row, RateColumns(b));
        AppendAll(row, BBBVColumns(b));
        return row;
    });
}

void Fill3BVsReview(THistoryGrid& sg, uint8_t level) {
    sg.SetColWidths({54, 54, 54, 80, 80, 80, 62, 62, 62});
    sg.SetRow(0, {UIText("0195"), UIText("0211"), UIText("0190"), UIText("0218"), UIText("0219"), UIText("0220"),
                  UIText("0215"), UIText("0216"), UIText("0217")});
    // A stored 3BV/s can reach 255.99, past the page's last bucket of 100.0.
    const auto buckets = FillBuckets(level, 1000, 99u << 8 | 99u, [](const TGameRecord& r) {
        const int key = r.bbbvsWhole * 10 + r.bbbvsHund / 10;
        return key >= 1 && key <= 1000 ? key : -1;
    });
    std::vector<int> keys = Ascending(1, 1000);
    std::reverse(keys.begin(), keys.end());
    WriteBuckets(sg, buckets, keys, [](int key, const TBucket& b) {
        std::vector<std::string> row{std::to_string(key / 10) + "," + std::to_string(key % 10),
                                     std::to_string(b.count), PairMeanText(b.rate, b.count, FormatGameTimePlain)};
        AppendAll(row, TimeColumns(b));
        AppendAll(row, BBBVColumns(b));
        return row;
    });
}

void Fill3BVReview(THistoryGrid& sg, uint8_t level) {
    sg.SetColWidths({54, 54, 80, 80, 80, 80, 80, 80});
    sg.SetRow(0, {UIText("0194"), UIText("0211"), UIText("0218"), UIText("0219"), UIText("0220"), UIText("0212"),
                  UIText("0214"), UIText("0213")});
    const auto buckets = FillBuckets(level, 999, 999u << 8 | 99u, [](const TGameRecord& r) {
        return r.bbbv >= 1 && r.bbbv <= 999 ? int{r.bbbv} : -1;
    });
    WriteBuckets(sg, buckets, Ascending(1, 999), [](int key, const TBucket& b) {
        std::vector<std::string> row{std::to_string(key), std::to_string(b.count)};
        AppendAll(row, TimeColumns(b));
        AppendAll(row, RateColumns(b));
        return row;
    });
}

// ---- Activity ----

namespace {

struct TActivity {
    uint64_t count = 0;
    uint64_t hundredths = 0;
};

std::string ShareText(uint64_t count, uint64_t n) {
    const uint64_t p = count * 10000 / n;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llu,%02u", static_cast<unsigned long long>(p / 100),
                  static_cast<unsigned>(p % 100));
    return buf;
}

void WriteActivity(THistoryGrid& sg, int firstCol, int row, const TActivity& a, uint64_t n) {
    if (a.count == 0) return;
    sg.SetCell(firstCol, row, std::to_string(a.count));
    sg.SetCell(firstCol + 1, row, ShareText(a.count, n));
    sg.SetCell(firstCol + 2, row, FormatPlayTime(a.hundredths));
}

} // namespace

void FillTotalActivity(THistoryGrid& sg) {
    ClearHistoryGrid(sg);
    sg.SetColWidths({50, 60, 70, 86, 16, 50, 60, 70, 86});
    sg.SetRowCount(26);
    UpdateNow();
    const std::string games = UIText("0222"), percents = UIText("0221"), total = UIText("0223");
    sg.SetRow(0, {UIText("0193"), games, percents, total, "", "\\", games, percents, total});
    static constexpr const char* kDays[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    sg.SetCell(5, 1, UIText("0261"));
    for (int d = 0; d < 7; ++d)
        sg.SetCell(5, d + 2, kDays[d]);
    sg.SetCell(5, 10, UIText("0264"));
    for (int m = 0; m < 12; ++m)
        sg.SetCell(5, m + 11, kMonths[m]);
    const int today = DateWeekDay(Now.year, Now.month, Now.day);
    if (today >= 0 && today < 7) sg.SetCell(5, today + 2, sg.Cell(5, today + 2) + "*");
    if (Now.month >= 1 && Now.month <= 12) sg.SetCell(5, Now.month + 10, sg.Cell(5, Now.month + 10) + "*");
    sg.SetCell(0, 25, UIText("0211"));

    std::array<TActivity, 24> hours{};
    std::array<TActivity, 7> days{};
    std::array<TActivity, 12> months{};
    TActivity all;
    ForEachRecord([&](const TGameRecord& r) {
        const uint64_t t = r.timeSec * 100u + r.timeHund;
        ++all.count;
        all.hundredths += t;
        // Hours and months come from the file as they are; a value out of range counts nowhere.
        if (r.hour < 24) {
            ++hours[r.hour].count;
            hours[r.hour].hundredths += t;
        }
        const int day = DateWeekDay(r.year, r.month, r.day);
        if (day >= 0 && day < 7) {
            ++days[static_cast<size_t>(day)].count;
            days[static_cast<size_t>(day)].hundredths += t;
        }
        if (r.month >= 1 && r.month <= 12) {
            ++months[r.month - 1u].count;
            months[r.month - 1u].hundredths += t;
        }
    });
    if (all.count == 0) return;
    sg.SetCell(1, 25, std::to_string(all.count));
    sg.SetCell(3, 25, FormatPlayTime(all.hundredths));
    char label[8];
    for (int h = 0; h < 24; ++h) {
        std::snprintf(label, sizeof label, "%02d", h);
        sg.SetCell(0, h + 1, h == Now.hour ? std::string(label) + "*" : std::string(label));
        WriteActivity(sg, 1, h + 1, hours[static_cast<size_t>(h)], all.count);
    }
    for (int d = 0; d < 7; ++d)
        WriteActivity(sg, 6, d + 2, days[static_cast<size_t>(d)], all.count);
    for (int m = 0; m < 12; ++m)
        WriteActivity(sg, 6, m + 11, months[static_cast<size_t>(m)], all.count);
}

// ---- Entire ----

void FillEntireStatisticsDebug(THistoryGrid& sg) {
    sg.SetColWidths({46, 84, 84, 64, 84, 84, 84, 84});
    sg.SetRow(0, {"#", UIText("0192"), UIText("0193"), UIText("0224"), UIText("0210"), UIText("0196"), UIText("0194"),
                  UIText("0195")});
    const uint32_t n = HistoryRecordCount();
    if (n == 0) {
        sg.SetRowCount(1);
        return;
    }
    sg.SetRowCount(static_cast<int>(n) + 3);
    const uint32_t flags = CountFlagGames(), noFlags = CountNoFlagGames();
    uint8_t whole = 0, hund = 0;
    AverageAll3BVs(whole, hund);
    sg.SetRow(1, {UIText("0190"), AverageGameDate(), AverageTimeOfDay(), MostPlayedLevel(),
                  flags > noFlags ? UIText("0198") : flags < noFlags ? UIText("0199") : UIText("0225"), "", "",
                  FormatGameTimePlain(whole, hund)});
    const std::string styles[2] = {StyleText(0), StyleText(1)};
    const std::string levels[3] = {LevelText(0), LevelText(1), LevelText(2)};
    sg.Reserve(static_cast<int>(n) + 3, 64);
    THistoryRow cells;
    for (uint32_t i = 0; i < n; ++i) {
        const TGameRecord& r = GameHistory[i];
        const int row = static_cast<int>(n + 2 - i);
        cells.Number(i + 1)
            .Format([&r](char* out) { return PutDate(out, r.day, r.month, r.year); })
            .Format([&r](char* out) { return PutClockTime(out, r.hour, r.minute, r.second); })
            .Text(r.level <= 2 ? levels[r.level] : LevelText(r.level))
            .Text(styles[r.flagging == 1])
            .Format([&r](char* out) { return PutGameTime(out, r.timeSec, r.timeHund); })
            .Number(r.bbbv)
            .Format([&r](char* out) { return PutGameTimePlain(out, r.bbbvsWhole, r.bbbvsHund); })
            .SetInto(sg, row);
        if (r.level > 2) break; // an unknown level ends the listing
    }
}

} // namespace quorlet
