#include "platform/desktop/WaylandOutputs.h"

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <vector>
#include <wayland-client.h>

namespace {

struct Outputs
{
    std::vector<wl_output *> outputs;
    WaylandOutputs::Facts facts;
};

void geometry(void *, wl_output *, int32_t, int32_t, int32_t, int32_t, int32_t, const char *,
              const char *, int32_t)
{}
void mode(void *, wl_output *, uint32_t, int32_t, int32_t, int32_t) {}
void done(void *, wl_output *) {}
void scale(void *data, wl_output *, int32_t factor)
{
    auto *outputs = static_cast<Outputs *>(data);
    outputs->facts.largestScale = std::max(outputs->facts.largestScale, int(factor));
}

void text(void *, wl_output *, const char *) {}

const wl_output_listener kOutput = {geometry, mode, done, scale, text, text};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
            uint32_t version)
{
    auto *outputs = static_cast<Outputs *>(data);
    if (std::strcmp(interface, "xdg_activation_v1") == 0)
        outputs->facts.activation = true;
    // The scale event came with the second version.
    if (std::strcmp(interface, wl_output_interface.name) != 0 || version < 2)
        return;
    auto *output =
        static_cast<wl_output *>(wl_registry_bind(registry, name, &wl_output_interface, 2));
    wl_output_add_listener(output, &kOutput, outputs);
    outputs->outputs.push_back(output);
}

void globalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener kRegistry = {global, globalRemove};

} // namespace

WaylandOutputs::Facts WaylandOutputs::read()
{
    if (qgetenv("WAYLAND_DISPLAY").isEmpty())
        return {};
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return {};
    Outputs outputs;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &outputs);
    // The first trip lists the outputs, the second brings their scales.
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    for (wl_output *output : outputs.outputs)
        wl_output_destroy(output);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return outputs.facts;
}
