// The interface text table: 360 translatable texts, English at start, replaced by key from a
// language file in the program folder. The live texts are UITextTable (core/FData.h).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorlet {

inline constexpr std::size_t kUITextCount = 360;
// The first 353 entries have a four-digit key, in key order; the last 7 have none.
inline constexpr std::size_t kKeyedUITextCount = 353;

// Indexes of the entries without a key.
enum : std::size_t {
    utNewRecord = kKeyedUITextCount,
    utRQP,
    utIOS,
    utIOE,
    utCounterNameQuestion,      // the formula editor: indicator name like "myName"
    utNoFormulaQuestion,        // the formula editor: no formula used
    utUnknownVariablesQuestion, // the formula editor: unknown variables
};

struct TUITextDefault {
    const char* key; // four digits, or "" for an entry without a key
    const char* text;
};

extern const std::array<TUITextDefault, kUITextCount> UITextDefaults;

// The table as it stands at program start.
std::array<std::string, kUITextCount> DefaultUITextTable();

// Index of an entry by its four-digit key; -1 for an unknown key.
int UITextIndex(std::string_view key);

// The current text of a keyed entry; an empty text for an unknown key.
const std::string& UIText(std::string_view key);

// The English default into each keyed entry; the entries without a key stay as they are.
void SetDefaultTexts();

// SetDefaultTexts, then the language file (program folder + langFileName) over the table.
// Never throws: a missing or unreadable file logs and leaves English.
void LoadLanguageFile();

// Releases the texts at program end.
void ClearTextTable();

inline constexpr const char* kEnglishLanguageFileName = "_english.lng";

// The English template language file ("_english.lng") built from the defaults, CR LF lines.
std::string EnglishLanguageFileText();

// Writes the English template into the program folder when no file of that name is there, so
// players have a file to translate and the language page has one to offer. An existing file is
// never touched. Logs a "#" line on failure; never throws.
void InstallEnglishLanguageFile();

} // namespace quorlet
