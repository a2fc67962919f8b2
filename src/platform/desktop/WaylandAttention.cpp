#include "platform/desktop/WaylandAttention.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>
#include <xdg-activation-v1-client-protocol.h>

namespace {

// Our own queue, so that the toolkit's dispatching never sees these objects and a round trip
// here never runs the toolkit's handlers.
struct Connection
{
    wl_display *display = nullptr;
    wl_event_queue *queue = nullptr;
    xdg_activation_v1 *activation = nullptr;
};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    auto *connection = static_cast<Connection *>(data);
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0 && !connection->activation)
        connection->activation = static_cast<xdg_activation_v1 *>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void globalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener kRegistry = {global, globalRemove};

void tokenDone(void *data, xdg_activation_token_v1 *, const char *token)
{
    *static_cast<QByteArray *>(data) = token;
}

const xdg_activation_token_v1_listener kToken = {tokenDone};

Connection *connect(wl_display *display)
{
    // One display for the program's life: the toolkit opens it once.
    static Connection connection;
    if (connection.display)
        return connection.display == display ? &connection : nullptr;
    connection.display = display;
    connection.queue = wl_display_create_queue(display);
    auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), connection.queue);
    wl_registry *registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    wl_registry_add_listener(registry, &kRegistry, &connection);
    wl_display_roundtrip_queue(display, connection.queue);
    wl_registry_destroy(registry);
    return &connection;
}

} // namespace

void WaylandAttention::ask(QWindow *window)
{
    if (!window || !window->isVisible() ||
        QGuiApplication::platformName() != QLatin1String("wayland"))
        return;
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (!native)
        return;
    auto *display = static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display"));
    auto *surface = static_cast<wl_surface *>(native->nativeResourceForWindow("surface", window));
    Connection *connection = display && surface ? connect(display) : nullptr;
    if (!connection || !connection->activation)
        return;
    // No seat and no input serial: the request stands for no user action, so a compositor
    // does not move the focus for it.
    xdg_activation_token_v1 *request =
        xdg_activation_v1_get_activation_token(connection->activation);
    QByteArray token;
    xdg_activation_token_v1_add_listener(request, &kToken, &token);
    xdg_activation_token_v1_set_surface(request, surface);
    xdg_activation_token_v1_commit(request);
    // The answer comes within a round trip; a broken connection ends the wait as well.
    for (int trips = 0; token.isEmpty() && trips < 3; ++trips)
        if (wl_display_roundtrip_queue(connection->display, connection->queue) < 0)
            break;
    xdg_activation_token_v1_destroy(request);
    if (token.isEmpty())
        return;
    xdg_activation_v1_activate(connection->activation, token.constData(), surface);
    wl_display_flush(connection->display);
}
