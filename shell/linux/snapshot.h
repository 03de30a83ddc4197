#pragma once

#include "shell/linux/options.h"

// Renders the given number of frames without an X server and writes the last one as a PNG file.
// Returns the exit code.
int renderSnapshot(const Options& options);
