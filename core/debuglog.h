// The debug log: time-stamped lines, newest first, kept only while the debug window exists.
#pragma once

#include <string>

namespace quorlet {

// Inserts "HH:MM:SS:mmm text" as the first line when DebugWindowOn is set; never fails.
void DebugLog(const std::string& text);

// The one information dialog; goes through the UI hook (nothing without a window).
void ShowMessageBox(const std::string& text);

} // namespace quorlet
