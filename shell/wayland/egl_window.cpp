#include "shell/wayland/egl_window.h"

#include <EGL/eglext.h>
#include <wayland-egl.h>

#include <algorithm>
#include <vector>

namespace {

EGLint configValue(EGLDisplay display, EGLConfig config, EGLint attribute) {
    EGLint value = 0;
    eglGetConfigAttrib(display, config, attribute, &value);
    return value;
}

// Eight bits a colour and no alpha: the compositor blends a surface that has alpha, and the
// scene clears to alpha 0, so the desktop would show through. The picture never reads
// destination alpha, so the "Alpha Depth" setting changes nothing to be seen.
EGLConfig opaqueConfig(EGLDisplay display, const SaverSettings& settings) {
    const EGLint depth = std::max(settings.zBufferDepth, 0);
    const EGLint stencil = std::max(settings.stencilDepth, 0);
    const std::vector<std::vector<EGLint>> choices = {
        {EGL_DEPTH_SIZE, depth, EGL_STENCIL_SIZE, stencil},
        // As the X11 shell does: drop what is not offered, keep a depth buffer.
        {EGL_DEPTH_SIZE, 1},
        {},
    };
    for (std::vector<EGLint> attributes : choices) {
        attributes.insert(attributes.end(), {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE,
                                             EGL_OPENGL_BIT, EGL_NONE});
        EGLint count = 0;
        eglChooseConfig(display, attributes.data(), nullptr, 0, &count);
        std::vector<EGLConfig> configs(static_cast<std::size_t>(std::max(count, 0)));
        eglChooseConfig(display, attributes.data(), configs.data(), count, &count);
        for (EGLConfig config : configs) {
            if (configValue(display, config, EGL_ALPHA_SIZE) == 0 &&
                configValue(display, config, EGL_RED_SIZE) == 8 &&
                configValue(display, config, EGL_GREEN_SIZE) == 8 &&
                configValue(display, config, EGL_BLUE_SIZE) == 8) {
                return config;
            }
        }
    }
    return nullptr;
}

} // namespace

WaylandGl::WaylandGl(wl_display* display, const SaverSettings& settings) {
    display_ = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
        error_ = "EGL does not work on this Wayland display";
        display_ = EGL_NO_DISPLAY;
        return;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL offers no desktop OpenGL here";
        return;
    }
    config_ = opaqueConfig(display_, settings);
    if (config_ == nullptr) {
        error_ = "EGL offers no opaque OpenGL window format with 8 bits a colour";
        return;
    }
    // No attributes: a compatibility context, which OpenGL 1.1 drawing needs.
    context_ = eglCreateContext(display_, config_, EGL_NO_CONTEXT, nullptr);
    if (context_ == EGL_NO_CONTEXT) {
        error_ = "EGL cannot create an OpenGL context";
    }
}

WaylandGl::~WaylandGl() {
    if (display_ == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT) {
        eglDestroyContext(display_, context_);
    }
    // Before the connection closes: EGL keeps objects of its own on it.
    eglTerminate(display_);
}

GlWindow WaylandGl::createWindow(wl_surface* surface, int width, int height) {
    GlWindow window;
    window.native = wl_egl_window_create(surface, width, height);
    if (window.native == nullptr) {
        return window;
    }
    window.surface = eglCreatePlatformWindowSurface(display_, config_, window.native, nullptr);
    if (window.surface == EGL_NO_SURFACE || !drawInto(window)) {
        destroyWindow(window);
        return window;
    }
    // The shell paces frames by the compositor's frame callbacks; an interval of 1 would also
    // block in the swap until the surface shows again, deaf to signals.
    eglSwapInterval(display_, 0);
    return window;
}

void WaylandGl::resize(const GlWindow& window, int width, int height) {
    wl_egl_window_resize(window.native, width, height, 0, 0);
}

void WaylandGl::destroyWindow(GlWindow& window) {
    if (window.surface != EGL_NO_SURFACE) {
        if (eglGetCurrentSurface(EGL_DRAW) == window.surface) {
            eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        }
        eglDestroySurface(display_, window.surface);
    }
    if (window.native != nullptr) {
        wl_egl_window_destroy(window.native);
    }
    window = {};
}

bool WaylandGl::drawInto(const GlWindow& window) {
    return eglGetCurrentSurface(EGL_DRAW) == window.surface ||
           eglMakeCurrent(display_, window.surface, window.surface, context_);
}

void WaylandGl::present(const GlWindow& window) {
    eglSwapBuffers(display_, window.surface);
}
