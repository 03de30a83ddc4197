// Planted beside a copy of the saver under the names of libraries it uses: loaded at all, it
// leaves a file "<its own path>.loaded" behind and refuses to load. Plain Win32 only, so that it
// needs no runtime DLL of its own to load.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    char marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(instance, marker, MAX_PATH);
    lstrcpyA(marker + length, ".loaded");
    CloseHandle(CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    return FALSE;
}
