#include "core/textutil.h"

#include <sys/stat.h>

#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "core/debuglog.h"
#include "core/fileread.h"
#include "core/uihooks.h"

namespace quorlet {

namespace {

// Leap years for Now are every fourth year, as the clock correction has always counted them.
bool IsFourthYear(int year) {
    return year % 4 == 0;
}

int DaysInMonthForNow(int month, int year) {
    switch (month) {
    case 2: return IsFourthYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
    }
}

bool IsGregorianLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInGregorianMonth(int month, int year) {
    if (month == 2) return IsGregorianLeap(year) ? 29 : 28;
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    return 31;
}

// At least two digits ("%02u").
char* PutTwoDigits(char* at, unsigned value) {
    if (value >= 100) return std::to_chars(at, at + 10, value).ptr;
    *at++ = static_cast<char>('0' + value / 10);
    *at++ = static_cast<char>('0' + value % 10);
    return at;
}

// Left to right, without rescanning what was put in.
std::string ReplaceAll(const std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out += to;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

TSystemTime ReadSystemTimeUtc() {
    if (SystemTimeSource) return SystemTimeSource();
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::time_t secs = system_clock::to_time_t(now);
    std::tm tm{};
    gmtime_r(&secs, &tm);
    TSystemTime t;
    t.year = static_cast<uint16_t>(tm.tm_year + 1900);
    t.month = static_cast<uint16_t>(tm.tm_mon + 1);
    t.dayOfWeek = static_cast<uint16_t>(tm.tm_wday);
    t.day = static_cast<uint16_t>(tm.tm_mday);
    t.hour = static_cast<uint16_t>(tm.tm_hour);
    t.minute = static_cast<uint16_t>(tm.tm_min);
    t.second = static_cast<uint16_t>(tm.tm_sec);
    t.milliseconds = static_cast<uint16_t>(ms < 0 ? 0 : ms);
    return t;
}

void ReadTimeZoneInfo() {
    // The standard (non-summer) offset: daylight saving is not applied to Now.
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!localtime_r(&now, &tm)) return;
    if (tm.tm_isdst > 0) {
        for (std::time_t shift : {std::time_t(182) * 86400, std::time_t(-182) * 86400}) {
            const std::time_t other = now + shift;
            std::tm alt{};
            if (localtime_r(&other, &alt) && alt.tm_isdst == 0) {
                tm = alt;
                break;
            }
        }
    }
    TimeZoneBias = static_cast<int32_t>(-tm.tm_gmtoff / 60);
    TimeZoneName = tm.tm_zone ? tm.tm_zone : "";
}

TSystemTime LocalTimeFrom(const TSystemTime& utc, int32_t customTimeZone, int32_t bias) {
    TSystemTime t = utc;
    int h = int(utc.hour) + customTimeZone - bias / 60; // C++ division truncates, as wanted
    // Whole days to move; floor division so that any offset lands in 0..23.
    int days = h >= 0 ? h / 24 : -((-h + 23) / 24);
    h -= days * 24;
    int day = t.day, month = t.month, year = t.year;
    for (; days < 0; ++days) {
        if (--day == 0) {
            if (--month == 0) {
                month = 12;
                --year;
            }
            day = DaysInMonthForNow(month, year);
        }
    }
    for (; days > 0; --days) {
        if (++day > DaysInMonthForNow(month, year)) {
            day = 1;
            if (++month == 13) {
                month = 1;
                ++year;
            }
        }
    }
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(h);
    return t;
}

void UpdateNow() {
    Now = LocalTimeFrom(ReadSystemTimeUtc(), Options.CustomTimeZone, TimeZoneBias);
}

std::size_t PutGameTimePlain(char* out, uint16_t seconds, uint8_t hundredths) {
    char* at = std::to_chars(out, out + 10, seconds).ptr;
    *at++ = DecimalSeparatorChar();
    return static_cast<std::size_t>(PutTwoDigits(at, hundredths) - out);
}

std::size_t PutGameTime(char* out, uint16_t seconds, uint8_t hundredths) {
    const unsigned shown = unsigned(seconds) + (Options.doRecorderStyleTimer ? 1u : 0u);
    char* at = std::to_chars(out, out + 10, shown).ptr;
    *at++ = DecimalSeparatorChar();
    return static_cast<std::size_t>(PutTwoDigits(at, hundredths) - out);
}

std::size_t PutClockTime(char* out, uint16_t hour, uint16_t minute, uint16_t second) {
    char* at = PutTwoDigits(out, hour);
    *at++ = ':';
    at = PutTwoDigits(at, minute);
    *at++ = ':';
    return static_cast<std::size_t>(PutTwoDigits(at, second) - out);
}

std::size_t PutDate(char* out, uint16_t day, uint16_t month, uint16_t year) {
    if (Options.DateOrder > 1) return 0;
    char* at = PutTwoDigits(out, Options.DateOrder == 0 ? day : month);
    *at++ = '.';
    at = PutTwoDigits(at, Options.DateOrder == 0 ? month : day);
    *at++ = '.';
    return static_cast<std::size_t>(std::to_chars(at, at + 10, year).ptr - out);
}

std::string FormatGameTimePlain(uint16_t seconds, uint8_t hundredths) {
    char buf[kPutTextRoom];
    return std::string(buf, PutGameTimePlain(buf, seconds, hundredths));
}

std::string FormatGameTime(uint16_t seconds, uint8_t hundredths) {
    char buf[kPutTextRoom];
    return std::string(buf, PutGameTime(buf, seconds, hundredths));
}

std::string FormatClockTime(uint16_t hour, uint16_t minute, uint16_t second) {
    char buf[kPutTextRoom];
    return std::string(buf, PutClockTime(buf, hour, minute, second));
}

std::string FormatDate(uint16_t day, uint16_t month, uint16_t year) {
    char buf[kPutTextRoom];
    return std::string(buf, PutDate(buf, day, month, year));
}

int DateWeekDay(int year, int month, int day) {
    // Negative parts have no meaning here; they count as the first year, month or day.
    year %= 10000;
    if (year <= 0) year = 1;
    month %= 13;
    if (month <= 0) month = 1;
    day %= DaysInGregorianMonth(month, year) + 1;
    if (day <= 0) day = 1;
    int dayOfYear = day;
    for (int m = 1; m < month; ++m)
        dayOfYear += DaysInGregorianMonth(m, year);
    const int64_t y = year - 1;
    const int64_t count = y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear;
    return static_cast<int>((count - 1) % 7); // day 1 (1 January of year 1) was a Monday
}

char DecimalSeparatorChar() {
    return Options.doDotSeparator ? '.' : ',';
}

void CopyTextToClipboard(const std::string& text) {
    try {
        if (UiHooks.CopyTextToClipboard) UiHooks.CopyTextToClipboard(text);
    } catch (...) {
        // A clipboard that cannot be opened leaves it as it was.
    }
}

std::string UnescapeNewlines(const std::string& text) {
    return ReplaceAll(text, "\\n", "\r\n");
}

std::string EscapeNewlines(const std::string& text) {
    std::string src = text;
    if (src.size() > 1 && src.compare(src.size() - 2, 2, "\r\n") != 0) src += "\r\n";
    return ReplaceAll(src, "\r\n", "\\n");
}

void LoadExternalCursor() {
    auto use = [](const std::string& path) {
        if (UiHooks.SetReplayCursor) UiHooks.SetReplayCursor(path);
    };
    try {
        const std::string& name = Options.CursorFileName;
        const std::string path = Options.LastPath + name;
        if (name.empty() || Options.LastPath.empty() || !FileExists(path)) {
            use({});
            return;
        }
        // A picture reader would read a huge file whole: a cursor of 32 x 32 pixels is tiny.
        if (!IsRegularFileUpTo(path, kMaxSmallFileBytes)) {
            DebugLog("#could not load external cursor");
            use({});
            return;
        }
        int32_t width = 0, height = 0;
        if (!UiHooks.PictureSize || !UiHooks.PictureSize(path, width, height)) {
            DebugLog("#could not load external cursor");
            use({});
            return;
        }
        if (width > 32 || height > 32) {
            DebugLog("#external cursor exceeds 32x32 pixels size");
            use({});
            return;
        }
        use(path);
    } catch (...) {
        DebugLog("#could not load external cursor");
        use({});
    }
}

void InitMemoryLogAndWordList() {
    MemoryLogAvailable = 0;
    MemoryLogHour = MemoryLogMinute = 60; // never a real time: the first entry is always written
    Options.DateOrder = 0;
    LeftDoubleClickCount = 0;
    // The player-ID check compares upper-cased texts.
    for (auto& word : BannedWords)
        for (char& ch : word)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

void ReleaseGlobalData() {
    auto release = [](std::string& text) { std::string().swap(text); };
    BannedWords.clear();
    BannedWords.shrink_to_fit();
    release(BoardString);
    GameIdText.clear();
    GameEndStamp.clear();
    ReplayPlayerName.clear();
    for (auto& text : CounterLabels)
        text.clear();
    for (auto& text : CounterValues)
        text.clear();
    for (std::string* text :
         {&Options.mCntExcludeList, &Options.UserIDText,   &Options.ReplayName, &Options.BegName,
          &Options.IntName,         &Options.ExpName,      &Options.CusName,    &Options.ReplayFileName,
          &Options.CursorFileName,  &Options.langFileName, &Options.LastPath,   &Options.ExeFileName,
          &Options.hsBegTime,       &Options.hsBeg3bvs,    &Options.hsBegName,  &Options.hsBegJump,
          &Options.hsIntTime,       &Options.hsInt3bvs,    &Options.hsIntName,  &Options.hsIntJump,
          &Options.hsExpTime,       &Options.hsExp3bvs,    &Options.hsExpName,  &Options.hsExpJump})
        release(*text);
}

std::string AsciiUpperCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace quorlet
