#pragma once

#include <windows.h>

// A black window over the whole virtual screen, just beneath the saver window, so that no monitor
// goes on showing the desktop while the saver runs, whatever the display switch made of them.
// The mouse on it counts as on the saver window; it never takes the activation from it.

// Makes the cover, hidden. Made before the saver window, it lies beneath it from the start: Wine
// without a window manager keeps windows stacked in the order they were made, whatever z-order
// is asked for later.
void prepareScreenCover();

// Shows the cover over the virtual screen as the display switch left it.
void coverScreens(HWND saverWindow);

// Takes the cover away; from another thread it is hidden without waiting. Nothing happens
// without one.
void removeScreenCover();
