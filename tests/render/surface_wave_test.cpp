#include "render/model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

Model modelWithPositions(const std::vector<std::array<float, 3>>& positions) {
    Model model(std::int32_t(positions.size()), 0, nullptr);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        MeshVertex vertex{{0.25f, 0.75f}, {0.0f, 0.9f, 0.0f}, {}};
        std::copy(positions[i].begin(), positions[i].end(), vertex.position);
        model.restVertices[i] = vertex;
        model.workVertices[i] = vertex;
    }
    return model;
}

// Scattered positions, none sharing a place with the vertex eight on.
std::vector<std::array<float, 3>> scatteredPositions(int count) {
    std::vector<std::array<float, 3>> positions;
    for (int i = 0; i < count; ++i) {
        positions.push_back(
            {float(37.0 * std::sin(i * 1.3)), float(i * 2.5 - 20.0), float(11.0 * std::cos(i))});
    }
    return positions;
}

// The wave as the renderer's own developer would work it by hand: midpoint in single precision,
// distance rounded to single, the sine over degrees with π as 3.1415, the ratio u / (d × 0.5).
std::array<float, 3> expectedPosition(const std::array<float, 3>& rest,
                                      const std::array<float, 3>& partner, std::int64_t degrees) {
    float midpoint[3];
    for (int k = 0; k < 3; ++k) {
        midpoint[k] = rest[k] + (partner[k] - rest[k]) * 0.5f;
    }
    const double dx = double(rest[0]) - midpoint[0];
    const double dy = double(rest[1]) - midpoint[1];
    const double dz = double(rest[2]) - midpoint[2];
    const float d = float(std::sqrt(dx * dx + dy * dy + dz * dz));
    const double s = 0.25 * std::sin(double(degrees) * 3.1415 / 180.0) + 5.0 / 9.0;
    const double u = s * d;
    std::array<float, 3> result;
    for (int k = 0; k < 3; ++k) {
        result[k] = float(midpoint[k] + (double(rest[k]) - midpoint[k]) * u / (double(d) * 0.5));
    }
    return result;
}

void expectNear(const float* actual, const std::array<float, 3>& expected, const char* what) {
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(actual[k], expected[k], 1e-5 * (1.0 + std::abs(expected[k])))
            << what << ", component " << k;
    }
}

TEST(SurfaceWave, FollowsTheSineAlongTheVertexListForAnyPhase) {
    const auto positions = scatteredPositions(40);
    Model model = modelWithPositions(positions);
    const std::int32_t maxPhase = std::numeric_limits<std::int32_t>::max();
    // The last two cross the 32-bit wrap inside the vertex list: i + phase goes negative.
    for (const std::int32_t phase : {0, 12, 24, -500, 36000, maxPhase - 20, maxPhase}) {
        model.applySurfaceWave(phase);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            const std::int64_t sum = std::int64_t(i) + phase;
            const std::int64_t wrapped = sum > maxPhase ? sum - (std::int64_t(1) << 32) : sum;
            expectNear(
                model.workVertices[i].position,
                expectedPosition(positions[i], positions[(i + 8) % 40], wrapped),
                ("phase " + std::to_string(phase) + ", vertex " + std::to_string(i)).c_str());
        }
    }
}

TEST(SurfaceWave, WhereTheSineIsZeroAVertexSitsAtTenNinthsOfItsDistanceFromTheMidpoint) {
    // With 9 vertices the vertex eight on is vertex 8 for vertex 0 and vertex i − 1 otherwise.
    const int partnerOf[9] = {8, 0, 1, 2, 3, 4, 5, 6, 7};
    const auto positions = scatteredPositions(9);
    Model model = modelWithPositions(positions);
    for (int i = 0; i < 9; ++i) {
        model.applySurfaceWave(-i); // sine argument 0 at vertex i
        const auto& rest = positions[i];
        const auto& partner = positions[partnerOf[i]];
        for (int k = 0; k < 3; ++k) {
            const double midpoint = (double(rest[k]) + partner[k]) / 2.0;
            EXPECT_NEAR(model.workVertices[i].position[k],
                        midpoint + (rest[k] - midpoint) * 10.0 / 9.0, 1e-4)
                << "vertex " << i << ", component " << k;
        }
    }
}

TEST(SurfaceWave, VerticesThatAreTheirOwnPartnersStayAtRest) {
    for (const int count : {1, 2, 4, 8}) {
        const auto positions = scatteredPositions(count);
        Model model = modelWithPositions(positions);
        for (int i = 0; i < count; ++i) {
            model.workVertices[i].position[0] = 999.0f; // last frame's deformation
        }
        model.applySurfaceWave(77);
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(model.workVertices[i].position[k], positions[i][k])
                    << count << " vertices, vertex " << i << ", component " << k;
            }
        }
    }
}

TEST(SurfaceWave, AVertexWhosePartnerSharesItsPlaceStaysAtRestAndTheOthersMove) {
    auto positions = scatteredPositions(16);
    positions[11] = positions[3]; // vertex 3's partner, and vertex 11's partner is vertex 3
    Model model = modelWithPositions(positions);
    model.applySurfaceWave(5);
    for (int i = 0; i < 16; ++i) {
        const float* work = model.workVertices[i].position;
        if (i == 3 || i == 11) {
            EXPECT_EQ(std::vector<float>(work, work + 3),
                      std::vector<float>(positions[i].begin(), positions[i].end()))
                << "vertex " << i;
        } else {
            expectNear(work, expectedPosition(positions[i], positions[(i + 8) % 16], i + 5),
                       ("vertex " + std::to_string(i)).c_str());
        }
    }
}

TEST(SurfaceWave, RewritesOnlyPositionsAndNeverAccumulates) {
    const auto positions = scatteredPositions(20);
    Model model = modelWithPositions(positions);
    model.applySurfaceWave(300);
    std::vector<MeshVertex> once(model.workVertices.get(), model.workVertices.get() + 20);
    model.applySurfaceWave(300);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(std::memcmp(&once[i], &model.workVertices[i], sizeof(MeshVertex)), 0) << i;
        EXPECT_EQ(model.workVertices[i].texCoord[1], 0.75f);
        EXPECT_EQ(model.workVertices[i].normal[1], 0.9f);
        EXPECT_EQ(std::memcmp(model.restVertices[i].position, positions[i].data(), 12), 0) << i;
    }
}

} // namespace
