// Small X11 facts Qt does not offer, read through Qt's own xcb connection. On another
// platform (offscreen, Wayland) every call answers "none".
#pragma once

#include <QRect>

#include <cstdint>
#include <optional>

struct xcb_connection_t;

namespace quorlet {

// Qt's xcb connection, or null when the application does not run on xcb.
xcb_connection_t* X11Connection();
// The root window of the first screen (0 without xcb).
uint32_t X11RootWindow();

// The window the window manager names active (_NET_ACTIVE_WINDOW of the root), in screen
// coordinates; empty without xcb, without the property (no window manager) or without a window.
std::optional<QRect> X11ActiveWindowRect();

} // namespace quorlet
