#include "shell/win32/system_library.h"

#include <cstring>

HMODULE loadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT folderLength = GetSystemDirectoryA(path, MAX_PATH);
    const std::size_t nameLength = std::strlen(name);
    if (folderLength == 0 || folderLength + 1 + nameLength >= MAX_PATH) {
        return nullptr;
    }
    path[folderLength] = '\\';
    std::memcpy(path + folderLength + 1, name, nameLength + 1);
    // A full path, not LOAD_LIBRARY_SEARCH_SYSTEM32, which Windows 7 lacks without an update.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void leaveCurrentFolderOutOfLibrarySearch() {
    SetDllDirectoryA("");
}
