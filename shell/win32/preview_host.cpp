// Where the entry's given window comes from when the command line names no number.

#include "platform/mode_handlers.h"

#include <windows.h>

WindowHandle foregroundWindow() {
    return GetForegroundWindow();
}

WindowHandle findPreviewHost() {
    HWND host = FindWindowA("Scrprev", nullptr);
    if (host == nullptr) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        char commandLine[] = "Scrprev";
        if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE,
                            CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                            &startup, &process)) {
            return nullptr;
        }
        const DWORD waited = WaitForInputIdle(process.hProcess, 2000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (waited == WAIT_TIMEOUT || waited == WAIT_FAILED) {
            return nullptr;
        }
        host = FindWindowA("Scrprev", nullptr);
        if (host == nullptr) {
            return nullptr;
        }
    }
    SetForegroundWindow(host);
    return GetWindow(host, GW_CHILD);
}
