#include "render/gl_error_check.h"

#include "platform/render_output.h"
#include "render/gl.h"

namespace {
bool errorBoxOpen = false;
}

void checkForGlError(WindowHandle owner, const char* caption) {
    if (errorBoxOpen || glGetError() == GL_NO_ERROR) {
        return;
    }
    errorBoxOpen = true;
    askToAbort(owner, caption);
    errorBoxOpen = false;
}
