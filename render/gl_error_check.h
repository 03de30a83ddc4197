#pragma once

#include "platform/window_handle.h"

// The captions of the two steps that check: the scene's set-up and a model's drawing.
inline constexpr char setupErrorCaption[] = "Error beim Initialisieren des Objektes";
inline constexpr char drawErrorCaption[] = "Error beim Zeichnen des Objektes";

// Polls glGetError; on an error asks the user "Abbrechen?" under the caption. The box is modal
// and timer ticks keep drawing frames while it is open: those frames neither poll nor ask, so
// boxes never stack and an error raised meanwhile is still pending for the next check.
void checkForGlError(WindowHandle owner, const char* caption);
