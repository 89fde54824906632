// The engine reaches windows only through this table. The UI fills it at start-up;
// tests fill it with recorders. An empty entry means "no window": the call does nothing.
#pragma once

#include <functional>
#include <string>

namespace quorlet {

struct TUiHooks {
    // The one information dialog (modal, one button).
    std::function<void(const std::string& text)> ShowMessageBox;
    // Plain text onto the clipboard, replacing its contents.
    std::function<void(const std::string& text)> CopyTextToClipboard;
    // The board and its counters need repainting.
    std::function<void()> RequestRedraw;
};

extern TUiHooks UiHooks;

// Clears every hook (tests call it between cases).
void ResetUiHooks();

} // namespace quorlet
