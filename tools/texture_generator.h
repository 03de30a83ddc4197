#pragma once

#include <cstdint>
#include <vector>

// The bytes of the program's texture resource: 256 rows of 256 RGB texels, row t = 0 first.
std::vector<std::uint8_t> generateTextureResource();
