#pragma once

#include <X11/Xlib.h>

// Whether the server can tell the display's power state (the DPMS extension, on a display that
// supports it). Xvfb cannot.
bool displayPowerKnown(Display* display);

// True while DPMS holds the display in standby, suspended or off.
bool displayAsleep(Display* display);
