// The rules of the formula editor: its token buttons, how a button changes the formula (one
// level of undo), the cell-number answer, the checks before Apply and the template line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorlet {

// The formula edit holds at most this many characters.
constexpr std::size_t kFormulaMaxLength = 1024;

enum class TFormulaGroup : uint8_t { Results, Clicks, Board, Ranks, GlobalRanks };

struct TFormulaToken {
    const char* button;  // the button's name
    const char* caption; // its caption
    const char* token;   // what it inserts; empty for the disabled MBV buttons
    TFormulaGroup group;
};

inline constexpr std::array<TFormulaToken, 40> FormulaTokens{{
    {"sbTIME", "TIME", " TIME", TFormulaGroup::Results},
    {"sbTIMEREAL", "TIMEREAL", " TIMEREAL", TFormulaGroup::Results},
    {"sbEstimated", "EST TIME", " TIMEEST", TFormulaGroup::Results},
    {"sbBBBV", "BBBV", " BBBV", TFormulaGroup::Results},
    {"sbBBBV_DONE", "DONE 3BV", " BBBVDONE", TFormulaGroup::Results},
    {"sbBBBV_S", "3BV/s", " BBBV/TIMEREAL", TFormulaGroup::Results},
    {"sbIOSres", "IOS", " IOS", TFormulaGroup::Results},
    {"sbRQPres", "RQP", " RQP", TFormulaGroup::Results},
    {"sbPATHres", "PATH", " PATH", TFormulaGroup::Results},
    {"sbMBVres", "MBV*", "", TFormulaGroup::Results},
    {"sbL", "LEFT", " LCLK", TFormulaGroup::Clicks},
    {"sbR", "RIGHT", " RCLK", TFormulaGroup::Clicks},
    {"sbD", "DOUBLE", " DCLK", TFormulaGroup::Clicks},
    {"sbTOTALcl", "TOTAL CLICKS", " TOTALCLK", TFormulaGroup::Clicks},
    {"sbLE", "L EFFECT", " LEFF", TFormulaGroup::Clicks},
    {"sbRE", "R EFFECT", " REFF", TFormulaGroup::Clicks},
    {"sbDE", "D EFFECT", " DEFF", TFormulaGroup::Clicks},
    {"sbTOTALeff", "TOTAL EFFECT", " TOTALEFF", TFormulaGroup::Clicks},
    {"sbTOTAL_GAMES", "GAMES", " TOTALGAMES", TFormulaGroup::Board},
    {"sbOPENINGbrd", "OPENINGS", " OPENINGS", TFormulaGroup::Board},
    {"sbDONEOPENINGbrd", "DONE OPENINGS", " OPENINGSDONE", TFormulaGroup::Board},
    {"sbISLAND", "3BV ISLANDS", " ISLANDS", TFormulaGroup::Board},
    {"sbWIDTHbrd", "WIDTH", " DX", TFormulaGroup::Board},
    {"sbHEIGHTbrd", "HEIGHT", " DY", TFormulaGroup::Board},
    // The flags placed, not REFF (flags on mines, hidden during play).
    {"sbUSEDFLAGSbrd", "FLAGS USED", " FLAGSUSED", TFormulaGroup::Board},
    {"sbMODEbrd", "MODE", " MODE", TFormulaGroup::Board},
    {"sbMINESbrd", "MINES", " MINES", TFormulaGroup::Board},
    // The digit asked for follows these two.
    {"sbCELLbrd", "CELL#", " CELL", TFormulaGroup::Board},
    {"sbDONECELLbrd", "DONE CELL#", " DONECELL", TFormulaGroup::Board},
    {"sbTIMErnk", "TIME", " RANKTIME", TFormulaGroup::Ranks},
    {"sbBBBVSrnk", "3BV/s", " RANKBBBVS", TFormulaGroup::Ranks},
    {"sbRQPrnk", "RQP", " RANKRQP", TFormulaGroup::Ranks},
    {"sbIOSrnk", "IOS", " RANKIOS", TFormulaGroup::Ranks},
    {"sbRPIrnk", "RPI", " RPI", TFormulaGroup::Ranks},
    {"sbMBVrnk", "MBV*", "", TFormulaGroup::Ranks},
    {"sbTIMEgrnk", "TIME", " GLRANKTIME", TFormulaGroup::GlobalRanks},
    {"sbBBBVSgrnk", "3BV/s", " GLRANKBBBVS", TFormulaGroup::GlobalRanks},
    {"sbRQPgrnk", "RQP", " GLRANKRQP", TFormulaGroup::GlobalRanks},
    {"sbIOSgrnk", "IOS", " GLRANKIOS", TFormulaGroup::GlobalRanks},
    {"sbRPIgrnk", "RPI", " GLOBRPI", TFormulaGroup::GlobalRanks},
}};

// The operator buttons: each appends its text at the end, whatever is selected.
struct TFormulaOperator {
    const char* button;
    const char* caption;
    const char* text;
};
inline constexpr std::array<TFormulaOperator, 5> FormulaOperators{{
    {"sbPlus", "+", " +"},
    {"sbMinus", "-", " -"},
    {"sbMult", "*", " *"},
    {"sbDivide", "/", " /"},
    {"sbBrackets", "( )", " ( )"},
}};

// The formula as the edit holds it: text and selection (byte offsets), and the undo buffer.
struct TFormulaEdit {
    std::string text;
    std::size_t selStart = 0;
    std::size_t selLength = 0;
    std::string undo;
};

// A token replaces the selection (inserted where it began) or, with none, goes at the end.
// Each of these first keeps the formula in the undo buffer.
void InsertFormulaToken(TFormulaEdit& edit, const std::string& token);
void AppendFormulaOperator(TFormulaEdit& edit, const std::string& text);
// " ( " + formula + " )".
void WrapFormulaInBrackets(TFormulaEdit& edit);
void ClearFormulaEdit(TFormulaEdit& edit);
// Back to the formula before the last action; a second undo changes nothing.
void UndoFormulaEdit(TFormulaEdit& edit);

// The cell prompt's answer: exactly one of the digits 0 to 8.
bool IsCellNumberAnswer(const std::string& answer);
// The name holds a placeholder such as "myVar" after its first character.
bool HasPlaceholderName(const std::string& name);
// The template line Apply appends: "#" (as text) or "@" (after the previous formula) or
// nothing, the name, "| ", the formula; empty when the formula is empty.
std::string FormulaTemplateLine(const std::string& name, const std::string& formula, bool asText,
                                bool asForm);

// Top of the expanded editor: its bottom kept 50 px above the screen's, its top not above 10.
int32_t FormulaExpandedTop(int32_t top, int32_t height, int32_t screenHeight);

} // namespace quorlet
