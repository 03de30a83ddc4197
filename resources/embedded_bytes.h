#pragma once

#include <cstddef>
#include <cstdint>

// The committed resource files as arrays compiled into the program; the build writes them from
// resources/mesh.bin and resources/texture.rgb.
extern const std::uint8_t embeddedMesh[];
extern const std::size_t embeddedMeshSize;
extern const std::uint8_t embeddedTexture[];
extern const std::size_t embeddedTextureSize;
