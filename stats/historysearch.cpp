#include "stats/historysearch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "stats/historypages.h"

namespace quorlet {

namespace {

enum : int { colNumber, colDate, colHour, colMode, colStyle, colTime, colBBBV, colRate, kSearchCols };

std::optional<int64_t> ParseInteger(std::string_view text) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, v);
    if (res.ec != std::errc() || res.ptr != end) return std::nullopt;
    return v;
}

std::string FourDigits(uint64_t p) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(p % 10000));
    return buf;
}

void LogUnconverted(std::string_view cell) {
    DebugLog("#strtofloat error in \"" + std::string(cell) + "\"");
}

// The mean of k values given as a sum of whole parts and a sum of ten-thousandths, "W,pppp",
// in exact integers.
std::string AverageText(uint64_t whole, uint64_t tenThousandths, uint64_t k) {
    whole += tenThousandths / 10000;
    tenThousandths %= 10000;
    const uint64_t w = whole / k;
    const uint64_t p = ((whole % k) * 10000 + tenThousandths) / k % 10000;
    return std::to_string(w) + "," + FourDigits(p);
}

std::string PairAverage(const THistoryGrid& sgs, int col, int rows) {
    uint64_t whole = 0, frac = 0;
    for (int r = 2; r < rows; ++r) {
        const std::string_view cell = sgs.CellView(col, r);
        const auto v = ParseHundredths(cell);
        if (!v || *v < 0) {
            LogUnconverted(cell);
            continue;
        }
        whole += static_cast<uint64_t>(*v / 100);
        frac += static_cast<uint64_t>(*v % 100) * 100;
    }
    return AverageText(whole, frac, static_cast<uint64_t>(rows - 2));
}

std::string CountAverage(const THistoryGrid& sgs, int col, int rows) {
    uint64_t whole = 0;
    for (int r = 2; r < rows; ++r) {
        const std::string_view cell = sgs.CellView(col, r);
        const auto v = ParseInteger(cell);
        if (!v || *v < 0) {
            LogUnconverted(cell);
            continue;
        }
        whole += static_cast<uint64_t>(*v);
    }
    return AverageText(whole, 0, static_cast<uint64_t>(rows - 2));
}

bool Admitted(const TGameRecord& r, const THistorySearchFilter& f, const int64_t (&days)[2],
              const int64_t (&seconds)[2]) {
    const bool levels[3] = {f.beg, f.inter, f.exp};
    if (r.level > 2 || !levels[r.level]) return false;
    if (r.flagging == 1 ? !f.flag : !f.noFlag) return false;
    if (f.date) {
        const int64_t d = DayNumber(r.day, r.month, r.year);
        if (d < days[0] || days[1] < d) return false;
    }
    if (f.hour) {
        const int64_t s = SecondsOfDay(r.hour, r.minute, r.second);
        if (s < seconds[0] || seconds[1] < s) return false;
    }
    if (f.time) {
        const int64_t v = r.timeSec * 100 + r.timeHund + (Options.doRecorderStyleTimer ? 100 : 0);
        if (v < f.timeSec1 * 100 + f.timeHund1 || v > f.timeSec2 * 100 + f.timeHund2) return false;
    }
    if (f.rate) {
        const int64_t v = r.bbbvsWhole * 100 + r.bbbvsHund;
        if (v < f.rateWhole1 * 100 + f.rateHund1 || v > f.rateWhole2 * 100 + f.rateHund2) return false;
    }
    if (f.bbbv && (r.bbbv < f.bbbv1 || r.bbbv > f.bbbv2)) return false;
    return true;
}

} // namespace

int64_t DayNumber(int day, int month, int year) {
    static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int64_t n = day;
    for (int m = 1; m < month && m <= 12; ++m)
        n += kMonthDays[m - 1];
    return n + int64_t{365} * year + year / 4;
}

int64_t SecondsOfDay(int hour, int minute, int second) {
    return second + int64_t{60} * minute + int64_t{3600} * hour;
}

void ClearSearchGrid(THistoryGrid& sgs) {
    sgs.SetColWidths({46, 84, 84, 64, 84, 84, 84, 84});
    sgs.SetRowCount(1);
    sgs.SetRow(0, {"#", UIText("0192"), UIText("0193"), UIText("0224"), UIText("0210"), UIText("0196"), UIText("0194"),
                   UIText("0195")});
    sgs.SetCell(0, 1, UIText("0190"));
}

THistorySearchFilter DefaultSearchFilter() {
    THistorySearchFilter f;
    f.day1 = Now.day;
    f.month1 = Now.month;
    f.year1 = Now.year;
    f.hour1 = f.minute1 = f.second1 = 0;
    UpdateNow();
    f.day2 = Now.day;
    f.month2 = Now.month;
    f.year2 = Now.year;
    f.hour2 = 23;
    f.minute2 = 59;
    f.second2 = 59;
    f.timeSec1 = 0, f.timeHund1 = 0, f.timeSec2 = 999, f.timeHund2 = 99;
    f.rateWhole1 = 0, f.rateHund1 = 0, f.rateWhole2 = 99, f.rateHund2 = 99;
    f.bbbv1 = 1, f.bbbv2 = 379;
    f.sortKey = UIText("0196");
    f.date = true;
    f.hour = f.time = f.rate = f.bbbv = false;
    return f;
}

void SearchHistory(THistoryGrid& sgs, const THistorySearchFilter& f) {
    ClearSearchGrid(sgs);
    const uint32_t n = HistoryRecordCount();
    const int64_t days[2] = {DayNumber(f.day1, f.month1, f.year1), DayNumber(f.day2, f.month2, f.year2)};
    const int64_t seconds[2] = {SecondsOfDay(f.hour1, f.minute1, f.second1),
                                SecondsOfDay(f.hour2, f.minute2, f.second2)};
    const std::string styles[2] = {StyleText(0), StyleText(1)};
    const std::string levels[3] = {LevelText(0), LevelText(1), LevelText(2)};
    sgs.Reserve(static_cast<int>(n) + 2, 64);
    THistoryRow cells;
    int r = 2;
    for (uint32_t i = 0; i < n; ++i) {
        const TGameRecord& g = GameHistory[i];
        if (!Admitted(g, f, days, seconds)) continue;
        cells.Number(static_cast<uint64_t>(r - 1))
            .Format([&g](char* out) { return PutDate(out, g.day, g.month, g.year); })
            .Format([&g](char* out) { return PutClockTime(out, g.hour, g.minute, g.second); })
            .Text(levels[g.level])
            .Text(styles[g.flagging == 1])
            .Format([&g](char* out) { return PutGameTime(out, g.timeSec, g.timeHund); })
            .Number(g.bbbv)
            .Format([&g](char* out) { return PutGameTimePlain(out, g.bbbvsWhole, g.bbbvsHund); })
            .SetInto(sgs, r);
        ++r;
    }
    sgs.SetRowCount(r > 2 ? r : 1);
    for (int c = 1; c < kSearchCols; ++c)
        sgs.SetCell(c, 1, "");
    if (r == 2) return;
    sgs.SetCell(colTime, 1, PairAverage(sgs, colTime, r));
    sgs.SetCell(colRate, 1, PairAverage(sgs, colRate, r));
    sgs.SetCell(colBBBV, 1, CountAverage(sgs, colBBBV, r));
}

std::optional<int64_t> ParseHundredths(std::string_view text) {
    // Exactly as the cells are written: digits, the program's separator, two digits.
    const size_t sep = text.find(DecimalSeparatorChar());
    if (sep == std::string_view::npos || sep == 0 || text.size() != sep + 3) return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != sep && (text[i] < '0' || text[i] > '9')) return std::nullopt;
    if (sep > 15) return std::nullopt;
    const auto whole = ParseInteger(text.substr(0, sep));
    if (!whole) return std::nullopt;
    return *whole * 100 + (text[sep + 1] - '0') * 10 + (text[sep + 2] - '0');
}

// ---- Sort ----

namespace {

struct TSortKey {
    std::string text;
    int column;
    bool inverse;
    int operation;
};

std::vector<TSortKey> SortKeyTable() {
    const std::string time = UIText("0196"), rate = UIText("0195"), bbbv = UIText("0194"), mode = UIText("0224"),
                      style = UIText("0210");
    return {{time, colTime, false, 5},           {time + " inverse", colTime, true, 12},
            {rate, colRate, false, 7},           {rate + " inverse", colRate, true, 14},
            {bbbv, colBBBV, false, 6},           {bbbv + " inverse", colBBBV, true, 13},
            {mode, colMode, false, 3},           {mode + " inverse", colMode, true, 10},
            {style, colStyle, false, 4},         {style + " inverse", colStyle, true, 11}};
}

// The value a cell sorts by; empty when it does not convert. Mode and style cells rank by
// their captions: Beg, Int, Exp; no-flag games first.
struct TSortCaptions {
    std::string levels[3] = {LevelText(0), LevelText(1), LevelText(2)};
    std::string styles[2] = {StyleText(0), StyleText(1)};
};

std::optional<int64_t> SortValue(std::string_view cell, int column, const TSortCaptions& captions) {
    switch (column) {
    case colTime:
    case colRate: return ParseHundredths(cell);
    case colBBBV: return ParseInteger(cell);
    case colMode:
        for (int l = 0; l < 3; ++l)
            if (cell == captions.levels[l]) return l;
        return 3; // anything else stays behind them
    default:
        for (int f = 0; f < 2; ++f)
            if (cell == captions.styles[f]) return f;
        return 2;
    }
}

} // namespace

std::vector<std::string> SearchSortKeys() {
    std::vector<std::string> keys;
    for (const auto& k : SortKeyTable())
        keys.push_back(k.text);
    return keys;
}

std::string SortErrorText(int operation) {
    return "Error occured!\r\noperation #" + std::to_string(operation);
}

int SortSearchResults(THistoryGrid& sgs, const std::string& keyText) {
    if (sgs.RowCount() <= 2) return 0;
    const auto table = SortKeyTable();
    const std::string wanted = keyText.empty() ? table[0].text : keyText;
    const auto key = std::find_if(table.begin(), table.end(), [&](const TSortKey& k) { return k.text == wanted; });
    if (key == table.end()) return 0; // not one of the box's entries: nothing to sort by
    const int rows = sgs.RowCount();
    const TSortCaptions captions;
    std::vector<int64_t> values;
    values.reserve(static_cast<size_t>(rows - 2));
    for (int r = 2; r < rows; ++r) {
        const auto v = SortValue(sgs.CellView(key->column, r), key->column, captions);
        if (!v) return key->operation;
        values.push_back(*v);
    }
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Stable, so equal rows keep their order, as neighbours that never swap would.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return key->inverse ? values[a] > values[b] : values[a] < values[b];
    });
    sgs.ReorderRows(2, order, colDate); // the running numbers stay
    return 0;
}

// ---- Index of Speed ----

namespace {

// General format, 8 significant digits, the system's separator (".").
std::string General(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.8G", v);
    return buf;
}

} // namespace

bool HasSearchResults(const THistoryGrid& sgs) {
    return sgs.RowCount() > 2;
}

TIndexOfSpeed IndexOfSpeed(const THistoryGrid& sgs, const std::string& input) {
    if (!HasSearchResults(sgs)) return {"No data for calculations.", ""};
    std::string trimmed = input;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    if (!trimmed.empty() && trimmed[0] == '+') trimmed.erase(0, 1);
    const auto a = ParseInteger(trimmed);
    if (!a) return {"Integer value expected.", ""};
    if (*a < 0 || *a > 99) return {"Integer 0..99 value expected.", ""};
    const TIndexOfSpeed error{"ERROR", ""};
    const int64_t k = 100 - *a;
    const int64_t n = sgs.RowCount() - 2;
    const int64_t c = std::max<int64_t>(1, n * k / 100);
    std::vector<double> indices;
    for (int64_t i = 0; i < c; ++i) {
        const int row = static_cast<int>(i) + 2;
        const auto t = ParseHundredths(sgs.Cell(colTime, row));
        const auto b = ParseInteger(sgs.Cell(colBBBV, row));
        if (!t || !b || *b <= 0) return error;
        const double t1 = static_cast<double>(*t) / 100.0 - 1.0;
        if (t1 <= 0) return error;
        const double lnT = std::log(t1);
        if (lnT == 0 || !std::isfinite(lnT)) return error;
        indices.push_back(std::log(static_cast<double>(*b)) / lnT);
    }
    const double mean = std::accumulate(indices.begin(), indices.end(), 0.0) / static_cast<double>(c);
    if (mean == 0 || !std::isfinite(mean)) return error;
    double s = 0;
    if (c >= 2) {
        for (const double x : indices)
            s += (x - mean) * (x - mean);
        s = std::sqrt(s / static_cast<double>(c - 1));
    }
    const double d = s / mean;
    const double speedBase = mean + 3 * d;
    if (speedBase == 0 || !std::isfinite(speedBase)) return error;
    const double e = 1 / speedBase;
    const double t250 = std::pow(250.0, e), s250 = 250 / t250, t120 = 120 / s250;
    const double t150 = std::pow(150.0, e), s150 = 150 / t150, t30 = 30 / s150;
    for (const double v : {d, t250, s250, t120, t150, s150, t30})
        if (!std::isfinite(v)) return error;
    const std::string text =
        "Results for " + std::to_string(c) + " of " + std::to_string(n) + " games (" + std::to_string(k) +
        "%) are:\r\n" + "(for the best forecast inverted 3BV/s sorting needed)\r\n\r\n" + General(mean) +
        " units - average Index of Speed\r\n" + General(d) + " units - dispersion of Index of Speed" +
        "\r\n-----\r\n" + "Expert mode forecasts:\r\n" + General(s250) + " 3BV/s - speed forecast for 250 3BV" +
        "\r\n" + General(t120) + " sec - time forecast for 120 3BV" + "\r\n-----\r\n" +
        "Intermediate mode forecasts:\r\n" + General(s150) + " 3BV/s - speed forecast for 150 3BV" + "\r\n" +
        General(t30) + " sec - time forecast for 30 3BV" + "\r\n\r\ncopied to clipboard.";
    return {text, text.substr(0, text.size() - 24)};
}

} // namespace quorlet
