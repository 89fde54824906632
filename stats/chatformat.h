// The format shared by the chat reports: text styles, colour and bold codes, the command
// prefix, ordinal suffixes, smileys, and the two reports built from the counters rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorlet {

// The chat text style kept in doIRCtype.
enum TIrcFormat : uint8_t { ifMirc = 0, ifCgi = 1, ifTxt = 2 };

// Label colour c1 and value colour c2 of one report.
struct TChatColors {
    uint8_t c1 = 0;
    uint8_t c2 = 0;
};

// One row of the counters grid as shown.
struct TChatCounterRow {
    std::string label;
    std::string value;
};

// Building blocks of the coloured styles (colour code 3, bold code 2, or the CGI "%C"/"%B").
std::string ChatColorMirc(const std::string& text, uint8_t colour);
std::string ChatBoldMirc(const std::string& text);
std::string ChatColorPercent(const std::string& text, uint8_t colour);
std::string ChatBoldPercent(const std::string& text);

// The pieces of a report in the current style (doIRCtype); in the plain style each is text.
std::string ChatLabel(const std::string& text, const TChatColors& colors);
std::string ChatValue(const std::string& text, const TChatColors& colors);
// A value coloured but not bold.
std::string ChatPlainValue(const std::string& text, const TChatColors& colors);

// Colours from cbIRCColor1/2 (0 draws at random and then keeps redrawing unreadable pairs).
TChatColors PickChatColors();
// "/echo" for the mIRC style in silent mode, else "/me".
std::string ChatCommandPrefix();
// "st", "nd", "rd" or "th" for n (interface texts).
std::string OrdinalSuffix(uint32_t n);
std::string ChatWordBlasted();
std::string ChatWordWatched();

inline constexpr std::array<const char*, 49> ChatSmileys = {
    "*sigh*", ";)",  ":|",  ";|",   ":(",  ";(",  ":-)",     ";-)",     ":-|", ";-|", ":-(", ";-(", "KAB00M",
    "B00M",   "bah", "-.-", "gasp", ":/)", ";D",  ":D",      ":E",      ":P",  ":@",  ":X",  ":S",  ":O",
    "=(",     ":C",  ":>",  ":<",   ">:)", "<:)", ">:(",     "<:(",     ":-#", ":'(", "8-)", ":-x", "o.o",
    "@_@",    "O_O", "@_-", "o_~",  "~_~", "_o_", "^(O_O)>", "<(O_O)^", "<--", "<=="};

// One smiley drawn with Random when cbUseSmiles is on, else "".
std::string RandomChatSmiley();

// "beg", "int", "exp" or "custom" for the current GameLevel, or for a given level.
std::string ChatLevelWord();
std::string ChatLevelWordOf(uint8_t level);

// The plain style's separator between values: blank, the two guillemets, blank.
const std::string& ChatPlainSeparator();

// The row is left out of reports by the exclude list (cbCountersExcludeList, mCntExcludeList).
bool IsChatRowExcluded(const std::string& label);

// The lost-game report over the given counters rows (draws colours and smiley with Random).
std::string BuildBlastedGameReport(const std::vector<TChatCounterRow>& rows);
// The finished-game report; playerName is the name the main window shows during a replay.
std::string BuildFinishedGameReport(const std::vector<TChatCounterRow>& rows, const std::string& playerName);

// Lost-game report of the current counters onto the clipboard.
void CopyBlastedGameInfo();
// The counters window's copy command: finished-game report of the current counters onto the
// clipboard, naming ReplayPlayerName during a replay.
void CopyFinishedGameInfo();

} // namespace quorlet
