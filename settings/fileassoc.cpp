#include "settings/fileassoc.h"

#include "core/debuglog.h"

namespace quorlet {

void RegisterVideoFileType() {
    DebugLog("#video file type registration is not available yet");
}

} // namespace quorlet
