#pragma once

#include <EGL/egl.h>

#include <string>

// An OpenGL compatibility context without a display server: Mesa's surfaceless EGL platform with
// an offscreen pbuffer of the given size (RGBA 8 bits each, depth and stencil). Current on the
// calling thread from construction until destruction; the EGL display stays initialized after.
class HeadlessGlContext {
  public:
    HeadlessGlContext(int width, int height);
    ~HeadlessGlContext();
    HeadlessGlContext(const HeadlessGlContext&) = delete;
    HeadlessGlContext& operator=(const HeadlessGlContext&) = delete;

    // False when EGL could not give a current context; error() then says which step failed.
    bool ready() const { return context_ != EGL_NO_CONTEXT; }
    const std::string& error() const { return error_; }

  private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLSurface surface_ = EGL_NO_SURFACE;
    EGLContext context_ = EGL_NO_CONTEXT;
    std::string error_;
};
