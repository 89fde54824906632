// The multiplayer window's chat log file.
#pragma once

#include <string>
#include <vector>

namespace quorlet {

// Writes the lines with CR LF ends (an empty log gives an empty file), replacing an existing
// file whole. A failure logs "#Cannot save file" with the reason and shows it; false then.
bool SaveChatLog(const std::string& path, const std::vector<std::string>& lines);

} // namespace quorlet
