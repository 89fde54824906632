// One system-wide hot key: pressed anywhere, it fires OnKeyDown on the GUI thread. Registered
// while Active with a non-zero HotKey (the virtual-key code in the low byte, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt). Where no grab is possible (no X11, the key taken) registration
// fails, is logged, and the component never fires.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "kit/KitCustomComponent.h"

namespace quorlet {

class TX11KeyGrab;

// (sender, key code, modifiers)
using TKitKeyEvent = std::function<void(QObject* sender, uint16_t& key, Qt::KeyboardModifiers shift)>;

class TKitGlobalHotKey : public TKitCustomComponent {
    Q_OBJECT

  public:
    explicit TKitGlobalHotKey(QObject* owner = nullptr);
    ~TKitGlobalHotKey() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    uint16_t HotKey() const { return hotKey_; }
    void SetHotKey(uint16_t value);
    uint16_t HotKeyId() const { return hotKeyId_; }
    TKitKeyEvent OnKeyDown;

    // True while the key is grabbed.
    bool Registered() const { return grab_ != nullptr; }
    // Why the last registration failed (empty after a success).
    const std::string& LastError() const { return lastError_; }

    // The key's press: OnKeyDown with the stored key split into code and modifiers.
    void HotKeyPressed();
    // The key code and modifiers of a shortcut value.
    static void SplitShortcut(uint16_t shortcut, uint16_t& key, Qt::KeyboardModifiers& shift);

  private:
    void Register();
    void Unregister();

    std::unique_ptr<TX11KeyGrab> grab_;
    std::string lastError_;
    uint16_t hotKey_ = 0;
    uint16_t hotKeyId_ = 0;
    bool active_ = true;
};

} // namespace quorlet
