#include "core/shell.h"

#include "core/debuglog.h"

namespace quorlet {

void CreateDesktopShortcut(const std::string&, const std::string& linkFile, const std::string&) {
    DebugLog("#desktop shortcut is not available yet: " + linkFile);
}

} // namespace quorlet
