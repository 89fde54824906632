#include "stats/counters.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/fileread.h"
#include "core/safewrite.h"
#include "core/uihooks.h"
#include "stats/FMath.h"

namespace quorlet {

namespace {

constexpr int kMaxValueLines = 100;
constexpr int kMaxTextLines = 1000;
// Below this a whole value has an exact 64-bit integer form.
constexpr long double kWholeLimit = 9223372036854775808.0L;

// Formula parts that give the board away while a game is played.
constexpr std::array<const char*, 13> kHiddenDuringPlay = {"BBBV",  "OBV",      "TIMEEST", "IOS",    "RQP",
                                                           "RPI",   "OPENINGS", "BBBVISL", "FORCED", "RANK",
                                                           " CELL", "EFF",      "ZINI"};

bool GameShown() {
    return Options.doShow3BVAfterGameStart || ReplayMode || GameOver;
}

bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsTrimmed(text[first]))
        ++first;
    while (last > first && IsTrimmed(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace

char RegionalDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}

namespace {

// Rounds the decimal digit string up by one unit in its last place; true when it overflowed
// ("999" -> "000").
bool IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

// Digits printed this far past the kept ones decide a tie exactly: a long double that is not a
// tie lies much farther from one than 10^-30 of its size.
constexpr int kGuardDigits = 30;

// |value| rounded to four significant digits, halves away from zero as a decimal reader
// expects: the digits and the decimal exponent.
void FourSignificantDigits(long double value, std::string& digits, int& exponent) {
    char buffer[96];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      3 + kGuardDigits);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    std::string all;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') all += text[i];
    exponent = std::stoi(text.substr(e + 1));
    digits = all.substr(0, 4);
    if (all[4] >= '5' && IncrementDigits(digits)) {
        digits = "1000";
        ++exponent;
    }
}

// |value| with two decimals, halves away from zero.
std::string TwoDecimals(long double magnitude) {
    char buffer[5000];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 2 + kGuardDigits);
    std::string text(buffer, result.ptr);
    const std::size_t dot = text.find('.');
    std::string digits = text.substr(0, dot) + text.substr(dot + 1, 2);
    if (text[dot + 3] >= '5' && IncrementDigits(digits)) digits.insert(digits.begin(), '1');
    return digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2);
}

// The exponent form of the float formatter: "1.235E4", trailing zeros of the mantissa dropped.
std::string ExponentForm(const std::string& digits, int exponent, char separator) {
    std::string mantissa = digits.substr(0, 1);
    std::string rest = digits.substr(1);
    while (!rest.empty() && rest.back() == '0')
        rest.pop_back();
    if (!rest.empty()) mantissa += separator + rest;
    return mantissa + "E" + std::to_string(exponent);
}

// Two decimals at four significant digits; beyond four integer digits the exponent form.
std::string FixedForm(long double magnitude, char separator) {
    std::string digits;
    int exponent = 0;
    FourSignificantDigits(magnitude, digits, exponent);
    if (exponent >= 4) return ExponentForm(digits, exponent, separator);
    std::string text;
    if (exponent >= 1) {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        text = digits.substr(0, whole) + "." + digits.substr(whole);
        while (text.size() - text.find('.') - 1 < 2)
            text += '0';
    } else {
        text = TwoDecimals(magnitude);
    }
    text[text.find('.')] = separator;
    return text;
}

std::string FormatCounterValue(long double v) {
    if (std::isnan(v)) return "NAN";
    const std::string sign = v < 0 ? "-" : "";
    const long double magnitude = std::fabs(v);
    if (std::isinf(v)) return sign + "INF";
    const char separator = RegionalDecimalSeparator();
    if (magnitude != std::trunc(magnitude)) return sign + FixedForm(magnitude, separator);
    // No integer type holds larger whole values: write them as the float form does.
    if (magnitude >= kWholeLimit) {
        std::string digits;
        int exponent = 0;
        FourSignificantDigits(magnitude, digits, exponent);
        return sign + ExponentForm(digits, exponent, separator);
    }
    return sign + std::to_string(static_cast<uint64_t>(magnitude));
}

std::string AfterBar(const std::string& line) {
    const std::size_t bar = line.find('|');
    return bar == std::string::npos ? line : line.substr(bar + 1);
}

// Text between the leading "@" or "#" and the bar, untrimmed.
std::string MarkedLabel(const std::string& line) {
    return line.substr(1, line.find('|') - 1);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

template <typename Hook, typename... Args> void Call(const Hook& hook, Args... args) {
    if (hook) hook(args...);
}

} // namespace

long double EvalCounterFormula(const std::string& formula) {
    std::string text;
    for (char c : formula)
        if (c != ' ') text += c;
    if (!text.empty() && text.back() != '=') text += '=';
    return EvaluateFormula(text);
}

std::string CounterValueText(const std::string& line) {
    const std::string formula = AfterBar(line);
    const bool shown = GameShown();
    if (!Options.doCalculateCounters && !shown) return "0";
    if (!shown)
        for (const char* part : kHiddenDuringPlay)
            if (formula.find(part) != std::string::npos) return "*";
    return FormatCounterValue(EvalCounterFormula(formula));
}

std::string CounterLabel(const std::string& line) {
    return Trim(line.substr(0, line.find('|')));
}

bool IsCounterLine(const std::string& line) {
    if (line.empty() || line[0] == ';') return false;
    const std::size_t bar = line.find('|');
    return bar != std::string::npos && line.find('|', bar + 1) == std::string::npos;
}

void RefreshCounters() {
    // The grid belongs to the counters window; nothing to show before it exists.
    if (!CountersWindowCreated) return;
    int rows = 0, valueLines = 0, textLines = 0;
    for (const std::string& line : CountersTemplateLines) {
        if (!IsCounterLine(line)) continue;
        if (valueLines > kMaxValueLines || textLines > kMaxTextLines) break;
        if (line[0] == '#') {
            ++textLines;
            if (rows > 0) {
                CounterLabels[rows - 1] += MarkedLabel(line);
                CounterValues[rows - 1] += AfterBar(line);
            }
        } else if (line[0] == '@') {
            ++valueLines;
            if (rows > 0) {
                CounterLabels[rows - 1] += MarkedLabel(line);
                CounterValues[rows - 1] += CounterValueText(line);
            }
        } else {
            ++valueLines;
            CounterLabels[rows] = CounterLabel(line);
            CounterValues[rows] = CounterValueText(line);
            ++rows;
        }
    }
    CounterRowsShown = rows;
    if (Options.heightCr3 != rows) {
        Options.heightCr3 = static_cast<uint8_t>(rows);
        Call(UiHooks.SetCountersRowCount, rows);
    }
    if (rows == 0) return;
    Call(UiHooks.FillCountersGrid, rows);
}

void RefreshCountersForward() {
    RefreshCounters();
}

std::string CountersTemplatePath() {
    // Never a name relative to whatever folder the process runs in.
    if (Options.LastPath.empty()) return {};
    std::string folder = Options.LastPath;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "_counter_template.txt";
}

void LoadCountersTemplate() {
    std::string text;
    const std::string path = CountersTemplatePath();
    if (path.empty()) {
        // Without a program folder there is no template to keep: it is never written either.
        CountersTemplatePending = 1;
        return;
    }
    if (::access(path.c_str(), F_OK) != 0) {
        DebugLog("#error loading counters template. applying default");
        ClearCountersTemplate();
        return;
    }
    if (!OptionsWindowCreated) {
        CountersTemplatePending = 1;
        return;
    }
    // A folder, a fifo, a device or a huge file in the template's place is no template: it
    // must neither stop the start nor cost it seconds.
    bool read = false;
    try {
        read = ReadRegularFile(path, kMaxSmallFileBytes, text);
        if (read) CountersTemplateLines = SplitLines(text);
    } catch (...) {
        read = false;
    }
    if (!read) {
        DebugLog("#error loading counters template. applying default");
        // The pending mark stays as it was: a file that is there but unread is not overwritten.
        CountersTemplateLines.clear();
        return;
    }
    CountersTemplatePending = 0;
}

bool SaveCountersTemplate() {
    // A template never loaded is not known: saving it would wipe the file.
    if (CountersTemplatePending || CountersTemplatePath().empty()) return true;
    DropEmptyCounterTemplateLines();
    std::string text;
    for (const std::string& line : CountersTemplateLines)
        text += line + "\r\n";
    std::string why;
    if (!SafeWriteFile(CountersTemplatePath(), text, &why)) {
        DebugLog("#error savining counters template");
        DebugLog("#" + why);
        return false;
    }
    return true;
}

void DropEmptyCounterTemplateLines() {
    const std::size_t before = CountersTemplateLines.size();
    std::erase_if(CountersTemplateLines, [](const std::string& line) { return line.empty(); });
    const std::size_t dropped = before - CountersTemplateLines.size();
    if (dropped > 0) DebugLog(std::to_string(dropped) + " empty lines in counters template deleted");
}

void ClearCountersTemplate() {
    if (OptionsWindowCreated) {
        CountersTemplateLines.clear();
        // The template is now known (empty): nothing is left to load, and saving may go on.
        CountersTemplatePending = 0;
    } else {
        CountersTemplatePending = 1;
    }
}

void ShowCountersWindow() {
    if (!CountersWindowCreated) return;
    if (!Options.doShowCounters && !Options.doCountersOnEnd && !Options.doCountersOnFinish) {
        HideCountersWindow();
        return;
    }
    Call(UiHooks.SetCountersColumnWidths, int32_t{Options.widthCr1}, int32_t{Options.widthCr2});
    Call(UiHooks.SetCountersRowCount, int32_t{Options.heightCr3});
    RefreshCounters();
    ApplyCountersBorder();
    Call(UiHooks.ShowCountersWindow);
    Call(UiHooks.SetShowCountersCheck, Options.doShowCounters);
    // The first layout is done again with the window already visible.
    if (!CountersLaidOutOnce) {
        CountersLaidOutOnce = 1;
        ShowCountersWindow();
    }
}

void HideCountersWindow() {
    if (!CountersWindowCreated) return;
    Call(UiHooks.HideCountersWindow);
    Call(UiHooks.SetShowCountersCheck, Options.doShowCounters);
}

void ApplyCountersBorder() {
    if (!CountersWindowCreated) return;
    Call(UiHooks.SetCountersBorder, Options.doShowCountersTitle);
    RefreshCounters();
}

} // namespace quorlet
