#include "shell/wayland/wayland_display.h"

#include "fractional-scale-v1-client-protocol.h"
#include "relative-pointer-unstable-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const xdg_wm_base_listener pingListener = {
    [](void*, xdg_wm_base* wmBase, std::uint32_t serial) { xdg_wm_base_pong(wmBase, serial); },
};

WaylandOutput& output(void* data) {
    return *static_cast<WaylandOutput*>(data);
}

WaylandDisplay& display(void* data) {
    return *static_cast<WaylandDisplay*>(data);
}

// The xdg-output events follow wl_output's, asked for after it was bound: their end is the
// end of the description.
const wl_output_listener outputListener = {
    [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
       const char*, const char*, std::int32_t) {},
    [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](void* data, wl_output*) {
        WaylandOutput& described = output(data);
        described.described |= described.placement == nullptr;
        described.owner->outputsChanged = true;
    },
    [](void* data, wl_output*, std::int32_t scale) { output(data).scale = scale; },
    [](void*, wl_output*, const char*) {},
    [](void*, wl_output*, const char*) {},
};

// wl_output's own position is the physical one, which wlroots leaves at 0, 0.
const zxdg_output_v1_listener placementListener = {
    [](void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
        output(data).origin = {x, y};
    },
    [](void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
        output(data).logicalSize = {width, height};
    },
    [](void* data, zxdg_output_v1*) {
        output(data).described = true;
        output(data).owner->outputsChanged = true;
    },
    [](void*, zxdg_output_v1*, const char*) {},
    [](void*, zxdg_output_v1*, const char*) {},
};

void placeOutput(WaylandDisplay& wayland, WaylandOutput& output) {
    if (wayland.outputManager != nullptr && output.placement == nullptr) {
        output.placement =
            zxdg_output_manager_v1_get_xdg_output(wayland.outputManager, output.output);
        zxdg_output_v1_add_listener(output.placement, &placementListener, &output);
    }
}

template <typename Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
            std::uint32_t offered, std::uint32_t wanted) {
    return static_cast<Proxy*>(
        wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    WaylandDisplay& wayland = display(data);
    const auto is = [interface](const wl_interface& wanted) {
        return std::strcmp(interface, wanted.name) == 0;
    };
    if (is(wl_compositor_interface)) {
        wayland.compositor =
            bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
    } else if (is(wl_shm_interface)) {
        wayland.shm = bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (is(xdg_wm_base_interface)) {
        wayland.wmBase = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(wayland.wmBase, &pingListener, nullptr);
    } else if (is(zxdg_output_manager_v1_interface)) {
        wayland.outputManager = bind<zxdg_output_manager_v1>(
            registry, name, zxdg_output_manager_v1_interface, version, 1);
    } else if (is(zwp_relative_pointer_manager_v1_interface)) {
        wayland.relativePointers = bind<zwp_relative_pointer_manager_v1>(
            registry, name, zwp_relative_pointer_manager_v1_interface, version, 1);
    } else if (is(wp_viewporter_interface)) {
        wayland.viewporter =
            bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface)) {
        wayland.fractionalScales = bind<wp_fractional_scale_manager_v1>(
            registry, name, wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (is(wl_seat_interface) && wayland.seatName == 0) {
        wayland.seatName = name;
        wayland.seatVersion = version;
    } else if (is(wl_output_interface)) {
        WaylandOutput& output = wayland.outputs.emplace_back();
        output.owner = &wayland;
        output.name = name;
        output.output = bind<wl_output>(registry, name, wl_output_interface, version, 2);
        wl_output_add_listener(output.output, &outputListener, &output);
        // While the first round trip runs the manager may not have come yet.
        placeOutput(wayland, output);
        wayland.outputsChanged = true;
    }
}

void withdraw(void* data, wl_registry*, std::uint32_t name) {
    for (WaylandOutput& output : display(data).outputs) {
        if (output.name == name) {
            output.removed = true;
            display(data).outputsChanged = true;
        }
    }
}

const wl_registry_listener registryListener = {announce, withdraw};

void release(WaylandOutput& output) {
    if (output.placement != nullptr) {
        zxdg_output_v1_destroy(output.placement);
    }
    wl_output_destroy(output.output);
}

} // namespace

bool connectToCompositor(WaylandDisplay& wayland, std::string& error) {
    wayland.display = wl_display_connect(nullptr);
    if (wayland.display == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        error = std::string("cannot connect to the Wayland display '") +
                (name != nullptr ? name : "wayland-0") + "': " + std::strerror(errno);
        return false;
    }
    wayland.registry = wl_display_get_registry(wayland.display);
    wl_registry_add_listener(wayland.registry, &registryListener, &wayland);
    // The first round trip brings the globals, the second where the outputs lie.
    const bool globals = wl_display_roundtrip(wayland.display) >= 0;
    for (WaylandOutput& output : wayland.outputs) {
        placeOutput(wayland, output);
    }
    if (!globals || wl_display_roundtrip(wayland.display) < 0) {
        error = connectionError(wayland.display);
    } else if (wayland.compositor == nullptr || wayland.wmBase == nullptr) {
        error = "the Wayland compositor offers no xdg-shell windows";
    }
    if (!error.empty()) {
        disconnect(wayland);
        return false;
    }
    return true;
}

void forgetRemovedOutputs(WaylandDisplay& wayland) {
    wayland.outputs.remove_if([](WaylandOutput& output) {
        if (output.removed) {
            release(output);
        }
        return output.removed;
    });
}

void disconnect(WaylandDisplay& wayland) {
    for (WaylandOutput& output : wayland.outputs) {
        release(output);
    }
    wayland.outputs.clear();
    if (wayland.fractionalScales != nullptr) {
        wp_fractional_scale_manager_v1_destroy(wayland.fractionalScales);
    }
    if (wayland.viewporter != nullptr) {
        wp_viewporter_destroy(wayland.viewporter);
    }
    if (wayland.relativePointers != nullptr) {
        zwp_relative_pointer_manager_v1_destroy(wayland.relativePointers);
    }
    if (wayland.outputManager != nullptr) {
        zxdg_output_manager_v1_destroy(wayland.outputManager);
    }
    if (wayland.wmBase != nullptr) {
        xdg_wm_base_destroy(wayland.wmBase);
    }
    if (wayland.shm != nullptr) {
        wl_shm_destroy(wayland.shm);
    }
    if (wayland.compositor != nullptr) {
        wl_compositor_destroy(wayland.compositor);
    }
    if (wayland.registry != nullptr) {
        wl_registry_destroy(wayland.registry);
    }
    wl_display_disconnect(wayland.display);
    wayland = {};
}

std::string connectionError(wl_display* display) {
    const int code = wl_display_get_error(display);
    if (code != EPROTO) {
        return std::string("lost the connection to the Wayland compositor: ") +
               std::strerror(code != 0 ? code : EPIPE);
    }
    const wl_interface* interface = nullptr;
    const std::uint32_t protocolCode = wl_display_get_protocol_error(display, &interface, nullptr);
    return std::string("the Wayland compositor reported a protocol error ") +
           std::to_string(protocolCode) + " on " + (interface ? interface->name : "an object");
}
