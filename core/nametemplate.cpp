#include "core/nametemplate.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/textutil.h"
#include "stats/records.h"

namespace quorlet {

namespace {

// Floating numbers in "<3BV/S>" are written the way the reference system wrote them.
constexpr char kSystemDecimalSeparator = ',';

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string TwoDigits(unsigned v) {
    std::string s = std::to_string(v % 100);
    return s.size() < 2 ? "0" + s : s;
}

// Replaces each occurrence of tag (upper case) present in text; the text a replacement
// brings in is not searched again for the same tag, so "<name>" as a name cannot loop.
void ReplaceTag(std::string& text, const std::string& tag, const std::string& replacement) {
    size_t from = 0;
    for (;;) {
        const size_t pos = Upper(text).find(tag, from);
        if (pos == std::string::npos) return;
        text.replace(pos, tag.size(), replacement);
        from = pos + replacement.size();
    }
}

std::string ModeText() {
    switch (GameLevel) {
    case glBeginner: return Options.BegName;
    case glIntermediate: return Options.IntName;
    case glExpert: return Options.ExpName;
    default: break;
    }
    return Options.CusName + "_" + std::to_string(LastColumn + 1) + "x" + std::to_string(LastRow + 1) + "_" +
           std::to_string(MineCount) + "mines";
}

std::string CompletionText() {
    if (Board3BV == 0) return "0";
    return std::to_string(uint32_t{Solved3BV} * 100 / Board3BV);
}

// Solved 3BV per second in general notation, cut two characters after the separator.
std::string RateText() {
    const uint32_t hundredths = GameClock.seconds * 100u + GameClock.hundredths;
    const std::string zero = std::string("0") + kSystemDecimalSeparator + "00";
    if (Board3BV == 0 || hundredths == 0) return zero;
    const double rate = static_cast<double>(Solved3BV / (GameClock.seconds + GameClock.hundredths / 100.0L));
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, rate, std::chars_format::general, 15);
    std::string text(buf, res.ptr);
    const size_t dot = text.find('.');
    if (dot == std::string::npos) return text; // a whole number keeps all its digits
    text[dot] = kSystemDecimalSeparator;
    return text.substr(0, dot + 3);
}

const char* const kWeekDays[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kMonthsShort[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                      "jul", "aug", "sep", "oct", "nov", "dec"};
const char* const kMonthsLong[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

const char* MonthName(const char* const (&names)[12], uint16_t month) {
    return month >= 1 && month <= 12 ? names[month - 1] : "";
}

// Makes the text safe as a file name with at most one folder level, creating that folder
// under baseFolder.
std::string CleanUpName(std::string text, const std::string& baseFolder) {
    for (char& c : text)
        if (std::string_view("/:*?'\"<>|").find(c) != std::string_view::npos) c = '_';
    if (!text.empty() && text[0] == '\\') text[0] = '_';
    const size_t slash = text.find('\\');
    if (slash == std::string::npos) return text;
    if (slash + 1 < text.size())
        for (size_t i = slash + 1; i < text.size(); ++i)
            if (text[i] == '\\') text[i] = '_';
    for (size_t i = 0; i < slash; ++i)
        if (text[i] == ' ') text[i] = '_';
    std::string folder = text.substr(0, slash);
    // "." and ".." would leave the program folder.
    if (folder.find_first_not_of('.') == std::string::npos) folder.assign(folder.size(), '_');
    std::error_code ec;
    std::filesystem::create_directory(std::filesystem::path(baseFolder) / folder, ec);
    if (ec) DebugLog("#cannot create directory \"" + folder + "\"");
    return folder + "/" + text.substr(slash + 1);
}

} // namespace

std::string ExpandNameTemplate(const std::string& nameTemplate, const std::string& baseFolder) {
    std::string text = nameTemplate;
    const uint16_t sec = GameClock.seconds;
    const uint8_t hund = GameClock.hundredths;
    ReplaceTag(text, "<BOARD>", "");
    ReplaceTag(text, "<NAME>", Options.ReplayName);
    ReplaceTag(text, "<MODE>", ModeText());
    ReplaceTag(text, "<COMPLETION>", CompletionText());
    ReplaceTag(text, "<TIME>", FormatGameTime(sec, hund));
    ReplaceTag(text, "<TIMEREAL>", FormatGameTimePlain(sec, hund));
    ReplaceTag(text, "<TIMERECORDERSTYLE>", FormatGameTimePlain(static_cast<uint16_t>(sec + 1), hund));
    ReplaceTag(text, "<INTTIME>", std::to_string(sec));
    ReplaceTag(text, "<3BV>", std::to_string(Board3BV));
    ReplaceTag(text, "<OBV>", ScoreToStr(TimeEstimate));
    ReplaceTag(text, "<GZINI>", std::to_string(GZiNi));
    ReplaceTag(text, "<HZINI>", std::to_string(HZiNi));
    ReplaceTag(text, "<3BV/S>", RateText());
    // One moment for every date and time tag.
    UpdateNow();
    const TSystemTime now = Now;
    const int weekDay = DateWeekDay(now.year, now.month, now.day);
    ReplaceTag(text, "<DD>", TwoDigits(now.day));
    ReplaceTag(text, "<DDD>", weekDay >= 0 && weekDay < 7 ? kWeekDays[weekDay] : "");
    ReplaceTag(text, "<MM>", TwoDigits(now.month));
    ReplaceTag(text, "<MMM>", MonthName(kMonthsShort, now.month));
    ReplaceTag(text, "<MMMM>", MonthName(kMonthsLong, now.month));
    ReplaceTag(text, "<YY>", TwoDigits(now.year % 100));
    ReplaceTag(text, "<YYYY>", std::to_string(now.year));
    ReplaceTag(text, "<HH>", TwoDigits(now.hour));
    ReplaceTag(text, "<MIN>", TwoDigits(now.minute));
    ReplaceTag(text, "<SEC>", TwoDigits(now.second));
    return CleanUpName(std::move(text), baseFolder);
}

std::string ExpandNameTemplate(const std::string& nameTemplate) {
    return ExpandNameTemplate(nameTemplate, Options.LastPath);
}

} // namespace quorlet
