#pragma once

#include <windows.h>

// The device context of the window the saver draws in, kept for the whole run, and the one
// OpenGL rendering context. Set by the display loop.
inline HDC renderDC = nullptr;
inline HGLRC renderContext = nullptr;
