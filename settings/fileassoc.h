// The QVF video file type registered with the desktop, so that opening a ".qvf" file starts
// the program with it.
#pragma once

namespace quorlet {

// Registers the file type and shows whether it worked.
void RegisterVideoFileType();

// The debug commands that stand for the unfinished multiplayer requests: a log line only.
void DebugCmdRemoteSystemInfo();
void DebugCmdRemoteProcessList();

} // namespace quorlet
