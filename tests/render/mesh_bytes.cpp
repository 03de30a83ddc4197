#include "tests/render/mesh_bytes.h"

#include <cmath>
#include <numbers>

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

TestMesh syntheticTube() {
    constexpr int rings = 180;
    constexpr int ringSize = 16;
    constexpr double centreRadius = 80.0;
    constexpr double tubeRadius = 11.674;
    TestMesh tube;
    for (int r = 0; r < rings; ++r) {
        const double theta = 2.0 * std::numbers::pi * r / rings;
        const double radial[3] = {std::cos(theta), std::sin(theta), 0.0};
        for (int j = 0; j < ringSize; ++j) {
            const double phi = 2.0 * std::numbers::pi * j / ringSize;
            MeshVertex vertex{};
            vertex.texCoord[0] = float(double(r) / rings);
            vertex.texCoord[1] = float(double(j) / ringSize);
            for (int k = 0; k < 3; ++k) {
                const double outward = std::cos(phi) * radial[k] + (k == 2 ? std::sin(phi) : 0.0);
                vertex.normal[k] = float(0.9 * outward);
                vertex.position[k] = float(centreRadius * radial[k] + tubeRadius * outward);
            }
            tube.vertices.push_back(vertex);
        }
    }
    for (int r = 0; r < rings; ++r) {
        for (int j = 0; j < ringSize; ++j) {
            const std::uint32_t a = ringSize * r + j;
            const std::uint32_t a1 = ringSize * r + (j + 1) % ringSize;
            const std::uint32_t b = ringSize * ((r + 1) % rings) + j;
            const std::uint32_t b1 = ringSize * ((r + 1) % rings) + (j + 1) % ringSize;
            tube.faces.insert(tube.faces.end(), {a, b, b1, a, b1, a1});
        }
    }
    return tube;
}
