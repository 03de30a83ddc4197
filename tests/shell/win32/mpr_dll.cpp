// Stands in for the platform's MPR.DLL: notes in the process environment what the password
// change was asked with.

#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1, DWORD reserved2) {
    char text[128];
    std::snprintf(text, sizeof text, "%s %lld %lu %lu", provider,
                  static_cast<long long>(reinterpret_cast<INT_PTR>(parent)), reserved1, reserved2);
    SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_CHANGE", text);
    return 0;
}
