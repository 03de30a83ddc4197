#include "platform/win32/process_handles.h"
#include "shell/entry.h"
#include "shell/win32/system_library.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    leaveCurrentFolderOutOfLibrarySearch();
    moduleInstance = instance;
    return runEntry(GetCommandLineA());
}
