#pragma once

#include "settings/saver_settings.h"

#include <EGL/egl.h>
#include <wayland-client.h>

#include <string>

struct wl_egl_window;

// A surface's buffers for OpenGL: EGL's window surface over the compositor's surface.
struct GlWindow {
    wl_egl_window* native = nullptr;
    EGLSurface surface = EGL_NO_SURFACE;

    explicit operator bool() const { return surface != EGL_NO_SURFACE; }
};

// One OpenGL compatibility context on the Wayland platform, which every window of the run
// shares. Its depth and stencil bits follow the settings where EGL offers them.
class WaylandGl {
  public:
    WaylandGl(wl_display* display, const SaverSettings& settings);
    ~WaylandGl();
    WaylandGl(const WaylandGl&) = delete;
    WaylandGl& operator=(const WaylandGl&) = delete;

    // False when there is no context; error() then says which step failed.
    bool ready() const { return context_ != EGL_NO_CONTEXT; }
    const std::string& error() const { return error_; }

    // An empty GlWindow when EGL refuses one.
    GlWindow createWindow(wl_surface* surface, int width, int height);
    void resize(const GlWindow& window, int width, int height);
    void destroyWindow(GlWindow& window);

    // Makes the context current on the window.
    bool drawInto(const GlWindow& window);
    // Hands the finished frame to the compositor; that commits the surface.
    void present(const GlWindow& window);

  private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLConfig config_ = nullptr;
    EGLContext context_ = EGL_NO_CONTEXT;
    std::string error_;
};
