#pragma once

#include <windows.h>

// Every frame of a run, from the message loop or from the frame timer, goes through here: at
// most one a refresh of the display, none while the display is off, none while the window can
// not be seen.

// Paces the frames at the display's current refresh rate and has the platform tell the render
// window of the display's power. The message loop calls it as it starts, and the stop as it
// ends.
void startFramePacing();
void stopFramePacing();

// Draws one frame if its slot has come and the window can be seen. A frame asked for early, or
// while nothing would show it, draws nothing.
void requestFrame();

// Returns when a message waits, or when the next frame is due; while the display is off, only a
// message (the timer's, at least) ends the wait.
void waitForMessageOrFrame();

// Takes in what a WM_POWERBROADCAST of PBT_POWERSETTINGCHANGE says of the display: off stops the
// frames, on or dimmed lets them go on. Other settings are none of its business.
void noteDisplayPower(const POWERBROADCAST_SETTING& setting);

// Asks the driver to swap at the vertical blank, where it offers that; the rendering context
// must be current.
void syncSwapsToRefresh();
