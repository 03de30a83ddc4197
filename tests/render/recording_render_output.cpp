#include "tests/render/recording_render_output.h"

#include "platform/render_output.h"
#include "render/gl.h"

void swapFrameBuffers() {
    glFinish();
    ++swapCount;
}

// Answers No.
void askToAbort(WindowHandle owner, const char* caption) {
    askedQuestions.push_back({owner, caption});
    if (whileAsking) {
        whileAsking();
    }
}
