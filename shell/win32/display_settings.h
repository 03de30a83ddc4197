#pragma once

#include <windows.h>

// What a saver run changes of the platform's display: the primary display's mode and the notice
// that a screen saver runs. Its own unit, so that tests can present a display of their own and
// see what the run asks of it.

// Fills the record with the primary display's current mode; the caller sets its size field.
void readCurrentDisplayMode(DEVMODEA& mode);

// Applies the record to the primary display; the platform's answer, DISP_CHANGE_SUCCESSFUL when
// the display took it. A mode the display cannot take leaves the current one.
LONG changeDisplayMode(DEVMODEA& mode, DWORD flags);

void tellScreenSaverRunning(bool running);
