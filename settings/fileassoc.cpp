#include "settings/fileassoc.h"

#include "core/debuglog.h"

namespace quorlet {

void RegisterVideoFileType() {
    DebugLog("#video file type registration is not available yet");
}

void DebugCmdRemoteSystemInfo() {
    DebugLog("multiplayer under construction");
}

void DebugCmdRemoteProcessList() {
    DebugLog("multiplayer under construction");
}

} // namespace quorlet
