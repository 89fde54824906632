// The name line under the board: the player's ID text, or a loaded video's player name.
#pragma once

#include <string>

namespace quorlet {

// The text the name line shows. A "<MOUSE>" tag (any case) and everything after it is cut
// off; for a video's name (fromVideo) the mouse type after the tag is logged as
// "mouse_type: ...", or the hint to add one when the name carries none.
std::string NameLineText(const std::string& name, bool fromVideo);

} // namespace quorlet
