#include "platform/x11hotkey.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdlib>
#include <memory>

#include "platform/x11.h"

// After the Qt headers: X11 headers define macros that clash with Qt's names.
#include <xcb/xcb.h>

namespace quorlet {

namespace {

// The lock modifiers a grab must ignore: CapsLock and NumLock (Mod2 on common layouts).
constexpr uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

uint8_t KeycodeOf(xcb_connection_t* c, uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const uint8_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, static_cast<uint8_t>(count)), nullptr),
        &std::free);
    if (!mapping) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perCode = mapping->keysyms_per_keycode;
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < perCode && k < 2; ++k)
            if (syms[i * perCode + k] == keysym) return static_cast<uint8_t>(first + i);
    return 0;
}

void Ungrab(xcb_connection_t* c, uint8_t keycode, uint16_t modifiers, int variants) {
    const uint32_t root = X11RootWindow();
    for (int i = 0; i < variants; ++i)
        xcb_ungrab_key(c, keycode, root, modifiers | kLockVariants[i]);
    xcb_flush(c);
}

} // namespace

uint32_t TX11KeyGrab::KeysymOf(uint8_t vk) {
    if (vk >= 0x70 && vk <= 0x87) return 0xFFBE + (vk - 0x70); // F1..F24
    if (vk >= 'A' && vk <= 'Z') return 'a' + (vk - 'A');
    if (vk >= '0' && vk <= '9') return vk;
    if (vk >= 0x21 && vk <= 0x28) {
        // Page Up, Page Down, End, Home, Left, Up, Right, Down
        static const uint32_t kNavigation[] = {0xFF55, 0xFF56, 0xFF57, 0xFF50, 0xFF51, 0xFF52, 0xFF53, 0xFF54};
        return kNavigation[vk - 0x21];
    }
    switch (vk) {
    case 0x08: return 0xFF08; // Backspace
    case 0x09: return 0xFF09; // Tab
    case 0x0D: return 0xFF0D; // Return
    case 0x13: return 0xFF13; // Pause
    case 0x1B: return 0xFF1B; // Escape
    case 0x20: return 0x20;   // Space
    case 0x2D: return 0xFF63; // Insert
    case 0x2E: return 0xFFFF; // Delete
    default: return 0;
    }
}

std::unique_ptr<TX11KeyGrab> TX11KeyGrab::Grab(uint8_t virtualKey, bool shift, bool ctrl, bool alt,
                                               std::function<void()> onPress, std::string& error) {
    xcb_connection_t* c = X11Connection();
    const uint32_t root = X11RootWindow();
    if (!c || !root) {
        error = "no X11 display";
        return nullptr;
    }
    const uint32_t keysym = KeysymOf(virtualKey);
    const uint8_t keycode = keysym ? KeycodeOf(c, keysym) : 0;
    if (!keycode) {
        error = "the key is not on the keyboard";
        return nullptr;
    }
    const uint16_t modifiers = static_cast<uint16_t>((shift ? XCB_MOD_MASK_SHIFT : 0) |
                                                     (ctrl ? XCB_MOD_MASK_CONTROL : 0) | (alt ? XCB_MOD_MASK_1 : 0));
    int grabbed = 0;
    for (const uint16_t lock : kLockVariants) {
        xcb_generic_error_t* failure = xcb_request_check(
            c, xcb_grab_key_checked(c, 1, root, modifiers | lock, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        if (failure) {
            error = failure->error_code == 10 ? "the key is held by another program" // BadAccess
                                              : "X error " + std::to_string(failure->error_code);
            std::free(failure);
            Ungrab(c, keycode, modifiers, grabbed);
            return nullptr;
        }
        ++grabbed;
    }
    std::unique_ptr<TX11KeyGrab> grab(new TX11KeyGrab());
    grab->keycode_ = keycode;
    grab->modifiers_ = modifiers;
    grab->onPress_ = std::move(onPress);
    QCoreApplication::instance()->installNativeEventFilter(grab.get());
    return grab;
}

TX11KeyGrab::~TX11KeyGrab() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t* c = X11Connection()) Ungrab(c, keycode_, modifiers_, 4);
}

bool TX11KeyGrab::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    const uint16_t held = key->state & (XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
    if (key->detail != keycode_ || held != modifiers_) return false;
    if (type == XCB_KEY_PRESS && onPress_) onPress_();
    // The grabbed key is ours alone: no window sees it as its own shortcut as well.
    return true;
}

} // namespace quorlet
