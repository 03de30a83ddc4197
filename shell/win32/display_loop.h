#pragma once

#include <windows.h>

// The pixel format asked for: a double-buffered RGBA window format with the colour, alpha, depth
// and stencil bits of the settings, each cut to its low 8 bits.
void fillPixelFormat(PIXELFORMATDESCRIPTOR& record);
