#pragma once

#include <windows.h>

// Asks the platform's screen-saver password service whether the saver may close; not 0 means yes.
// Every way the service cannot be reached grants the close.
int verifyPassword(HWND window);
