// The Qt side of the engine's UI hooks that belong to no single window.
#pragma once

namespace quorlet {

// Fills the message box, clipboard and picture-size hooks (the main window calls it at start-up).
void InstallQtUiHooks();

} // namespace quorlet
