#include "shell/wayland/toplevel.h"

#include "shell/linux/window_names.h"

#include "xdg-shell-client-protocol.h"

#include <libdecor.h>

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

} // namespace

void openWindow(Toplevel& toplevel, const WaylandDisplay& wayland, libdecor* decorations,
                FrameSize size) {
    toplevel.size = size;
    toplevel.surface = wl_compositor_create_surface(wayland.compositor);
    toplevel.frame = libdecor_decorate(decorations, toplevel.surface, &frameInterface, &toplevel);
    libdecor_frame_set_title(toplevel.frame, windowTitle);
    libdecor_frame_set_app_id(toplevel.frame, programName);
    libdecor_frame_map(toplevel.frame);
}

void openFullScreen(Toplevel& toplevel, const WaylandDisplay& wayland, wl_output* output,
                    FrameSize size) {
    toplevel.pendingSize = size;
    toplevel.surface = wl_compositor_create_surface(wayland.compositor);
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

void closeToplevel(Toplevel& toplevel, WaylandGl& gl) {
    gl.destroyWindow(toplevel.gl);
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
