#include "shell/headless/egl_context.h"

#include <EGL/eglext.h>

HeadlessGlContext::HeadlessGlContext(int width, int height) {
    // Plain eglGetDisplay would pick X11 and fail without a display.
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        error_ = "eglGetPlatformDisplayEXT is missing";
        return;
    }
    display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
        error_ = "no surfaceless EGL display";
        display_ = EGL_NO_DISPLAY;
        return;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL offers no desktop OpenGL";
        return;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       16,
                                       EGL_STENCIL_SIZE,
                                       8,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display_, configAttributes, &config, 1, &configCount) ||
        configCount == 0) {
        error_ = "no EGL configuration for an OpenGL pbuffer";
        return;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface_ = eglCreatePbufferSurface(display_, config, surfaceAttributes);
    if (surface_ == EGL_NO_SURFACE) {
        error_ = "no pbuffer of that size";
        return;
    }
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, nullptr);
    if (context_ == EGL_NO_CONTEXT) {
        error_ = "no OpenGL context";
        return;
    }
    if (!eglMakeCurrent(display_, surface_, surface_, context_)) {
        eglDestroyContext(display_, context_);
        context_ = EGL_NO_CONTEXT;
        error_ = "the context could not be made current";
    }
}

HeadlessGlContext::~HeadlessGlContext() {
    if (display_ == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT) {
        eglDestroyContext(display_, context_);
    }
    if (surface_ != EGL_NO_SURFACE) {
        eglDestroySurface(display_, surface_);
    }
    // The display stays initialized: terminating it unloads Mesa's driver, which the next context
    // (tests make one per test) would load again, and which leaves the driver's own small leaks
    // without a module name for a sanitizer suppression.
}
