// The QVF video file type registered with the desktop, so that opening a ".qvf" file starts
// the program with it.
#pragma once

namespace quorlet {

// Registers the file type and shows whether it worked.
void RegisterVideoFileType();

} // namespace quorlet
