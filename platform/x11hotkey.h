// A system-wide key grabbed on the X11 root window through Qt's xcb connection: presses reach
// the program whichever window has the focus. No Xlib: its error handler could end the process.
#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quorlet {

class TX11KeyGrab : public QAbstractNativeEventFilter {
  public:
    // Grabs the key of a Windows-style virtual-key code (F1..F24, letters, digits and a few
    // others) with the given modifiers, also with NumLock and CapsLock on. Empty, with the
    // reason in `error`, when not on xcb, for an unknown key, or when another client holds it.
    static std::unique_ptr<TX11KeyGrab> Grab(uint8_t virtualKey, bool shift, bool ctrl, bool alt,
                                             std::function<void()> onPress, std::string& error);
    ~TX11KeyGrab() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The X keysym of a virtual-key code; 0 when it has none here.
    static uint32_t KeysymOf(uint8_t virtualKey);

  private:
    TX11KeyGrab() = default;
    uint8_t keycode_ = 0;
    uint16_t modifiers_ = 0;
    std::function<void()> onPress_;
};

} // namespace quorlet
