#pragma once

#include "resources/resource_ids.h"

#include <cstddef>
#include <cstdint>

// The program's raw data resources: the platform's resource mechanism on Windows, bytes built
// into the program elsewhere. They stay valid until the process ends.

inline constexpr int meshResourceId = MESH_RESOURCE;
inline constexpr int textureResourceId = TEXTURE_RESOURCE;

struct ResourceBytes {
    const std::uint8_t* data = nullptr; // null when the resource is missing
    std::size_t size = 0;
};

ResourceBytes findResourceBytes(int id);

// Implementations: shell/win32/resources.cpp, shell/linux/resources.cpp.
