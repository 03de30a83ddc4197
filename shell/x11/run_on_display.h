#pragma once

#include "shell/linux/options.h"

// Draws on the X display until the window is closed, the saver's closing rules end it, the
// window goes away or a termination signal arrives. Returns the exit code.
int runOnDisplay(const Options& options);
