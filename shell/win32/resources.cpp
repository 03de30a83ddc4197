// The program's raw data resources, from its own module.
#include "platform/resources.h"

#include <windows.h>

ResourceBytes findResourceBytes(int id) {
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (info == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(nullptr, info);
    if (loaded == nullptr) {
        return {};
    }
    // Module resources stay mapped for the life of the process; nothing unlocks or frees them.
    return {static_cast<const std::uint8_t*>(LockResource(loaded)), SizeofResource(nullptr, info)};
}
