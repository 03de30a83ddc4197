// The renderer's window-system side on Linux: the buffer swap and the OpenGL error question.

#include "shell/x11/frame_output.h"

#include "platform/render_output.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

Display* windowDisplay = nullptr;
GLXDrawable windowDrawable = 0;
bool windowDoubleBuffered = true;

} // namespace

void presentToWindow(Display* display, GLXDrawable drawable, bool doubleBuffered) {
    windowDisplay = display;
    windowDrawable = drawable;
    windowDoubleBuffered = doubleBuffered;
}

void presentHeadless() {
    windowDisplay = nullptr;
    windowDrawable = 0;
}

void swapFrameBuffers() {
    if (windowDisplay != nullptr && windowDoubleBuffered) {
        glXSwapBuffers(windowDisplay, windowDrawable);
    } else {
        // A single-buffered window, or the pbuffer whose pixels are read back after the frame.
        // Finish, not flush: with nothing to wait for, Mesa would queue frames without bound.
        glFinish();
    }
}

// There is no one to ask on Linux: a saver may run unattended or inside XScreenSaver, where a
// dialog would never be seen. The error is reported once per step and the picture goes on, as
// a "No" would.
void askToAbort(WindowHandle, const char* caption) {
    static std::set<std::string> reported;
    if (reported.insert(caption).second) {
        std::fprintf(stderr,
                     "quillmesh: OpenGL error: %s. Abbrechen? Going on without asking; this "
                     "error is not reported again.\n",
                     caption);
    }
}
