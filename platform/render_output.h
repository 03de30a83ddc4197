#pragma once

#include "platform/window_handle.h"

// What the renderer asks of the window system.

// Shows the back buffer that the frame was drawn into.
void swapFrameBuffers();

// Asks "Abbrechen?" with Yes and No in a box owned by the window, under the given caption; Yes
// posts the quit request with code 1. Returns when the box is answered.
void askToAbort(WindowHandle owner, const char* caption);

// Implementations: shell/win32/render_output.cpp, shell/linux/render_output.cpp.
