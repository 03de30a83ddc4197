#pragma once

#include "shell/linux/options.h"

// Draws on the Wayland compositor until the window is closed, the saver's closing rules end it,
// a termination signal arrives or the compositor goes away. Returns the exit code.
int runOnWayland(const Options& options);
