// The debug command box's rules: the command list, the type-ahead and the dispatch.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace quorlet {

// The box's list, sorted ("help" is accepted but not listed).
inline constexpr std::array<const char*, 11> kDebugCommands = {
    "beg_3bv_distribution_table_easy", "beg_3bv_distribution_table_full", "custom_3bv_distribution_table",
    "exp_3bv_distribution_table_easy", "exp_3bv_distribution_table_full", "get_cpu_speed",
    "grab_remote_processlist",         "grab_remote_systeminfo",          "int_3bv_distribution_table_easy",
    "int_3bv_distribution_table_full", "session_info",
};

struct TCompletion {
    std::string text;        // the whole entry
    std::size_t caret = 0;   // after the typed characters
    std::size_t selected = 0; // the completed rest, selected
};

// The first entry in list order that the text (ignoring case, not empty) begins; none otherwise.
std::optional<TCompletion> CompleteDebugCommand(const std::string& text);

// Backspace at `caret`: the text before the caret less one character, completed again when an
// entry begins it (otherwise the shortened text with the caret at its end).
TCompletion DebugCommandBackspace(const std::string& text, std::size_t caret);

// Logs the processing line, then runs the first command that equals the text exactly (case and
// all), or logs the unknown-command line.
void RunDebugCommand(const std::string& text);

} // namespace quorlet
