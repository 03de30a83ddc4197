#pragma once

#include "shell/linux/options.h"
#include "shell/wayland/egl_window.h"
#include "shell/wayland/surface_scale.h"
#include "shell/wayland/wayland_display.h"

#include <vector>

struct libdecor;
struct libdecor_frame;
struct xdg_surface;
struct xdg_toplevel;
struct wp_viewport;
struct wp_fractional_scale_v1;

// A toplevel surface of ours and what the compositor last asked of it. It stays where it was
// made: the compositor's events find it by its address.
struct Toplevel {
    const WaylandDisplay* wayland = nullptr;
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr; // full screen: plain xdg-shell
    xdg_toplevel* xdgToplevel = nullptr;
    libdecor_frame* frame = nullptr; // a window: decorated by libdecor
    wl_output* output = nullptr;     // the one it is full screen on; null: any or a window
    FrameSize size;                  // logical, as last configured
    FrameSize pendingSize;           // given before the configure sequence ends
    bool configured = false;         // the compositor has said how to show it
    bool resized = false;            // configured or scaled anew since the shell last looked
    bool closeRequested = false;
    // Fractional scales where the compositor offers them, else integer buffer scales from the
    // outputs the surface is on.
    wp_viewport* viewport = nullptr;
    wp_fractional_scale_v1* fractionalScale = nullptr;
    std::vector<wl_output*> enteredOutputs;
    std::uint32_t scale = unitScale; // wanted, in 120ths
    std::uint32_t shownScale = unitScale;
    FrameSize shownSize;
    GlWindow gl;

    FrameSize bufferSize() const { return ::bufferSize(size, scale); }
};

// A "Quillmesh" toplevel full screen on the output (any output when null); size is what it
// takes if the compositor leaves the size to it, scale the scale it starts with.
void openFullScreen(Toplevel& toplevel, const WaylandDisplay& wayland, wl_output* output,
                    FrameSize size, std::uint32_t scale);

// A "Quillmesh" window of the given logical size, with a title bar by libdecor: the
// compositor's own where it offers server-side decorations, else drawn by libdecor's plugin.
void openWindow(Toplevel& toplevel, const WaylandDisplay& wayland, libdecor* decorations,
                FrameSize size);

// Takes the integer scale of the outputs it is on now; nothing where fractional scales come.
void followOutputScales(Toplevel& toplevel);

// Hands the finished frame to the compositor with the scale it was drawn for: both take effect
// in the commit of the swap, so the compositor never sees a buffer at the wrong scale.
void presentFrame(Toplevel& toplevel, WaylandGl& gl);

// Also ends its GL window, which must go before the surface.
void closeToplevel(Toplevel& toplevel, WaylandGl& gl);
