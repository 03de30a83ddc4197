#include "platform/win32/process_handles.h"
#include "shell/entry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    moduleInstance = instance;
    return runEntry(GetCommandLineA());
}
