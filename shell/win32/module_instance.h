#pragma once

#include <windows.h>

// The program's own module: the dialog template, the window class and the windows come from it.
inline HINSTANCE moduleInstance = nullptr;
