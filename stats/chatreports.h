// The chat reports over the game history (last game, game by number, best times and 3BV/s,
// counts and averages, today's games), each one line for the clipboard in the chat style.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorlet {

// Figures of one record as the game reports give them.
struct TChatRecordFigures {
    uint32_t games = 0;        // LevelGameCounts of the record's level
    uint32_t rankTime = 0;     // records of the level and flagging style not slower (ties share the worse)
    uint32_t rank3BVs = 0;     // records of the level and flagging style not lower in 3BV/s, at least 1
    std::string rpi, ios, rqp; // cut to two decimals, or "n/a"
};

// These ranks count inclusively over the record's own flagging byte; they differ from the
// personal-record ties and from the counter formulas' rank variables on purpose.
uint32_t ChatRankTime(int32_t index);
uint32_t ChatRank3BVs(int32_t index);
TChatRecordFigures ChatRecordFigures(int32_t index);

// General number form (up to 15 significant digits, regional separator), cut without rounding
// two characters after the first "," and after the first ".": 66.6666 gives "66.66".
std::string ChatCutNumber(long double value);

// The decimal digits of an answer in order; the game number they give, or nothing when
// empty, zero, past the table's records or too long for any number.
std::string ChatDigitsOf(const std::string& answer);
std::optional<uint32_t> ParseChatGameNumber(const std::string& digits);

// Report texts (each draws its colours and smiley with Random).
std::string BuildLastGameReport(int32_t index);
std::string BuildGameByNumberReport(uint32_t number);
std::string BuildRecordsReport(bool byTime);
std::string BuildAveragesReport();
std::string BuildTodayReport(uint8_t level);
std::string ChatChannelInfoText();

// The menu commands: build the report and copy it; false (and nothing copied) when the game
// asked for is not there, after the "not found" log line and message.
bool CopyLastGameReport();
bool CopyGameReportByNumber(const std::string& answer);
void CopyRecordsReport(bool byTime);
void CopyAveragesReport();
void CopyTodayReport(uint8_t level);
void ShowChatChannelInfo();

} // namespace quorlet
