#pragma once

#include <windows.h>

// The platform's own libraries come from the system folder only: a file of the same name beside
// the program or in the current folder (a downloads folder, say) is never loaded instead.

// The library of that name in the system folder, its own dependencies looked for there first;
// null when it is not there.
HMODULE loadSystemLibrary(const char* name);

// Takes the current folder out of the search for every library loaded by name later, by the
// program or by the platform's libraries on its behalf.
void leaveCurrentFolderOutOfLibrarySearch();
