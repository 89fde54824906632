// Services the desktop gives the program: launchers and shortcuts.
#pragma once

#include <string>

namespace quorlet {

// Makes a desktop launcher `linkFile` that starts `target` with `arguments`, replacing an older
// launcher of that name. A failure is logged, nothing else.
void CreateDesktopShortcut(const std::string& target, const std::string& linkFile, const std::string& arguments);

} // namespace quorlet
