#pragma once

#include <windows.h>

// The display mode a saver run asks for, and the one it falls back to when the display refuses
// it. Talks to the display through display_settings.h.

struct DisplayModeValues {
    DWORD width;
    DWORD height;
    DWORD bitsPerPixel;
    DWORD frequency;
};

DisplayModeValues currentDisplayModeValues();

// True when the display took the mode.
bool applyDisplayMode(const DisplayModeValues& values, DWORD flags);

// The stored size and depth at the current frequency; when the display refuses that, the same
// size at 32 bits per pixel, the depth current drivers offer. True when one of them took; the
// display is then in the saver's mode until it is put back. False leaves the desktop's mode.
bool switchToSaverMode(const DisplayModeValues& current, DWORD width, DWORD height,
                       DWORD bitsPerPixel);
