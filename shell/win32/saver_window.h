#pragma once

#include <windows.h>

// The procedure of both windows of class "ScrClass". In Saver mode it closes the saver on input,
// within the password delay at once and afterwards only when the password is verified; in every
// mode it drives the frame timer and the cursor, passes the display's power on to the frame
// pacing and ends the message loop when the window goes.
LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
