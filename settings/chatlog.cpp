#include "settings/chatlog.h"

#include "core/debuglog.h"
#include "core/safewrite.h"
#include "settings/FCap.h"

namespace quorlet {

bool SaveChatLog(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    std::string why;
    if (SafeWriteFile(path, text, &why)) return true;
    DebugLog("#" + UIText("0290") + " " + path + " (" + why + ")");
    ShowMessageBox(UIText("0290"));
    return false;
}

} // namespace quorlet
