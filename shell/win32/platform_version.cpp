#include "shell/win32/platform_version.h"

static_assert(sizeof(OSVERSIONINFOA) == 148);

DWORD platformId() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    // Deprecated, but the one call that reports the 9x platforms; never fails with this size.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    GetVersionExA(&version);
    return version.dwPlatformId;
}
