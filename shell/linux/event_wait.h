#pragma once

#include "shell/linux/frame_pacer.h"

#include <optional>

// Sleeps until the window system's connection has something to read, a termination signal
// arrives, or the given time comes; without a time, as long as it takes.
void waitForEvents(int connectionFd, std::optional<PaceClock::time_point> until);
