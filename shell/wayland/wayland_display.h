#pragma once

#include "platform/window_messages.h"
#include "shell/linux/options.h"

#include <wayland-client.h>

#include <cstdint>
#include <list>
#include <string>

struct xdg_wm_base;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwp_relative_pointer_manager_v1;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;

struct WaylandDisplay;

struct WaylandOutput {
    WaylandDisplay* owner = nullptr;
    std::uint32_t name = 0; // the registry's, which global_remove names
    wl_output* output = nullptr;
    zxdg_output_v1* placement = nullptr; // where the output lies, through xdg-output
    CursorPosition origin;               // its top left corner in the compositor's space
    FrameSize logicalSize;               // what the compositor lays out on it; 0 when unknown
    std::int32_t scale = 1;              // wl_output.scale
    bool described = false;              // all of the above has come
    bool removed = false;                // gone from the registry; forgotten after the run looked
};

// The connection to the compositor and the globals the shell uses.
struct WaylandDisplay {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zxdg_output_manager_v1* outputManager = nullptr; // none: every output's origin is 0, 0
    zwp_relative_pointer_manager_v1* relativePointers = nullptr;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScales = nullptr;
    // The first seat, to bind by whoever listens to it: it speaks at once.
    std::uint32_t seatName = 0;
    std::uint32_t seatVersion = 0;
    // In the order the compositor announced them; each stays where it was made, as its
    // listeners find it by its address.
    std::list<WaylandOutput> outputs;
    bool outputsChanged = false; // one came, went or changed since the run last looked

    // Fractional scales need a viewport to show the buffer at the surface's size.
    bool fractionalScaling() const { return viewporter != nullptr && fractionalScales != nullptr; }
};

// Connects to the compositor of $WAYLAND_DISPLAY and binds its globals. error says why when it
// returns false; what was made is then released already.
bool connectToCompositor(WaylandDisplay& wayland, std::string& error);

// Releases the outputs that went away; whoever showed something on them has let go.
void forgetRemovedOutputs(WaylandDisplay& wayland);

void disconnect(WaylandDisplay& wayland);

// Why the connection broke: the compositor went away, or a protocol error and whose it was.
std::string connectionError(wl_display* display);
