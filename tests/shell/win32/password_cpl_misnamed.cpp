// A password library whose only export has the wrong name.

#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePassword(HWND) {
    return FALSE;
}
