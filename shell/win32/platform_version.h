#pragma once

#include <windows.h>

// The platform id of the version record (VER_PLATFORM_WIN32_NT on every current Windows). Its own
// unit, so that tests can present the Windows 9x platform, where the password library exists.
DWORD platformId();
