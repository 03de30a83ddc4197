#pragma once

#include "render/mesh_vertex.h"

#include <cstdint>
#include <vector>

struct TestMesh {
    std::vector<std::uint32_t> faces; // three indices a face
    std::vector<MeshVertex> vertices;
};

// The mesh resource format: face count, vertex count, faces, vertices, little-endian.
std::vector<std::uint8_t> meshBytes(const TestMesh& mesh);

// A texture resource: RGB from a function of the texel's column and row.
template <typename TexelColour>
std::vector<std::uint8_t> textureBytes(TexelColour colour) {
    std::vector<std::uint8_t> bytes;
    for (int row = 0; row < 256; ++row) {
        for (int column = 0; column < 256; ++column) {
            const auto [r, g, b] = colour(column, row);
            bytes.insert(bytes.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
        }
    }
    return bytes;
}
