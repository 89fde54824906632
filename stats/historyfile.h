// The history file "stats.dat": one 49-byte scrambled record per counted game, appended when the
// game is won and read back whole into GameHistory.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "stats/gamerecord.h"

namespace quorlet {

constexpr std::size_t kHistoryFileRecordSize = 49;
using THistoryFileRecord = std::array<uint8_t, kHistoryFileRecordSize>;

// "stats.dat" in the program folder; empty when there is no program folder.
std::string HistoryFilePath();

// The stored (scrambled) bytes of one record: its facts only; path keeps its low 24 bits.
THistoryFileRecord EncodeHistoryRecord(const TGameRecord& record);
// The facts of one stored record, flagging derived from rightClicks (computed fields untouched).
// False when its check bytes do not match.
bool DecodeHistoryRecord(const uint8_t* stored, TGameRecord& record);

// The game just won as the history stores it, date and time from Now (computed fields derived).
TGameRecord CurrentGameRecord();

// Appends the game just won (date from a fresh Now). False when history logging is off, or when
// the record could not be written whole (the file is then cut back to its old size).
bool AppendHistoryRecord();

// The most the loader reads: what the table holds, and one record more.
constexpr uint64_t kHistoryReadLimit = (uint64_t{kHistoryCapacity} + 1) * kHistoryFileRecordSize;

// Rebuilds GameHistory and LevelGameCounts from the file. A damaged file (a bad record, or a
// length that is no whole number of records) keeps the whole records before the damage: it is
// copied aside, then cut back to them, with a message; more than kHistoryReadLimit bytes are
// never read. The copy of a file larger than that is made once the window shows
// (UiHooks.RunAfterWindowShown), as long as the file is then still as it was found.
void LoadHistoryFile();

// Three check characters over the first (length mod 256) bytes of `text`; "   " when empty.
std::string HistoryRecordCheck(std::string_view text);

} // namespace quorlet
