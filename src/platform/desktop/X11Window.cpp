#include "platform/desktop/X11Window.h"

#include <QGuiApplication>
#include <QWindow>
#include <array>
#include <memory>
#include <xcb/xcb.h>

namespace {

xcb_connection_t *connection()
{
    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The native window of a window that has one; 0 otherwise.
xcb_window_t nativeWindow(QWindow *window)
{
    if (!window || !window->handle())
        return 0;
    return static_cast<xcb_window_t>(window->winId());
}

QList<xcb_atom_t> atoms(xcb_connection_t *c, xcb_window_t w, xcb_atom_t property)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, w, property, XCB_ATOM_ATOM, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &free);
    QList<xcb_atom_t> list;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        for (int i = 0; i < xcb_get_property_value_length(reply.get()) / 4; ++i)
            list.append(data[i]);
    }
    return list;
}

constexpr uint32_t kStateHint = 1u << 1;   // StateHint: initial_state is set
constexpr uint32_t kUrgencyHint = 1u << 8; // XUrgencyHint
constexpr uint32_t kNormalState = 1;       // NormalState, in the initial_state field
constexpr int kHintFields = 9;

std::array<uint32_t, kHintFields> hints(xcb_connection_t *c, xcb_window_t w)
{
    std::array<uint32_t, kHintFields> values{};
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kHintFields);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &free);
    if (reply && reply->format == 32) {
        const int n = std::min(kHintFields, xcb_get_property_value_length(reply.get()) / 4);
        const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        std::copy(data, data + n, values.begin());
    }
    return values;
}

} // namespace

void X11Window::setSkipTaskbar(QWindow *window, bool skip)
{
    xcb_connection_t *c = connection();
    const xcb_window_t w = c ? nativeWindow(window) : 0;
    if (!w)
        return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skipAtom = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    // A window not mapped yet carries the state itself (the toolkit keeps atoms it does not
    // know when it maps the window); a mapped one asks the window manager.
    QList<xcb_atom_t> list = atoms(c, w, state);
    if (list.contains(skipAtom) != skip) {
        if (skip)
            list.append(skipAtom);
        else
            list.removeAll(skipAtom);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, state, XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(list.size()), list.constData());
    }
    if (window->isVisible()) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = state;
        event.data.data32[0] = skip ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
        event.data.data32[1] = skipAtom;
        event.data.data32[3] = 1; // from an application
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_send_event(c, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_flush(c);
}

bool X11Window::skipsTaskbar(QWindow *window)
{
    xcb_connection_t *c = connection();
    const xcb_window_t w = c ? nativeWindow(window) : 0;
    return w &&
           atoms(c, w, atom(c, "_NET_WM_STATE")).contains(atom(c, "_NET_WM_STATE_SKIP_TASKBAR"));
}

void X11Window::setUrgent(QWindow *window, bool urgent)
{
    xcb_connection_t *c = connection();
    const xcb_window_t w = c ? nativeWindow(window) : 0;
    if (!w)
        return;
    std::array<uint32_t, kHintFields> values = hints(c, w);
    if (((values[0] & kUrgencyHint) != 0) == urgent)
        return;
    values[0] = urgent ? values[0] | kUrgencyHint : values[0] & ~kUrgencyHint;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        kHintFields, values.data());
    xcb_flush(c);
}

bool X11Window::urgent(QWindow *window)
{
    xcb_connection_t *c = connection();
    const xcb_window_t w = c ? nativeWindow(window) : 0;
    return w && (hints(c, w)[0] & kUrgencyHint) != 0;
}

void X11Window::setOpensNormal(QWindow *window)
{
    xcb_connection_t *c = connection();
    const xcb_window_t w = c ? nativeWindow(window) : 0;
    if (!w)
        return;
    std::array<uint32_t, kHintFields> values = hints(c, w);
    if ((values[0] & kStateHint) == 0 || values[2] == kNormalState)
        return;
    values[2] = kNormalState;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        kHintFields, values.data());
    xcb_flush(c);
}

bool X11Window::onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool X11Window::onXWayland()
{
    xcb_connection_t *c =
        QGuiApplication::platformName() == QLatin1String("xcb") ? connection() : nullptr;
    if (!c)
        return false;
    // The X server stays the same for the program's life: asked once, not at every message.
    static const bool xwayland = [c] {
        const xcb_query_extension_cookie_t cookie =
            xcb_query_extension(c, static_cast<uint16_t>(qstrlen("XWAYLAND")), "XWAYLAND");
        std::unique_ptr<xcb_query_extension_reply_t, decltype(&free)> ext(
            xcb_query_extension_reply(c, cookie, nullptr), &free);
        return ext && ext->present;
    }();
    return xwayland;
}

bool X11Window::showsWithoutFocus()
{
    if (onWayland())
        return false;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    // XWayland hands focus to the compositor, which ignores the X hints.
    if (onXWayland())
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> wm(
        xcb_get_property_reply(c, cookie, nullptr), &free);
    // Without a window manager nothing moves the focus to a newly mapped window.
    if (!wm || xcb_get_property_value_length(wm.get()) < 4)
        return true;
    return atoms(c, root, atom(c, "_NET_SUPPORTED")).contains(atom(c, "_NET_WM_USER_TIME"));
}

bool X11Window::holdsInputFocus()
{
    xcb_connection_t *c = connection();
    if (!c)
        return true;
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&free)> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &free);
    // None and PointerRoot are no window of ours.
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return false;
    QList<xcb_window_t> ours;
    for (QWindow *window : QGuiApplication::topLevelWindows())
        if (const xcb_window_t w = nativeWindow(window))
            ours.append(w);
    // The focus may sit in a child of a top-level window; walk up to the root.
    xcb_window_t w = focus->focus;
    for (int depth = 0; w != XCB_NONE && depth < 16; ++depth) {
        if (ours.contains(w))
            return true;
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr), &free);
        if (!tree || tree->parent == tree->root)
            return false;
        w = tree->parent;
    }
    return false;
}

bool X11Window::iconic(QWindow *window)
{
    xcb_connection_t *c = connection();
    const xcb_window_t w = c ? nativeWindow(window) : 0;
    if (!w)
        return true;
    const xcb_atom_t wmState = atom(c, "WM_STATE");
    const xcb_get_property_cookie_t cookie = xcb_get_property(c, 0, w, wmState, wmState, 0, 1);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &free);
    constexpr uint32_t kIconicState = 3;
    return reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) >= 4 &&
           *static_cast<const uint32_t *>(xcb_get_property_value(reply.get())) == kIconicState;
}
