// Where the program keeps its files: $QUORLET_HOME, else $XDG_DATA_HOME/quorlet, else
// ~/.local/share/quorlet.
#pragma once

#include <string>

namespace quorlet {

// The folder with a trailing "/", created when missing. Empty when it cannot be created.
std::string ResolveProgramFolder();

} // namespace quorlet
