// The debug log: time-stamped lines, newest first, kept only while the debug window exists.
// Logging and saving never throw; failures are swallowed.
#pragma once

#include <cstddef>
#include <string>

namespace quorlet {

// Inserts "HH:MM:SS:mmm text" as the first line when DebugWindowOn is set. A text holding line
// breaks becomes several lines, its first line on top. Past 3000 lines the log is emptied and
// the clearance notice logged. The debug window is told through UiHooks.DebugLogChanged.
// Before the window exists the line is kept (stamped) in DebugLogEarlyLines instead.
void DebugLog(const std::string& text);

// The debug window is created: sets DebugWindowOn and puts the lines kept before it under
// those of the log (they are older).
void OpenDebugLog();

// The one information dialog; goes through the UI hook (nothing without a window).
void ShowMessageBox(const std::string& text);

// Empties the log, then logs "protocol cleared" (the debug window's Clear command).
void ClearDebugLog();

// The log as a text file, one line per log line, oldest last. False when it cannot be written.
bool SaveDebugLogTo(const std::string& path);

// The save dialog's result: saves to path and logs "protocol save ok" or "protocol save error".
void SaveDebugLogAs(const std::string& path);

// Fatal paths: the log to LastPath + "_Debug_MS_Quorlet_0.47_HHhMMm_DDdMMmYYYYy.txt" when the
// debug window exists and the log is not empty.
void SaveDebugLog();

// The save dialog's proposed name "_Debug_MS_Quorlet_HHhMMm_DDdMMmYYYYy.txt" (refreshes Now).
std::string DebugLogSaveName();

// The bytes the log takes as a text file (line texts plus one line break each).
std::size_t DebugLogCharacterCount();

// "Debug Protocol * [n lines / c bytes / p% free]" (the title from the text table).
std::string DebugLogCaption();

} // namespace quorlet
