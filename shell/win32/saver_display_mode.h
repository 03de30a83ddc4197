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

struct ModeSwitch {
    bool changed;     // the display took a mode, by its answer: the desktop's goes back at the end
    bool inSaverMode; // and it now shows the asked size
};

// The stored size and depth at the current frequency; when the display refuses that, the same
// size at 32 bits per pixel, the depth current drivers offer. A mode counts as taken once the
// display shows its size: under Wine a switch may answer success and leave the mode as it was.
// Neither taken leaves the desktop's mode.
ModeSwitch switchToSaverMode(const DisplayModeValues& current, DWORD width, DWORD height,
                             DWORD bitsPerPixel);
