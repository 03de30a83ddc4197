#include "shell/entry.h"
#include "shell/win32/module_instance.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    moduleInstance = instance;
    return runEntry(GetCommandLineA());
}
