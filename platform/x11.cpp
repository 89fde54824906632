#include "platform/x11.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <cstdlib>
#include <cstring>
#include <memory>

// After the Qt headers: X11 headers define macros that clash with Qt's names.
#include <xcb/xcb.h>

namespace quorlet {

namespace {

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using TReply = std::unique_ptr<T, TFree>;

} // namespace

xcb_connection_t* X11Connection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

uint32_t X11RootWindow() {
    xcb_connection_t* c = X11Connection();
    if (!c) return 0;
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem > 0 ? it.data->root : 0;
}

std::optional<QRect> X11ActiveWindowRect() {
    xcb_connection_t* c = X11Connection();
    const uint32_t root = X11RootWindow();
    if (!c || !root) return std::nullopt;
    const char name[] = "_NET_ACTIVE_WINDOW";
    TReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) return std::nullopt;
    TReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!property || property->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(property.get()) < 4)
        return std::nullopt;
    xcb_window_t window = 0;
    std::memcpy(&window, xcb_get_property_value(property.get()), sizeof window);
    if (window == 0) return std::nullopt;
    TReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    TReply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr));
    if (!geometry || !origin || geometry->width == 0 || geometry->height == 0) return std::nullopt;
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

} // namespace quorlet
