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
std::string OpenProgramFolder();

// A temporary file younger than this may belong to a write of another running instance.
inline constexpr int kLiveTemporarySeconds = 3600;

// Removes the temporary files that interrupted writes left in `folder` and in the folders
// directly under it (where the program writes; a linked folder is not followed): regular files
// with a safe writer's temporary name, and the fixed "name.tmp" of the folder's own files that
// earlier versions wrote. No other file is touched. While another instance may be running on
// the folder, only those untouched for kLiveTemporarySeconds go.
void RemoveStaleTemporaries(const std::string& folder, bool anotherInstanceMayRun);

} // namespace quorlet
