#include "core/debuglog.h"

#include "core/FData.h"
#include "core/uihooks.h"

namespace quorlet {

void DebugLog(const std::string& text) {
    if (!DebugWindowOn) return;
    DebugLogLines.insert(DebugLogLines.begin(), text);
}

void ShowMessageBox(const std::string& text) {
    if (UiHooks.ShowMessageBox) UiHooks.ShowMessageBox(text);
}

} // namespace quorlet
