// The QVF video file type registered with the desktop, so that opening a ".qvf" file starts
// the program with it: a shared-mime-info package for the type and a desktop entry that
// handles it, both under the user's data folder.
#pragma once

#include <string>

namespace quorlet {

// Our own MIME type of the video files.
extern const char* const kQvfMimeType;

// The user's data folder: $XDG_DATA_HOME, else $HOME/.local/share (empty when neither is set).
std::string UserDataFolder();
// The mime package: the type with the glob "*.qvf" (shared-mime-info matches it in any case).
std::string QvfMimePackageText();
// The desktop entry that opens a video: Exec="<executable>" %f, the type in MimeType=.
std::string QvfDesktopEntryText(const std::string& executable, const std::string& icon);

// Writes both files (replacing older ones), then refreshes the desktop's databases and makes
// the program the type's default with the tools that are installed. Shows 0181 when both files
// were written, else 0182 (with a "#" log line).
void RegisterVideoFileType();

// The debug commands that stand for the unfinished multiplayer requests: a log line only.
void DebugCmdRemoteSystemInfo();
void DebugCmdRemoteProcessList();

} // namespace quorlet
