#include "shell/x11/x_error_trap.h"

#include <GL/glx.h>

#include <cstdio>

namespace {

// The GLX protocol's error number for a drawable that does not exist (GLXBadDrawable).
constexpr int glxBadDrawableError = 2;

int glxErrorBase = -1;
bool windowGone = false;

int onXError(Display* display, XErrorEvent* event) {
    const bool glxBadDrawable =
        glxErrorBase >= 0 && event->error_code == glxErrorBase + glxBadDrawableError;
    if (event->error_code == BadWindow || event->error_code == BadDrawable || glxBadDrawable) {
        windowGone = true;
        return 0;
    }
    char text[256];
    XGetErrorText(display, event->error_code, text, sizeof text);
    std::fprintf(stderr, "quillmesh: X error: %s (request %d.%d)\n", text, event->request_code,
                 event->minor_code);
    return 0;
}

} // namespace

void trapXErrors(Display* display) {
    int eventBase = 0;
    if (!glXQueryExtension(display, &glxErrorBase, &eventBase)) {
        glxErrorBase = -1;
    }
    XSetErrorHandler(onXError);
}

bool drawingWindowGone() {
    return windowGone;
}
