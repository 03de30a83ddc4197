#pragma once

#include <windows.h>

// The procedure of the configuration dialog (template 2003). The dialog ends with 1 after OK,
// which stores the settings, and with 0 after "Abb&rechen", Escape or the close box.
INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
