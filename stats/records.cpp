#include "stats/records.h"

#include <charconv>
#include <cmath>

#include "core/FData.h"

namespace quorlet {

namespace {

constexpr int kTopCount = 25;
constexpr uint32_t kScanLimit = 262144; // the end slot itself is never scanned

// (seconds, hundredths) ordered seconds first; hundredths fit a byte.
uint32_t TimeKey(const TGameRecord& r) {
    return uint32_t{r.timeSec} << 8 | r.timeHund;
}
constexpr uint32_t kTimeStartKey = 999u << 8 | 99u;

float IoeOf(const TGameRecord& r) {
    const int clicks = int{r.rightClicks} + r.leftClicks + r.doubleClicks;
    if (clicks == 0) return 0;
    return static_cast<float>(static_cast<long double>(r.bbbv) / clicks);
}

bool InSelection(const TGameRecord& r, TRecordSelection selection) {
    switch (selection) {
    case TRecordSelection::All: return true;
    case TRecordSelection::Flag: return r.rightClicks > 0;
    case TRecordSelection::NoFlag: return r.rightClicks == 0;
    }
    return false;
}

// The measures as types so the scans compile to tight loops. Each gives the record's value,
// the start value, strict "better" and the number added to a top-25 sum.
struct TimeMeasure {
    using Value = uint32_t;
    static Value Of(const TGameRecord& r) { return TimeKey(r); }
    static constexpr Value Start() { return kTimeStartKey; }
    static bool Better(Value a, Value b) { return a < b; }
    static long double Number(const TGameRecord& r) { return r.timeSec + r.timeHund / 100.0L; }
    // Top-25 passes take a time only when strictly better than the start.
    static bool QualifiesForTop(Value v) { return v < Start(); }
    static constexpr float Incomplete() { return 999.99f; }
};

template <typename Get> struct HigherFloatMeasure {
    using Value = float;
    static Value Of(const TGameRecord& r) { return Get{}(r); }
    static constexpr Value Start() { return 0.0f; }
    static bool Better(Value a, Value b) { return a > b; }
    static long double Number(const TGameRecord& r) { return Of(r); }
    // Passes take "better than or equal", so the start value itself qualifies (NaN never does).
    static bool QualifiesForTop(Value v) { return v >= Start(); }
    static constexpr float Incomplete() { return 0.0f; }
};

struct GetBBBVs {
    float operator()(const TGameRecord& r) const { return r.bbbvsExact; }
};
struct GetIOS {
    float operator()(const TGameRecord& r) const { return r.ios; }
};
struct GetIOE {
    float operator()(const TGameRecord& r) const { return IoeOf(r); }
};
using BBBVsMeasure = HigherFloatMeasure<GetBBBVs>;
using IOSMeasure = HigherFloatMeasure<GetIOS>;
using IOEMeasure = HigherFloatMeasure<GetIOE>;

struct RQPMeasure {
    using Value = float;
    static Value Of(const TGameRecord& r) { return r.rqp; }
    static constexpr Value Start() { return 999.99f; }
    static bool Better(Value a, Value b) { return a < b; }
    static long double Number(const TGameRecord& r) { return r.rqp; }
    static bool QualifiesForTop(Value v) { return v <= Start(); }
    static constexpr float Incomplete() { return 999.99f; }
};

bool TableEmpty() {
    return GameHistory[0].day == 0;
}

// Best of one measure and selection; the earliest of equal values stays.
template <typename M> struct BestTracker {
    typename M::Value best = M::Start();
    int32_t index = kRecordNone;
    void Offer(const TGameRecord& r, int32_t i) {
        const auto v = M::Of(r);
        if (M::Better(v, best)) {
            best = v;
            index = i;
        }
    }
};

// The 25 best values of one measure and selection, best first. Equal values are
// interchangeable in the mean, so which of equal records is kept does not matter.
template <typename M> struct TopTracker {
    std::array<typename M::Value, kTopCount> values{};
    std::array<long double, kTopCount> numbers{};
    int count = 0;
    void Offer(const TGameRecord& r) {
        const auto v = M::Of(r);
        if (!M::QualifiesForTop(v)) return;
        if (count == kTopCount && !M::Better(v, values[kTopCount - 1])) return;
        int pos = count < kTopCount ? count++ : kTopCount - 1;
        while (pos > 0 && M::Better(v, values[pos - 1])) {
            values[pos] = values[pos - 1];
            numbers[pos] = numbers[pos - 1];
            --pos;
        }
        values[pos] = v;
        numbers[pos] = M::Number(r);
    }
    // Summed best first, each step rounded to float, as the pass-by-pass mean does.
    float Mean() const {
        if (count < kTopCount) return M::Incomplete();
        float sum = 0;
        for (int k = 0; k < kTopCount; ++k)
            sum = static_cast<float>(sum + numbers[k]);
        return static_cast<float>(sum / 25.0L);
    }
};

template <typename F> void ForEachLevelRecord(uint8_t level, F&& f) {
    for (uint32_t i = 0; i < kScanLimit; ++i) {
        const TGameRecord& r = GameHistory[i];
        if (r.day == 0) break;
        if (r.level == level) f(r, static_cast<int32_t>(i));
    }
}

template <typename M> int32_t BestOf(uint8_t level, TRecordSelection selection) {
    BestTracker<M> tracker;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t i) {
        if (InSelection(r, selection)) tracker.Offer(r, i);
    });
    return tracker.index;
}

template <typename M> float TopOf(uint8_t level, TRecordSelection selection) {
    TopTracker<M> tracker;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t) {
        if (InSelection(r, selection)) tracker.Offer(r);
    });
    return tracker.Mean();
}

template <typename M> float TopByPasses(uint8_t level, TRecordSelection selection) {
    std::array<int32_t, kTopCount> picked{};
    float sum = 0;
    for (int pass = 0; pass < kTopCount; ++pass) {
        auto best = M::Start();
        int32_t found = kRecordNone;
        ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t i) {
            if (!InSelection(r, selection)) return;
            for (int k = 0; k < pass; ++k)
                if (picked[k] == i) return;
            const auto v = M::Of(r);
            // Time takes only strictly better values; the others better or equal.
            const bool take =
                std::is_same_v<M, TimeMeasure> ? M::Better(v, best) : !M::Better(best, v) && v == v;
            if (take) {
                best = v;
                found = i;
            }
        });
        if (found == kRecordNone) return M::Incomplete();
        picked[pass] = found;
        sum = static_cast<float>(sum + M::Number(GameHistory[found]));
    }
    return static_cast<float>(sum / 25.0L);
}

// Calls f with the measure type for a runtime measure.
template <typename F> auto WithMeasure(TRecordMeasure measure, F&& f) {
    switch (measure) {
    case TRecordMeasure::Time: return f(TimeMeasure{});
    case TRecordMeasure::BBBVs: return f(BBBVsMeasure{});
    case TRecordMeasure::RQP: return f(RQPMeasure{});
    case TRecordMeasure::IOS: return f(IOSMeasure{});
    case TRecordMeasure::IOE: break;
    }
    return f(IOEMeasure{});
}

// Beginner records carry IOS 0, so its IOS queries answer "none" at once.
bool SkipsLevel(uint8_t level, TRecordMeasure measure) {
    return measure == TRecordMeasure::IOS && level == 0;
}

// Rounds a non-negative decimal text "123.4567..." half up to three decimals.
std::string RoundToThreeDecimals(double value) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 30);
    std::string text(buf, res.ptr);
    const auto dot = text.find('.');
    if (dot == std::string::npos) return text; // inf or nan
    std::string digits = text.substr(0, dot) + text.substr(dot + 1, 3);
    if (text[dot + 4] >= '5') {
        int k = static_cast<int>(digits.size()) - 1;
        while (k >= 0 && digits[k] == '9')
            digits[k--] = '0';
        if (k < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k];
    }
    return digits.substr(0, digits.size() - 3) + "." + digits.substr(digits.size() - 3);
}

} // namespace

int32_t BestRecordIndex(uint8_t level, TRecordSelection selection, TRecordMeasure measure) {
    if (TableEmpty() || SkipsLevel(level, measure)) return kRecordNone;
    return WithMeasure(measure, [&](auto m) { return BestOf<decltype(m)>(level, selection); });
}

float Top25Average(uint8_t level, TRecordSelection selection, TRecordMeasure measure) {
    if (TableEmpty() || SkipsLevel(level, measure)) return 0;
    return WithMeasure(measure, [&](auto m) { return TopOf<decltype(m)>(level, selection); });
}

float Top25AverageByPasses(uint8_t level, TRecordSelection selection, TRecordMeasure measure) {
    if (TableEmpty() || SkipsLevel(level, measure)) return 0;
    return WithMeasure(measure, [&](auto m) { return TopByPasses<decltype(m)>(level, selection); });
}

namespace {

// The page's trackers for one measure: all games, and flagging or no-flagging by the record.
template <typename M, typename Tracker> struct PageColumn {
    std::array<Tracker, kRecordSelectionCount> bySelection{};
    template <typename... Args> void Offer(const TGameRecord& r, Args... args) {
        bySelection[0].Offer(r, args...);
        bySelection[r.rightClicks > 0 ? 1 : 2].Offer(r, args...);
    }
};

} // namespace

TRecordIndexPage BestRecordPage(uint8_t level) {
    TRecordIndexPage page;
    for (auto& row : page)
        row.fill(kRecordNone);
    if (TableEmpty()) return page;
    PageColumn<TimeMeasure, BestTracker<TimeMeasure>> time;
    PageColumn<BBBVsMeasure, BestTracker<BBBVsMeasure>> bbbvs;
    PageColumn<RQPMeasure, BestTracker<RQPMeasure>> rqp;
    PageColumn<IOSMeasure, BestTracker<IOSMeasure>> ios;
    PageColumn<IOEMeasure, BestTracker<IOEMeasure>> ioe;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t i) {
        time.Offer(r, i);
        bbbvs.Offer(r, i);
        rqp.Offer(r, i);
        ios.Offer(r, i);
        ioe.Offer(r, i);
    });
    for (int s = 0; s < kRecordSelectionCount; ++s) {
        page[0][s] = time.bySelection[s].index;
        page[1][s] = bbbvs.bySelection[s].index;
        page[2][s] = rqp.bySelection[s].index;
        page[3][s] = level == 0 ? kRecordNone : ios.bySelection[s].index;
        page[4][s] = ioe.bySelection[s].index;
    }
    return page;
}

TRecordAveragePage Top25AveragePage(uint8_t level) {
    TRecordAveragePage page{};
    if (TableEmpty()) return page;
    PageColumn<TimeMeasure, TopTracker<TimeMeasure>> time;
    PageColumn<BBBVsMeasure, TopTracker<BBBVsMeasure>> bbbvs;
    PageColumn<RQPMeasure, TopTracker<RQPMeasure>> rqp;
    PageColumn<IOSMeasure, TopTracker<IOSMeasure>> ios;
    PageColumn<IOEMeasure, TopTracker<IOEMeasure>> ioe;
    ForEachLevelRecord(level, [&](const TGameRecord& r, int32_t) {
        time.Offer(r);
        bbbvs.Offer(r);
        rqp.Offer(r);
        if (level != 0) ios.Offer(r);
        ioe.Offer(r);
    });
    for (int s = 0; s < kRecordSelectionCount; ++s) {
        page[0][s] = time.bySelection[s].Mean();
        page[1][s] = bbbvs.bySelection[s].Mean();
        page[2][s] = rqp.bySelection[s].Mean();
        page[3][s] = level == 0 ? 0.0f : ios.bySelection[s].Mean();
        page[4][s] = ioe.bySelection[s].Mean();
    }
    return page;
}

float RecordIOE(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(kHistorySlots)) return 0;
    return IoeOf(GameHistory[index]);
}

std::string ScoreToStr(long double value) {
    const double v = static_cast<double>(value);
    std::string text = RoundToThreeDecimals(std::fabs(v));
    if (std::signbit(v) && text.find_first_not_of("0.") != std::string::npos) text.insert(text.begin(), '-');
    const auto dot = text.find('.');
    if (dot != std::string::npos && !Options.doDotSeparator) text[dot] = ',';
    return text;
}

#define QUORLET_RECORD_QUERIES(Measure, Name)                                                                \
    int32_t Best##Name##Index(uint8_t level) {                                                               \
        return BestRecordIndex(level, TRecordSelection::All, TRecordMeasure::Measure);                       \
    }                                                                                                        \
    int32_t Best##Name##FlagIndex(uint8_t level) {                                                           \
        return BestRecordIndex(level, TRecordSelection::Flag, TRecordMeasure::Measure);                      \
    }                                                                                                        \
    int32_t Best##Name##NFIndex(uint8_t level) {                                                             \
        return BestRecordIndex(level, TRecordSelection::NoFlag, TRecordMeasure::Measure);                    \
    }                                                                                                        \
    float Top25Avg##Name(uint8_t level) {                                                                    \
        return Top25Average(level, TRecordSelection::All, TRecordMeasure::Measure);                          \
    }                                                                                                        \
    float Top25Avg##Name##Flag(uint8_t level) {                                                              \
        return Top25Average(level, TRecordSelection::Flag, TRecordMeasure::Measure);                         \
    }                                                                                                        \
    float Top25Avg##Name##NF(uint8_t level) {                                                                \
        return Top25Average(level, TRecordSelection::NoFlag, TRecordMeasure::Measure);                       \
    }

QUORLET_RECORD_QUERIES(Time, Time)
QUORLET_RECORD_QUERIES(BBBVs, 3BVs)
QUORLET_RECORD_QUERIES(RQP, RQP)
QUORLET_RECORD_QUERIES(IOS, IOS)
QUORLET_RECORD_QUERIES(IOE, IOE)

#undef QUORLET_RECORD_QUERIES

} // namespace quorlet
