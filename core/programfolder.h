// Where the program keeps its files: $QUORLET_HOME, else $XDG_DATA_HOME/quorlet, else
// ~/.local/share/quorlet.
#pragma once

#include <string>

namespace quorlet {

// The folder with a trailing "/", created when missing. Empty when it cannot be used; `problem`
// (when given) then names the folder and the reason.
std::string ResolveProgramFolder(std::string* problem = nullptr);

// As ResolveProgramFolder, for the start-up: without a folder the player is told, once, that
// nothing will be saved (the game still plays; no file is read or written by a relative name).
// Also removes the temporary files that interrupted writes left beside the folder's own files.
std::string OpenProgramFolder();

// The program folder's own files whose interrupted writes may have left temporaries behind.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace quorlet
