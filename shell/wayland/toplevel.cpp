#include "shell/wayland/toplevel.h"

#include "shell/linux/window_names.h"

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <libdecor.h>

#include <algorithm>

namespace {

Toplevel& self(void* data) {
    return *static_cast<Toplevel*>(data);
}

// Full screen, through xdg-shell: no decorations to draw, and no plugin to load for them.
const xdg_surface_listener surfaceListener = {
    [](void* data, xdg_surface* surface, std::uint32_t serial) {
        Toplevel& toplevel = self(data);
        xdg_surface_ack_configure(surface, serial);
        toplevel.size = toplevel.pendingSize;
        toplevel.configured = true;
        toplevel.resized = true;
    },
};

const xdg_toplevel_listener toplevelListener = {
    [](void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
        // 0 leaves the size to us.
        if (width > 0 && height > 0) {
            self(data).pendingSize = {width, height};
        }
    },
    [](void* data, xdg_toplevel*) { self(data).closeRequested = true; },
    [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
    [](void*, xdg_toplevel*, wl_array*) {},
};

// A window, through libdecor.
void configure(libdecor_frame* frame, libdecor_configuration* configuration, void* data) {
    Toplevel& toplevel = self(data);
    int width = 0;
    int height = 0;
    // Without a size from the compositor the window keeps its own.
    if (!libdecor_configuration_get_content_size(configuration, frame, &width, &height) ||
        width <= 0 || height <= 0) {
        width = toplevel.size.width;
        height = toplevel.size.height;
    }
    libdecor_state* state = libdecor_state_new(width, height);
    libdecor_frame_commit(frame, state, configuration);
    libdecor_state_free(state);
    toplevel.size = {width, height};
    toplevel.configured = true;
    toplevel.resized = true;
}

// Its reserved members stay empty.
libdecor_frame_interface makeFrameInterface() {
    libdecor_frame_interface callbacks{};
    callbacks.configure = configure;
    callbacks.close = [](libdecor_frame*, void* data) { self(data).closeRequested = true; };
    callbacks.commit = [](libdecor_frame*, void* data) { wl_surface_commit(self(data).surface); };
    callbacks.dismiss_popup = [](libdecor_frame*, const char*, void*) {};
    return callbacks;
}

libdecor_frame_interface frameInterface = makeFrameInterface();

// Which outputs the surface is on, for its integer scale.
const wl_surface_listener outputsListener = {
    [](void* data, wl_surface*, wl_output* output) {
        self(data).enteredOutputs.push_back(output);
        followOutputScales(self(data));
    },
    [](void* data, wl_surface*, wl_output* output) {
        std::erase(self(data).enteredOutputs, output);
        followOutputScales(self(data));
    },
};

const wp_fractional_scale_v1_listener fractionalScaleListener = {
    [](void* data, wp_fractional_scale_v1*, std::uint32_t scale) {
        Toplevel& toplevel = self(data);
        if (scale != toplevel.scale && scale > 0) {
            toplevel.scale = scale;
            toplevel.resized = true;
        }
    },
};

void makeSurface(Toplevel& toplevel, const WaylandDisplay& wayland) {
    toplevel.wayland = &wayland;
    toplevel.surface = wl_compositor_create_surface(wayland.compositor);
    wl_surface_add_listener(toplevel.surface, &outputsListener, &toplevel);
    if (wayland.fractionalScaling()) {
        toplevel.viewport = wp_viewporter_get_viewport(wayland.viewporter, toplevel.surface);
        toplevel.fractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(
            wayland.fractionalScales, toplevel.surface);
        wp_fractional_scale_v1_add_listener(toplevel.fractionalScale, &fractionalScaleListener,
                                            &toplevel);
    }
}

} // namespace

void openWindow(Toplevel& toplevel, const WaylandDisplay& wayland, libdecor* decorations,
                FrameSize size) {
    toplevel.size = size;
    makeSurface(toplevel, wayland);
    toplevel.frame = libdecor_decorate(decorations, toplevel.surface, &frameInterface, &toplevel);
    libdecor_frame_set_title(toplevel.frame, windowTitle);
    libdecor_frame_set_app_id(toplevel.frame, programName);
    libdecor_frame_map(toplevel.frame);
}

void openFullScreen(Toplevel& toplevel, const WaylandDisplay& wayland, wl_output* output,
                    FrameSize size, std::uint32_t scale) {
    toplevel.pendingSize = size;
    toplevel.output = output;
    toplevel.scale = scale;
    makeSurface(toplevel, wayland);
    toplevel.xdgSurface = xdg_wm_base_get_xdg_surface(wayland.wmBase, toplevel.surface);
    xdg_surface_add_listener(toplevel.xdgSurface, &surfaceListener, &toplevel);
    toplevel.xdgToplevel = xdg_surface_get_toplevel(toplevel.xdgSurface);
    xdg_toplevel_add_listener(toplevel.xdgToplevel, &toplevelListener, &toplevel);
    xdg_toplevel_set_title(toplevel.xdgToplevel, windowTitle);
    xdg_toplevel_set_app_id(toplevel.xdgToplevel, programName);
    xdg_toplevel_set_fullscreen(toplevel.xdgToplevel, output);
    // Committed without a buffer: the compositor answers with the first configure.
    wl_surface_commit(toplevel.surface);
}

void followOutputScales(Toplevel& toplevel) {
    if (toplevel.fractionalScale != nullptr) {
        return;
    }
    std::vector<std::int32_t> scales;
    for (const WaylandOutput& output : toplevel.wayland->outputs) {
        if (std::ranges::find(toplevel.enteredOutputs, output.output) !=
            toplevel.enteredOutputs.end()) {
            scales.push_back(output.scale);
        }
    }
    const auto scale = static_cast<std::uint32_t>(
        integerScale(scales, static_cast<std::int32_t>(toplevel.scale / unitScale)));
    if (scale * unitScale != toplevel.scale) {
        toplevel.scale = scale * unitScale;
        toplevel.resized = true;
    }
}

void presentFrame(Toplevel& toplevel, WaylandGl& gl) {
    if (toplevel.shownScale != toplevel.scale || toplevel.shownSize != toplevel.size) {
        if (toplevel.viewport != nullptr) {
            wp_viewport_set_destination(toplevel.viewport, toplevel.size.width,
                                        toplevel.size.height);
        } else {
            wl_surface_set_buffer_scale(toplevel.surface,
                                        static_cast<std::int32_t>(toplevel.scale / unitScale));
        }
        toplevel.shownScale = toplevel.scale;
        toplevel.shownSize = toplevel.size;
    }
    gl.present(toplevel.gl);
}

void closeToplevel(Toplevel& toplevel, WaylandGl& gl) {
    gl.destroyWindow(toplevel.gl);
    if (toplevel.fractionalScale != nullptr) {
        wp_fractional_scale_v1_destroy(toplevel.fractionalScale);
    }
    if (toplevel.viewport != nullptr) {
        wp_viewport_destroy(toplevel.viewport);
    }
    if (toplevel.frame != nullptr) {
        libdecor_frame_unref(toplevel.frame);
    }
    if (toplevel.xdgToplevel != nullptr) {
        xdg_toplevel_destroy(toplevel.xdgToplevel);
    }
    if (toplevel.xdgSurface != nullptr) {
        xdg_surface_destroy(toplevel.xdgSurface);
    }
    if (toplevel.surface != nullptr) {
        wl_surface_destroy(toplevel.surface);
    }
    toplevel = {};
}
