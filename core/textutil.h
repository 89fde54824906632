// Time, date and text helpers shared by logs, records, templates and exports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/FData.h"

namespace quorlet {

// The UTC time from SystemTimeSource, or from the system clock when no source is set.
TSystemTime ReadSystemTimeUtc();

// Reads the standard time-zone bias and name into TimeZoneBias / TimeZoneName (start-up).
void ReadTimeZoneInfo();

// Now := UTC time shifted by CustomTimeZone hours and the whole hours of TimeZoneBias.
void UpdateNow();

// Pure form of UpdateNow: the local time for a UTC time, hour offset and bias.
TSystemTime LocalTimeFrom(const TSystemTime& utc, int32_t customTimeZone, int32_t bias);

// "12,05": seconds (plus one recorder style), separator, two hundredths digits.
std::string FormatGameTime(uint16_t seconds, uint8_t hundredths);
// As FormatGameTime without the recorder-style second.
std::string FormatGameTimePlain(uint16_t seconds, uint8_t hundredths);
// "09:05:00".
std::string FormatClockTime(uint16_t hour, uint16_t minute, uint16_t second);
// "05.03.2026" (DateOrder 0) or "03.05.2026" (DateOrder 1); empty for any other order.
std::string FormatDate(uint16_t day, uint16_t month, uint16_t year);
// The same four texts written into `out`, which has room for kPutTextRoom characters; each
// returns the text's length. Long pages format every row this way, without a string a cell.
constexpr std::size_t kPutTextRoom = 32;
std::size_t PutGameTime(char* out, uint16_t seconds, uint8_t hundredths);
std::size_t PutGameTimePlain(char* out, uint16_t seconds, uint8_t hundredths);
std::size_t PutClockTime(char* out, uint16_t hour, uint16_t minute, uint16_t second);
std::size_t PutDate(char* out, uint16_t day, uint16_t month, uint16_t year);

// 0 Monday .. 6 Sunday; out-of-range parts are folded back into range first.
int DateWeekDay(int year, int month, int day);

// '.' with doDotSeparator, else ','.
char DecimalSeparatorChar();

// Plain text onto the clipboard through the UI hook; nothing without a window.
void CopyTextToClipboard(const std::string& text);

// Every backslash + "n" becomes CR LF.
std::string UnescapeNewlines(const std::string& text);
// Ends a text of two or more characters with CR LF, then turns every CR LF into backslash + "n".
std::string EscapeNewlines(const std::string& text);
// ASCII letters upper-cased, every other byte kept (names and tags compared without case).
std::string AsciiUpperCase(std::string text);

// Sets the playback cursor picture from CursorFileName (program folder), or the built-in one.
void LoadExternalCursor();

// Start-up: memory report state, DateOrder, the double-click counter, upper-cased word list.
void InitMemoryLogAndWordList();

// End of run: empties the global texts and string tables, the settings record's texts among
// them, so it runs after the settings and the last log are saved.
void ReleaseGlobalData();

} // namespace quorlet
