// The settings record: every user option with its default.
#pragma once

#include <cstdint>
#include <string>

namespace quorlet {

struct tOptionsSet {
    bool doMarks = true;
    bool doShowMinesPos = false;
    bool doDisableGroupOpen = false;
    bool doAutoFlag = false;
    bool doDotSeparator = false;
    bool doRecorderStyleTimer = false;
    int32_t CustomTimeZone = 0;
    uint8_t DateOrder = 0;
    std::string LastPath;
};

} // namespace quorlet
