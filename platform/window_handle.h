#pragma once

// A window as the portable code sees it: an HWND on Windows, an X window id on Linux.
using WindowHandle = void*;

// A signed 32-bit window number from the command line becomes a handle by sign extension,
// the way 64-bit Windows widens 32-bit handle values.
inline WindowHandle windowFromNumber(int number) {
    return reinterpret_cast<WindowHandle>(static_cast<long long>(number));
}

// The window the saver draws in; set by the display loop before the scene is set up, and the
// owner of the renderer's error boxes.
inline WindowHandle renderWindow = nullptr;

// Implementations: none needed; a type and one process-wide value.
