#pragma once

#include <windows.h>

// The Windows build's process-wide handles. No seam: they sit below both its shell and its
// settings dialog, so that neither includes from the other.

// The program's own module: the dialog template, the window class and the windows come from it.
inline HINSTANCE moduleInstance = nullptr;

// The device context of the window the saver draws in, kept for the whole run, and the one
// OpenGL rendering context. Set by the display loop.
inline HDC renderDC = nullptr;
inline HGLRC renderContext = nullptr;
