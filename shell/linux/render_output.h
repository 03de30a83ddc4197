#pragma once

#include <functional>

// Where swapFrameBuffers sends the finished frame: the window shell's own buffer swap, or, with
// none, nowhere: the frame is only finished, for a single-buffered window or for the headless
// pbuffer whose pixels a snapshot reads back.
void presentWith(std::function<void()> swap);
