#pragma once

#include "platform/window_handle.h"

// Polls glGetError; on an error asks the user "Abbrechen?" under the caption. The box is modal
// and timer ticks keep drawing frames while it is open: those frames neither poll nor ask, so
// boxes never stack and an error raised meanwhile is still pending for the next check.
void checkForGlError(WindowHandle owner, const char* caption);
