#include "render/model.h"

#include <cmath>
#include <cstdint>

namespace {
// Degrees to radians with π taken as 3.1415.
constexpr double radiansPerDegree = 0.01745277777777778;
constexpr int partnerDistance = 8;
} // namespace

// Moves every vertex along the line from the midpoint between it and its partner (the vertex
// eight places on) through its rest position, to 2s times its rest distance from that midpoint,
// where s follows a sine along the vertex list. Always rewritten from the rest positions.
void Model::applySurfaceWave(std::int32_t phase) {
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        const float* rest = restVertices[i].position;
        const float* partner =
            restVertices[(std::int64_t(i) + partnerDistance) % vertexCount].position;
        float* work = workVertices[i].position;

        float midpoint[3];
        double squaredDistance = 0.0;
        for (int k = 0; k < 3; ++k) {
            midpoint[k] = rest[k] + (partner[k] - rest[k]) * 0.5f;
            const double offset = double(rest[k]) - double(midpoint[k]);
            squaredDistance += offset * offset;
        }
        const float distance = float(std::sqrt(squaredDistance));
        if (distance == 0.0f) {
            // Its own partner, or one at the same place: no line to move along.
            for (int k = 0; k < 3; ++k) {
                work[k] = rest[k];
            }
            continue;
        }

        // The degree count wraps like the 32-bit integers it is made of.
        const auto degrees = std::int32_t(std::uint32_t(i) + std::uint32_t(phase));
        const double scale = 0.25 * std::sin(degrees * radiansPerDegree) + 0.5555555555555556;
        const double travel = scale * distance;
        for (int k = 0; k < 3; ++k) {
            work[k] = float(midpoint[k] +
                            (double(rest[k]) - midpoint[k]) * travel / (double(distance) * 0.5));
        }
    }
}
