#pragma once

#include "platform/window_handle.h"

// The platform side of the entry: where the given window comes from and what each run mode runs.

WindowHandle foregroundWindow();

// The child window of the preview host program, started when it is not running; 0 when it fails.
WindowHandle findPreviewHost();

void changePassword(WindowHandle window);
void showConfigDialog(WindowHandle owner);
void runDisplayLoop(WindowHandle givenWindow);

// Implementations: shell/win32/ preview_host, password, display_loop; settings/win32/config_dialog.
