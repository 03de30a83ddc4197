// Stands in for the Windows 9x password library: answers what the test put into the process
// environment and notes the parent window it was given.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND parent) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld",
                  static_cast<long long>(reinterpret_cast<INT_PTR>(parent)));
    SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_PARENT", text);
    char answer[16] = "";
    GetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_ANSWER", answer, sizeof answer);
    return std::atoi(answer);
}
