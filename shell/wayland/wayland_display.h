#pragma once

#include "platform/window_messages.h"

#include <wayland-client.h>

#include <cstdint>
#include <deque>
#include <string>

struct xdg_wm_base;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

struct WaylandOutput {
    wl_output* output = nullptr;
    zxdg_output_v1* placement = nullptr; // where the output lies, through xdg-output
    CursorPosition origin;               // its top left corner in the compositor's space
};

// The connection to the compositor and the globals the shell uses.
struct WaylandDisplay {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zxdg_output_manager_v1* outputManager = nullptr; // none: every output's origin is 0, 0
    // The first seat, to bind by whoever listens to it: it speaks at once.
    std::uint32_t seatName = 0;
    std::uint32_t seatVersion = 0;
    std::deque<WaylandOutput> outputs; // in the order the compositor announced them
};

// Connects to the compositor of $WAYLAND_DISPLAY and binds its globals. error says why when it
// returns false; what was made is then released already.
bool connectToCompositor(WaylandDisplay& wayland, std::string& error);

void disconnect(WaylandDisplay& wayland);

// Why the connection broke: the compositor went away, or a protocol error and whose it was.
std::string connectionError(wl_display* display);
