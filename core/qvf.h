// QVF game-video files: the board, the player and the game video in one checked byte stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/FData.h"

namespace quorlet {

// The format version, also the first byte of every file ("/").
constexpr uint8_t kQvfVersion = 47;
// Shifted bytes are stored as (value - shift) mod 256.
constexpr uint8_t kQvfShift = 0xB6;
// A length byte holds at most this many characters; longer texts are cut when written.
constexpr std::size_t kQvfMaxTextLength = 255;
// Every byte the reader looks at lies within this many bytes of the start.
constexpr std::size_t kQvfMaxReadBytes = 8u << 20;

// ---- The encodings of the format (exposed for tests and the fuzz target) ----

uint8_t ShiftByte(uint8_t value);
uint8_t UnshiftByte(uint8_t stored);
// The decimal text of value with every character shifted.
std::string ShiftedNumberText(uint64_t value);
// Sum of byte value x position (from 1) over the text.
uint32_t QvfWeightedSum(std::string_view text);
// Sum over the board's cells of class x (column x row + column); class is number + 1 for a
// number, 10 for a mine and 1 for anything else.
uint32_t QvfBoardHash(const TBoardLayer& hidden, uint8_t lastColumn, uint8_t lastRow);
// The ID as a length byte can carry it: at most 255 bytes, not splitting a UTF-8 character.
std::string CutQvfText(std::string_view text);

// The information texts of field 12: a saved game and the high-score copy.
std::string ReplayInfoText();
std::string HighScoreReplayInfoText();

// Offsets inside a built file (tests craft damaged files from them).
struct TQvfLayout {
    std::size_t countBegin = 0;  // the four count bytes
    std::size_t idBegin = 0;     // the player ID's length byte
    std::size_t marksAt = 0;     // the question-mark byte
    std::size_t infoBegin = 0;   // the information text's length byte
    std::size_t eventsBegin = 0; // first byte of event 0
    std::size_t checkBegin = 0;  // first byte of the check value's text
    std::size_t checkLength = 0;
};

// The whole file for the current game, in memory: board from HiddenBoard, `eventCount` events
// from VideoEvents followed by six end markers, filler drawn from Random in file order.
// Needs eventCount + 6 <= kVideoSlots. Changes nothing but RandomSeed.
std::vector<uint8_t> BuildReplayBytes(const std::string& infoText, uint32_t eventCount,
                                      TQvfLayout* layout = nullptr);

// Writes the current game to fileName, unless the game is both unranked and played with a cheat
// option. The file is built whole in memory, written beside the target and renamed over it, so
// a failure leaves any old file as it was; a failure logs "#", shows "Cannot save file" and
// returns false. While a video plays (the last game's preview) VideoEventCount is the last
// event's index, and the writer counts the events accordingly. Calls FixupVideoStart first.
bool SaveReplayFile(const std::string& fileName);
// LastPath + "HI-SCORE " + the expanded replay name + ".qvf", numbered when taken. The prefix
// goes before the file part, so a template that names a folder still saves into that folder.
std::string HighScoreReplayPath();
// The high-score copy of a ranked game (its own information text); false when not written.
bool AutoSaveHighScoreReplay();

// Reads and checks a whole file. Every size, position and count is checked before anything is
// used, and the live state (board, level, video buffer, ReplayVersion, ReplayCountry,
// ReplayPlayerName, doMarks) changes only when every check passed. Failures only log.
bool LoadReplayBytes(std::span<const uint8_t> bytes);
// As above from a file; a missing file returns false without a log line.
bool LoadReplayFile(const std::string& fileName);

} // namespace quorlet
