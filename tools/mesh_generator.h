#pragma once

#include <cstdint>
#include <vector>

// The bytes of the program's mesh resource: face count, vertex count, faces, vertices.
std::vector<std::uint8_t> generateMeshResource();
