#pragma once

#include <windows.h>

#include <string>

// Where the tests of the password hooks keep their stand-ins for the platform's libraries: built
// beside the test program, put into the system folder where the platform's own live.

inline std::string programFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length);
    return program.substr(0, program.find_last_of('\\') + 1);
}

inline std::string systemFolder() {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path, length) + "\\";
}
