#include "kit/KitGlobalHotKey.h"

#include <exception>

#include "core/FData.h"
#include "core/debuglog.h"
#include "platform/x11hotkey.h"

namespace quorlet {

TKitGlobalHotKey::TKitGlobalHotKey(QObject* owner) : TKitCustomComponent(owner) {
    hotKeyId_ = ++HotKeyIdCounter;
}

TKitGlobalHotKey::~TKitGlobalHotKey() {
    Unregister();
}

void TKitGlobalHotKey::SplitShortcut(uint16_t shortcut, uint16_t& key, Qt::KeyboardModifiers& shift) {
    key = shortcut & 0xFF;
    shift = {};
    if (shortcut & 0x2000) shift |= Qt::ShiftModifier;
    if (shortcut & 0x4000) shift |= Qt::ControlModifier;
    if (shortcut & 0x8000) shift |= Qt::AltModifier;
}

void TKitGlobalHotKey::Register() {
    Unregister();
    if (hotKey_ == 0) return;
    uint16_t key = 0;
    Qt::KeyboardModifiers shift;
    SplitShortcut(hotKey_, key, shift);
    grab_ = TX11KeyGrab::Grab(static_cast<uint8_t>(key), shift & Qt::ShiftModifier, shift & Qt::ControlModifier,
                              shift & Qt::AltModifier, [this] { HotKeyPressed(); }, lastError_);
    if (grab_)
        lastError_.clear();
    else
        DebugLog("#global hot key " + std::to_string(hotKey_) + " not registered: " + lastError_);
}

void TKitGlobalHotKey::Unregister() {
    grab_.reset();
}

void TKitGlobalHotKey::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (value)
        Register();
    else
        Unregister();
}

void TKitGlobalHotKey::SetHotKey(uint16_t value) {
    if (value == hotKey_) return;
    // The old key is let go before the new one is taken.
    Unregister();
    hotKey_ = value;
    if (active_) Register();
}

void TKitGlobalHotKey::HotKeyPressed() {
    if (!OnKeyDown) return;
    uint16_t key = 0;
    Qt::KeyboardModifiers shift;
    SplitShortcut(hotKey_, key, shift);
    try {
        OnKeyDown(this, key, shift);
    } catch (const std::exception& e) {
        DebugLog(std::string("#hot key handler failed: ") + e.what());
    } catch (...) {
        DebugLog("#hot key handler failed");
    }
}

} // namespace quorlet
