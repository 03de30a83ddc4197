#include "render/load_model.h"

#include "platform/resources.h"
#include "platform/window_handle.h"
#include "render/model.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

std::uint32_t readUint32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

constexpr std::size_t meshHeaderSize = 8;
constexpr std::size_t faceSize = 12;
// A draw call counts up to 3 × faceCount indices in a signed 32-bit integer.
constexpr std::uint32_t maxFaceCount = std::numeric_limits<std::int32_t>::max() / 3;
constexpr std::uint32_t maxVertexCount = std::numeric_limits<std::int32_t>::max();

} // namespace

void loadModel() {
    const ResourceBytes mesh = findResourceBytes(meshResourceId);
    if (mesh.data == nullptr || mesh.size < meshHeaderSize) {
        return;
    }
    const std::uint32_t faceCount = readUint32(mesh.data);
    const std::uint32_t vertexCount = readUint32(mesh.data + 4);
    if (faceCount > maxFaceCount || vertexCount > maxVertexCount) {
        return;
    }
    const std::size_t faceBytes = faceSize * faceCount;
    const std::size_t vertexBytes = sizeof(MeshVertex) * vertexCount;
    if (mesh.size - meshHeaderSize < faceBytes ||
        mesh.size - meshHeaderSize - faceBytes < vertexBytes) {
        return;
    }

    auto* model = new Model(std::int32_t(vertexCount), std::int32_t(faceCount), renderWindow);
    const std::uint8_t* faces = mesh.data + meshHeaderSize;
    const std::uint8_t* vertices = faces + faceBytes;
    std::memcpy(model->faces.get(), faces, faceBytes);
    std::memcpy(model->workVertices.get(), vertices, vertexBytes);
    std::memcpy(model->restVertices.get(), vertices, vertexBytes);

    const ResourceBytes texture = findResourceBytes(textureResourceId);
    textureBuffer.fill(0);
    if (texture.data != nullptr) {
        std::memcpy(textureBuffer.data(), texture.data,
                    std::min(texture.size, textureBuffer.size()));
    }

    modelList.push_back(model);
}
