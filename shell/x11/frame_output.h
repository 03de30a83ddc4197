#pragma once

#include <GL/glx.h>

// Where swapFrameBuffers sends the finished frame. One program serves both: an X window through
// GLX, or the headless pbuffer that a snapshot reads back.
void presentToWindow(Display* display, GLXDrawable drawable, bool doubleBuffered);
void presentHeadless();
