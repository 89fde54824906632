#include "core/nameline.h"

#include "core/debuglog.h"
#include "core/textutil.h"

namespace quorlet {

std::string NameLineText(const std::string& name, bool fromVideo) {
    const std::size_t mouse = AsciiUpperCase(name).find("<MOUSE>");
    if (mouse == std::string::npos) {
        if (fromVideo) DebugLog("mouse_type: none - type <mouse>[mouse_type] in the User ID Text");
        return name;
    }
    if (fromVideo) DebugLog("mouse_type: " + name.substr(mouse + 7));
    return name.substr(0, mouse);
}

} // namespace quorlet
