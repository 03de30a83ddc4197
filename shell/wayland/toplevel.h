#pragma once

#include "shell/linux/options.h"
#include "shell/wayland/egl_window.h"
#include "shell/wayland/wayland_display.h"

struct libdecor;
struct libdecor_frame;
struct xdg_surface;
struct xdg_toplevel;

// A toplevel surface of ours and what the compositor last asked of it. It stays where it was
// made: the compositor's events find it by its address.
struct Toplevel {
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr; // full screen: plain xdg-shell
    xdg_toplevel* xdgToplevel = nullptr;
    libdecor_frame* frame = nullptr; // a window: decorated by libdecor
    FrameSize size;                  // as last configured
    FrameSize pendingSize;           // given before the configure sequence ends
    bool configured = false;         // the compositor has said how to show it
    bool resized = false;            // configured anew since the shell last looked
    bool closeRequested = false;
    GlWindow gl;
};

// A "Quillmesh" toplevel full screen on the output (any output when null); size is what it
// takes if the compositor leaves the size to it.
void openFullScreen(Toplevel& toplevel, const WaylandDisplay& wayland, wl_output* output,
                    FrameSize size);

// A "Quillmesh" window of the given size, with a title bar by libdecor: the compositor's own
// where it offers server-side decorations, else drawn by libdecor's plugin.
void openWindow(Toplevel& toplevel, const WaylandDisplay& wayland, libdecor* decorations,
                FrameSize size);

// Also ends its GL window, which must go before the surface.
void closeToplevel(Toplevel& toplevel, WaylandGl& gl);
