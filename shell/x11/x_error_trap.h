#pragma once

#include <X11/Xlib.h>

// Xlib's own error handler ends the process. Ours notes when the window we draw in has gone
// (BadWindow, BadDrawable, GLXBadDrawable) so the loop can end cleanly, and reports the rest.
void trapXErrors(Display* display);

bool drawingWindowGone();
