// The platform's screen-saver password services, loaded from the system folder for each call and
// released after.

#include "shell/win32/password.h"

#include "platform/mode_handlers.h"
#include "shell/win32/platform_version.h"
#include "shell/win32/system_library.h"

#include <windows.h>

namespace {

using VerifyScreenSavePwdFunction = BOOL(WINAPI*)(HWND);
using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);

template <typename Function>
Function lookUp(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace

int verifyPassword(HWND window) {
    if (platformId() == VER_PLATFORM_WIN32_NT) {
        return 1;
    }
    HMODULE library = loadSystemLibrary("PASSWORD.CPL");
    if (library == nullptr) {
        return 1;
    }
    const auto verify = lookUp<VerifyScreenSavePwdFunction>(library, "VerifyScreenSavePwd");
    if (verify == nullptr) {
        FreeLibrary(library);
        return 1;
    }
    const int granted = verify(window);
    FreeLibrary(library);
    return granted;
}

void changePassword(WindowHandle window) {
    HMODULE library = loadSystemLibrary("MPR.DLL");
    if (library == nullptr) {
        return;
    }
    if (const auto change = lookUp<PwdChangePasswordFunction>(library, "PwdChangePasswordA")) {
        change("SCRSAVE", static_cast<HWND>(window), 0, 0);
    }
    FreeLibrary(library);
}
