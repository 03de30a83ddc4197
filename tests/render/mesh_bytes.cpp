#include "tests/render/mesh_bytes.h"

namespace {

void appendUint32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(std::uint8_t(value >> shift));
    }
}

} // namespace

std::vector<std::uint8_t> meshBytes(const TestMesh& mesh) {
    std::vector<std::uint8_t> bytes;
    appendUint32(bytes, std::uint32_t(mesh.faces.size() / 3));
    appendUint32(bytes, std::uint32_t(mesh.vertices.size()));
    for (std::uint32_t index : mesh.faces) {
        appendUint32(bytes, index);
    }
    for (const MeshVertex& vertex : mesh.vertices) {
        const auto* record = reinterpret_cast<const std::uint8_t*>(&vertex);
        bytes.insert(bytes.end(), record, record + sizeof(MeshVertex));
    }
    return bytes;
}
