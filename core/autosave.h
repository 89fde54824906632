// Automatic replay saving: after every ended game the template's rules (condition line, name
// line, folder line, read in triples) decide whether the video is saved, where and under which
// name. The lines live in AutosaveTemplateLines (the options dialog's memo shows them).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlet {

// The template's file in the program folder.
inline constexpr const char* kAutosaveTemplateFileName = "_autosave_template.txt";
// A larger file is not taken as a template (it could only stall a game's end).
inline constexpr std::size_t kMaxAutosaveTemplateBytes = 1u << 20;
// A longer name line cannot make a file name; its rule is ignored.
inline constexpr std::size_t kMaxAutosaveNameLine = 4096;

// The 18 lines of the default template: comments, then one rule per standard level.
std::vector<std::string> DefaultAutosaveTemplate();

// Options.LastPath + the template's file name.
std::string AutosaveTemplatePath();
// The memo gets the default template.
void SetDefaultAutosaveTemplate();
// The file into the memo; a missing file logs and applies the default. A file that is there
// but cannot be read (or is too large) also applies the default, and is then never written
// over by SaveAutosaveTemplate.
void LoadAutosaveTemplate();
// Drops the empty lines and writes the memo to the file (safely, temporary file + rename);
// an existing file that was never read in this run is left alone. False when the file could
// not be written (logged; the caller tells the player).
bool SaveAutosaveTemplate();
void DropEmptyAutosaveTemplateLines();
// Deletes every \ / : ? * " < > | of the text.
std::string StripIllegalPathChars(const std::string& text);

// The game's values the clauses compare.
struct TAutosaveFacts {
    uint8_t mode = 1;        // 1 Beginner .. 4 Custom
    int64_t timeAnd = 0;     // whole seconds
    int64_t timeOr = 0;      // whole seconds, + 1 in recorder style
    int64_t bbbv = 1;        // board 3BV, 1 when it is 0
    float rate = 0;          // solved 3BV per second; 0 at 0.00 s
    int64_t completion = 0;  // solved 3BV x 100 / 3BV, truncated
};
// The facts of the current game (GameLevel, GameClock, Board3BV, Solved3BV, the options).
TAutosaveFacts CurrentAutosaveFacts();

// The verdict of one condition line: the rule saves, does not save, or the line has a clause
// whose number cannot be read (which ends the whole evaluation).
enum class TClauseVerdict { Save, Skip, Broken };
TClauseVerdict EvaluateAutosaveCondition(const std::string& condition, const TAutosaveFacts& facts);

// Index of the first line of the rule that saves (0, 3, 6 ...), or nothing. Ignored rules
// (an empty line, a line beginning with ";", an incomplete last triple) are passed over.
std::optional<std::size_t> FindAutosaveRule(const std::vector<std::string>& lines,
                                            const TAutosaveFacts& facts);

// The folder a folder line names: LastPath + the stripped rest of "PATH=" (created when
// missing), else LastPath; always ends with "/". A folder that cannot be made logs and gives
// LastPath.
std::string AutosaveFolder(const std::string& folderLine);

// The evaluator run at the end of a lost or won game: saves at most one video, through
// SaveReplayFile, never over an existing file. Nothing while doCond is off, during playback
// or for a game that may not be saved.
void AutoSaveReplayByTemplate();

} // namespace quorlet
