// The renderer's window-system side on Linux: the buffer swap and the OpenGL error question.

#include "shell/linux/render_output.h"

#include "platform/render_output.h"
#include "render/gl.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

std::function<void()> frameSwap;

} // namespace

void presentWith(std::function<void()> swap) {
    frameSwap = std::move(swap);
}

void swapFrameBuffers() {
    if (frameSwap) {
        frameSwap();
    } else {
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
