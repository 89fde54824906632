#include "stats/queries.h"

#include <cstdio>
#include <utility>

#include "core/FData.h"
#include "core/textutil.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

constexpr uint32_t kScanLimit = 262144; // the end slot itself is never scanned

// Calls f(record, index) for every record of the table, in order.
template <typename F> void ForEachRecord(F&& f) {
    for (uint32_t i = 0; i < kScanLimit; ++i) {
        const TGameRecord& r = GameHistory[i];
        if (r.day == 0) break;
        f(r, static_cast<int32_t>(i));
    }
}

template <typename F> void ForEachLevelRecord(uint8_t level, F&& f) {
    ForEachRecord([&](const TGameRecord& r, int32_t i) {
        if (r.level == level) f(r, i);
    });
}

// Pairs ordered by the first member, then the second; both fit the key without overlap.
uint32_t PairKey(uint32_t first, uint32_t second) {
    return first << 8 | (second & 0xFF);
}
uint32_t TimeKey(const TGameRecord& r) {
    return PairKey(r.timeSec, r.timeHund);
}
uint32_t RateKey(const TGameRecord& r) {
    return PairKey(r.bbbvsWhole, r.bbbvsHund);
}

// Index of the record whose key replaces the choice when replaces(key, current) holds,
// starting from start; the chosen key goes back through key.
template <typename Key, typename Accept, typename Replaces>
int32_t Choose(uint8_t level, uint32_t& key, Key keyOf, Accept accept, Replaces replaces) {
    int32_t index = kHistoryNone;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t i) {
        const uint32_t k = keyOf(r);
        if (accept(r, i, k) && replaces(k, key)) {
            key = k;
            index = i;
        }
    });
    return index;
}

const auto kAny = [](const TGameRecord&, int32_t, uint32_t) { return true; };
const auto kLess = [](uint32_t a, uint32_t b) { return a < b; };
const auto kGreater = [](uint32_t a, uint32_t b) { return a > b; };
const auto kLessOrEqual = [](uint32_t a, uint32_t b) { return a <= b; };
const auto kGreaterOrEqual = [](uint32_t a, uint32_t b) { return a >= b; };

template <typename Whole, typename Hund> void SplitKey(uint32_t key, Whole& whole, Hund& hundredths) {
    whole = static_cast<Whole>(key >> 8);
    hundredths = static_cast<Hund>(key & 0xFF);
}

// Mean of (whole, hundredths) values in whole and hundredths, integer arithmetic throughout.
template <typename Whole>
void PairMean(uint64_t sumWhole, uint64_t sumHund, uint64_t n, Whole& whole, uint8_t& hundredths) {
    whole = 0;
    hundredths = 0;
    if (n == 0) return;
    const uint64_t total = sumHund / 100 + sumWhole;
    whole = static_cast<Whole>(total / n);
    hundredths = static_cast<uint8_t>((((total - uint64_t{whole} * n) * 100 + sumHund % 100) / n) % 100);
}

std::string TwoDigits(unsigned v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u", v);
    return buf;
}

// Interface texts of the level captions and of "All".
std::string LevelCaption(int level) {
    static constexpr const char* kKeys[3] = {"0186", "0187", "0188"};
    return UIText(kKeys[level]);
}
std::string AllCaption() {
    return UIText("0189");
}

} // namespace

// ---- Counts ----

uint32_t CountFlagGames() {
    uint32_t n = 0;
    ForEachRecord([&](const TGameRecord& r, int32_t) { n += r.flagging == 1; });
    return n;
}

uint32_t CountNoFlagGames() {
    uint32_t n = 0;
    ForEachRecord([&](const TGameRecord& r, int32_t) { n += r.flagging == 0; });
    return n;
}

uint32_t CountGamesOfLevel(uint8_t level) {
    uint32_t n = 0;
    ForEachLevelRecord(level, [&](const TGameRecord&, int32_t) { ++n; });
    return n;
}

uint32_t CountFlagGamesOfLevel(uint8_t level) {
    uint32_t n = 0;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t) { n += r.flagging == 1; });
    return n;
}

uint32_t CountNoFlagGamesOfLevel(uint8_t level) {
    uint32_t n = 0;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t) { n += r.flagging == 0; });
    return n;
}

// ---- Extremes ----

namespace {

// Choose over a pair key from a start pair; the chosen pair goes back through the outputs.
template <typename Whole, typename Hund, typename KeyOf, typename Accept, typename Replaces>
int32_t ChoosePair(uint8_t level, uint32_t startWhole, uint32_t startHund, KeyOf keyOf, Accept accept,
                   Replaces replaces, Whole& whole, Hund& hundredths) {
    uint32_t key = PairKey(startWhole, startHund);
    const int32_t i = Choose(level, key, keyOf, accept, replaces);
    SplitKey(key, whole, hundredths);
    return i;
}

template <typename Replaces>
int32_t Choose3BV(uint8_t level, uint32_t start, Replaces replaces, uint16_t& bbbv) {
    uint32_t key = start;
    const int32_t i = Choose(
        level, key, [](const TGameRecord& r) { return uint32_t{r.bbbv}; }, kAny, replaces);
    bbbv = static_cast<uint16_t>(key);
    return i;
}

} // namespace

int32_t FindBestTime(uint8_t level, uint16_t& seconds, uint8_t& hundredths) {
    return ChoosePair(level, 999, 99, TimeKey, kAny, kLess, seconds, hundredths);
}
int32_t FindBest3BVs(uint8_t level, uint8_t& whole, uint8_t& hundredths) {
    return ChoosePair(level, 0, 0, RateKey, kAny, kGreater, whole, hundredths);
}
int32_t FindMin3BV(uint8_t level, uint16_t& bbbv) {
    return Choose3BV(level, 999, kLess, bbbv);
}
int32_t FindWorstTime(uint8_t level, uint16_t& seconds, uint8_t& hundredths) {
    return ChoosePair(level, 0, 0, TimeKey, kAny, kGreater, seconds, hundredths);
}
int32_t FindWorst3BVs(uint8_t level, uint8_t& whole, uint8_t& hundredths) {
    return ChoosePair(level, 99, 99, RateKey, kAny, kLess, whole, hundredths);
}
int32_t FindMax3BV(uint8_t level, uint16_t& bbbv) {
    return Choose3BV(level, 0, kGreater, bbbv);
}

// ---- Averages ----

namespace {

// Mean of the (whole, hundredths) pair that get gives for every record of the level, or of the
// whole table for level kAllLevels. A plain number is a pair with hundredths 0.
constexpr int kAllLevels = -1;
template <typename Whole, typename Get> void MeanOver(int level, Get get, Whole& whole, uint8_t& hundredths) {
    uint64_t sw = 0, sh = 0, n = 0;
    ForEachRecord([&](const TGameRecord& r, int32_t) {
        if (level != kAllLevels && r.level != level) return;
        const auto [w, h] = get(r);
        sw += w;
        sh += h;
        ++n;
    });
    PairMean(sw, sh, n, whole, hundredths);
}

std::pair<uint64_t, uint64_t> TimeOf(const TGameRecord& r) {
    return {r.timeSec, r.timeHund};
}
std::pair<uint64_t, uint64_t> RateOf(const TGameRecord& r) {
    return {r.bbbvsWhole, r.bbbvsHund};
}
std::pair<uint64_t, uint64_t> BBBVOf(const TGameRecord& r) {
    return {r.bbbv, 0};
}

} // namespace

void AverageTime(uint8_t level, uint16_t& whole, uint8_t& hundredths) {
    MeanOver(level, TimeOf, whole, hundredths);
}
void Average3BVs(uint8_t level, uint8_t& whole, uint8_t& hundredths) {
    MeanOver(level, RateOf, whole, hundredths);
}
// S div n and ((S - W n) x 100) div n: the pair mean with no hundredths.
void Average3BV(uint8_t level, uint16_t& whole, uint8_t& hundredths) {
    MeanOver(level, BBBVOf, whole, hundredths);
}
void AverageAll3BVs(uint8_t& whole, uint8_t& hundredths) {
    MeanOver(kAllLevels, RateOf, whole, hundredths);
}

// ---- Ranking walks ----

int32_t FindNextByTime(uint8_t level, uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths) {
    const uint32_t from = PairKey(a, b);
    auto after = [&](const TGameRecord&, int32_t, uint32_t k) { return k > from; };
    return ChoosePair(level, 999, 99, TimeKey, after, kLess, seconds, hundredths);
}

int32_t FindNextByTimeMasked(uint8_t level, uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths) {
    const uint32_t from = PairKey(a, b);
    auto markedFrom = [&](const TGameRecord&, int32_t i, uint32_t k) {
        return HistorySelectionMask[i] == 1 && k >= from;
    };
    return ChoosePair(level, 999, 99, TimeKey, markedFrom, kLessOrEqual, seconds, hundredths);
}

int32_t FindNextBy3BVs(uint8_t level, uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths) {
    const uint32_t from = PairKey(a, b);
    auto below = [&](const TGameRecord&, int32_t, uint32_t k) { return k < from; };
    return ChoosePair(level, 0, 0, RateKey, below, kGreater, whole, hundredths);
}

int32_t FindNextBy3BVsMasked(uint8_t level, uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths) {
    const uint32_t from = PairKey(a, b);
    auto markedUpTo = [&](const TGameRecord&, int32_t i, uint32_t k) {
        return HistorySelectionMask[i] == 1 && k <= from;
    };
    return ChoosePair(level, 0, 0, RateKey, markedUpTo, kGreaterOrEqual, whole, hundredths);
}

// ---- Summaries ----

std::string MostPlayedLevel() {
    if (GameHistory[0].day == 0) return "ERROR";
    uint32_t n[3] = {0, 0, 0};
    ForEachRecord([&](const TGameRecord& r, int32_t) {
        if (r.level < 3) ++n[r.level];
    });
    for (int l = 0; l < 3; ++l)
        if (n[l] > n[(l + 1) % 3] && n[l] > n[(l + 2) % 3]) return LevelCaption(l);
    if (n[0] == n[1] && n[1] == n[2]) return AllCaption();
    // Two equal and ahead of the third: the captions in level order.
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 3; ++b)
            if (n[a] == n[b]) return LevelCaption(a) + "-" + LevelCaption(b);
    return AllCaption(); // not reached: one of the cases above always holds
}

std::string AverageTimeOfDay() {
    uint64_t h = 0, m = 0, s = 0, n = 0;
    ForEachRecord([&](const TGameRecord& r, int32_t) {
        h += r.hour;
        m += r.minute;
        s += r.second;
        ++n;
    });
    if (n == 0) return "ERROR";
    const uint64_t mean = (h * 3600 + m * 60 + s) / n;
    return TwoDigits(static_cast<unsigned>(mean / 3600)) + ":" +
           TwoDigits(static_cast<unsigned>(mean / 60 % 60)) + ":" +
           TwoDigits(static_cast<unsigned>(mean % 60));
}

std::string AverageGameDate() {
    uint64_t d = 0, m = 0, y = 0, n = 0;
    ForEachRecord([&](const TGameRecord& r, int32_t) {
        d += r.day;
        m += r.month;
        y += r.year;
        ++n;
    });
    if (n == 0) return "ERROR";
    return TwoDigits(static_cast<unsigned>(d / n)) + "." + TwoDigits(static_cast<unsigned>(m / n)) + "." +
           std::to_string(y / n);
}

// ---- Per-level entry points ----

#define QUORLET_LEVEL_QUERIES(Suffix, Level)                                                                 \
    uint32_t CountFlagGames##Suffix() {                                                                      \
        return CountFlagGamesOfLevel(Level);                                                                 \
    }                                                                                                        \
    uint32_t CountNoFlagGames##Suffix() {                                                                    \
        return CountNoFlagGamesOfLevel(Level);                                                               \
    }                                                                                                        \
    uint32_t CountGames##Suffix() {                                                                          \
        return CountGamesOfLevel(Level);                                                                     \
    }                                                                                                        \
    int32_t FindBestTime##Suffix(uint16_t& s, uint8_t& h) {                                                  \
        return FindBestTime(Level, s, h);                                                                    \
    }                                                                                                        \
    int32_t FindBest3BVs##Suffix(uint8_t& w, uint8_t& h) {                                                   \
        return FindBest3BVs(Level, w, h);                                                                    \
    }                                                                                                        \
    int32_t FindMin3BV##Suffix(uint16_t& v) {                                                                \
        return FindMin3BV(Level, v);                                                                         \
    }                                                                                                        \
    int32_t FindWorstTime##Suffix(uint16_t& s, uint8_t& h) {                                                 \
        return FindWorstTime(Level, s, h);                                                                   \
    }                                                                                                        \
    int32_t FindWorst3BVs##Suffix(uint8_t& w, uint8_t& h) {                                                  \
        return FindWorst3BVs(Level, w, h);                                                                   \
    }                                                                                                        \
    int32_t FindMax3BV##Suffix(uint16_t& v) {                                                                \
        return FindMax3BV(Level, v);                                                                         \
    }                                                                                                        \
    void AverageTime##Suffix(uint16_t& w, uint8_t& h) {                                                      \
        AverageTime(Level, w, h);                                                                            \
    }                                                                                                        \
    void Average3BVs##Suffix(uint8_t& w, uint8_t& h) {                                                       \
        Average3BVs(Level, w, h);                                                                            \
    }                                                                                                        \
    void Average3BV##Suffix(uint16_t& w, uint8_t& h) {                                                       \
        Average3BV(Level, w, h);                                                                             \
    }                                                                                                        \
    int32_t FindNextByTime##Suffix(uint16_t a, uint8_t b, uint16_t& s, uint8_t& h) {                         \
        return FindNextByTime(Level, a, b, s, h);                                                            \
    }                                                                                                        \
    int32_t FindNextByTimeMasked##Suffix(uint16_t a, uint8_t b, uint16_t& s, uint8_t& h) {                   \
        return FindNextByTimeMasked(Level, a, b, s, h);                                                      \
    }                                                                                                        \
    int32_t FindNextBy3BVs##Suffix(uint8_t a, uint8_t b, uint8_t& w, uint8_t& h) {                           \
        return FindNextBy3BVs(Level, a, b, w, h);                                                            \
    }                                                                                                        \
    int32_t FindNextBy3BVsMasked##Suffix(uint8_t a, uint8_t b, uint8_t& w, uint8_t& h) {                     \
        return FindNextBy3BVsMasked(Level, a, b, w, h);                                                      \
    }

QUORLET_LEVEL_QUERIES(Beg, 0)
QUORLET_LEVEL_QUERIES(Int, 1)
QUORLET_LEVEL_QUERIES(Exp, 2)

#undef QUORLET_LEVEL_QUERIES

} // namespace quorlet
