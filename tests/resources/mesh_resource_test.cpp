// Invariants of the committed mesh that the renderer and the surface wave rely on.
#include "platform/resources.h"
#include "render/mesh_vertex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int ringCount = 180;
constexpr int ringSize = 16;
constexpr int ringVertexCount = ringCount * ringSize;
constexpr std::uint32_t expectedFaceCount = 5760;
constexpr std::uint32_t expectedVertexCount = 3466;
constexpr double tubeRadius = 11.674;

struct Vec {
    double x, y, z;
};

Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(double s, Vec a) {
    return {s * a.x, s * a.y, s * a.z};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(Vec a) {
    return std::sqrt(dot(a, a));
}

std::uint32_t readU32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

class MeshResourceTest : public testing::Test {
  protected:
    void SetUp() override {
        const ResourceBytes resource = findResourceBytes(meshResourceId);
        ASSERT_NE(resource.data, nullptr);
        ASSERT_GE(resource.size, 8u);
        faceCount = readU32(resource.data);
        vertexCount = readU32(resource.data + 4);
        ASSERT_EQ(faceCount, expectedFaceCount);
        ASSERT_EQ(vertexCount, expectedVertexCount);
        ASSERT_EQ(resource.size, 8u + 12u * faceCount + 32u * vertexCount);
        for (std::uint32_t i = 0; i < 3 * faceCount; ++i) {
            faces.push_back(readU32(resource.data + 8 + 4 * i));
        }
        vertices.resize(vertexCount);
        std::memcpy(vertices.data(), resource.data + 8 + 12 * faceCount,
                    sizeof(MeshVertex) * vertexCount);
    }

    Vec position(int i) const {
        const float* p = vertices[i].position;
        return {p[0], p[1], p[2]};
    }
    Vec normal(int i) const {
        const float* n = vertices[i].normal;
        return {n[0], n[1], n[2]};
    }
    Vec ringCentre(int ring) const {
        Vec sum{0, 0, 0};
        for (int j = 0; j < ringSize; ++j) {
            sum = sum + position(ring * ringSize + j);
        }
        return (1.0 / ringSize) * sum;
    }

    std::uint32_t faceCount = 0;
    std::uint32_t vertexCount = 0;
    std::vector<std::uint32_t> faces;
    std::vector<MeshVertex> vertices;
};

TEST_F(MeshResourceTest, IsExactlyHeaderFacesAndVerticesLong) {
    EXPECT_EQ(findResourceBytes(meshResourceId).size, 180040u);
}

TEST_F(MeshResourceTest, FacesCloseTheTubeRingByRingInOrder) {
    std::size_t next = 0;
    for (int r = 0; r < ringCount; ++r) {
        for (int j = 0; j < ringSize; ++j) {
            const std::uint32_t a = 16 * r + j;
            const std::uint32_t aNext = 16 * r + (j + 1) % 16;
            const std::uint32_t b = 16 * ((r + 1) % 180) + j;
            const std::uint32_t bNext = 16 * ((r + 1) % 180) + (j + 1) % 16;
            for (std::uint32_t expected : {a, b, bNext, a, bNext, aNext}) {
                ASSERT_EQ(faces[next], expected) << "index " << next;
                ++next;
            }
        }
    }
    EXPECT_EQ(*std::max_element(faces.begin(), faces.end()), 2879u);
}

TEST_F(MeshResourceTest, RingVerticesCarryRingAndAngleAsTextureCoordinates) {
    for (int i = 0; i < ringVertexCount; ++i) {
        EXPECT_FLOAT_EQ(vertices[i].texCoord[0], static_cast<float>(i / 16) / 180.0f) << i;
        EXPECT_FLOAT_EQ(vertices[i].texCoord[1], static_cast<float>(i % 16) / 16.0f) << i;
    }
}

TEST_F(MeshResourceTest, RingsAreEvenlyDividedCirclesOfTheTubeRadius) {
    const double chord = 2.0 * tubeRadius * std::sin(3.14159265358979 / ringSize);
    for (int r = 0; r < ringCount; ++r) {
        const Vec centre = ringCentre(r);
        for (int j = 0; j < ringSize; ++j) {
            const int i = r * ringSize + j;
            EXPECT_NEAR(length(position(i) - centre), tubeRadius, 1e-3) << i;
            const int neighbour = r * ringSize + (j + 1) % ringSize;
            EXPECT_NEAR(length(position(neighbour) - position(i)), chord, 1e-3) << i;
        }
    }
}

TEST_F(MeshResourceTest, NormalsPointOutwardAndAreShorterThanUnit) {
    for (int r = 0; r < ringCount; ++r) {
        const Vec centre = ringCentre(r);
        for (int j = 0; j < ringSize; ++j) {
            const int i = r * ringSize + j;
            const double normalLength = length(normal(i));
            EXPECT_GE(normalLength, 0.84) << i;
            EXPECT_LE(normalLength, 0.98) << i;
            const Vec outward = position(i) - centre;
            EXPECT_GT(dot(normal(i), outward) / (normalLength * length(outward)), 0.99) << i;
        }
    }
}

TEST_F(MeshResourceTest, FacesWindCounterClockwiseSeenFromTheirNormals) {
    for (std::uint32_t f = 0; f < faceCount; ++f) {
        const std::uint32_t* corner = &faces[3 * f];
        const Vec a = position(corner[0]);
        const Vec faceNormal = cross(position(corner[1]) - a, position(corner[2]) - a);
        const Vec vertexNormals = normal(corner[0]) + normal(corner[1]) + normal(corner[2]);
        EXPECT_GT(dot(faceNormal, vertexNormals), 0.0) << "face " << f;
    }
}

TEST_F(MeshResourceTest, SecondHalfIsTheFirstTurnedHalfATurnAboutTheVerticalAxis) {
    const double axisX = 2.09;
    const double axisZ = 1.25;
    for (int i = 0; i < ringVertexCount / 2; ++i) {
        const int turned = i + ringVertexCount / 2;
        const Vec p = position(i);
        const Vec expected{2 * axisX - p.x, p.y, 2 * axisZ - p.z};
        EXPECT_LT(length(position(turned) - expected), 1e-4) << i;
        const Vec n = normal(i);
        EXPECT_LT(length(normal(turned) - Vec{-n.x, n.y, -n.z}), 1e-6) << i;
    }
}

TEST_F(MeshResourceTest, StaysInsideItsBoundingBox) {
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        const Vec p = position(i);
        EXPECT_TRUE(p.x >= -85.35 && p.x <= 89.53) << i << " x " << p.x;
        EXPECT_TRUE(p.y >= -61.48 && p.y <= 61.65) << i << " y " << p.y;
        EXPECT_TRUE(p.z >= -86.18 && p.z <= 88.69) << i << " z " << p.z;
    }
}

TEST_F(MeshResourceTest, CentreLineIsAboutAThousandUnitsLongWithEvenSteps) {
    double total = 0.0;
    for (int r = 0; r < ringCount; ++r) {
        const double step = length(ringCentre((r + 1) % ringCount) - ringCentre(r));
        EXPECT_GE(step, 4.2) << r;
        EXPECT_LE(step, 11.7) << r;
        total += step;
    }
    EXPECT_GT(total, 1000.0);
    EXPECT_LT(total, 1050.0);
}

// No ring vertex comes nearer than the tube radius to the centre of a ring further along the
// tube: the tube does not run through itself.
TEST_F(MeshResourceTest, TubeDoesNotPassThroughItself) {
    std::vector<Vec> centres;
    for (int r = 0; r < ringCount; ++r) {
        centres.push_back(ringCentre(r));
    }
    for (int i = 0; i < ringVertexCount; ++i) {
        const int ring = i / ringSize;
        for (int other = 0; other < ringCount; ++other) {
            const int apart = std::min((other - ring + ringCount) % ringCount,
                                       (ring - other + ringCount) % ringCount);
            if (apart >= 3) {
                ASSERT_GT(length(position(i) - centres[other]), tubeRadius) << i << " " << other;
            }
        }
    }
}

// Vertex j of each ring is the one nearest to vertex j of the ring before, also across the seams
// at rings 90 and 0: the rings never twist by half a step or more.
TEST_F(MeshResourceTest, RingsDoNotTwistAbruptly) {
    for (int r = 0; r < ringCount; ++r) {
        const int next = (r + 1) % ringCount;
        const Vec shift = ringCentre(next) - ringCentre(r);
        for (int j = 0; j < ringSize; ++j) {
            const Vec carried = position(r * ringSize + j) + shift;
            int nearest = -1;
            double nearestDistance = 1e9;
            for (int k = 0; k < ringSize; ++k) {
                const double distance = length(position(next * ringSize + k) - carried);
                if (distance < nearestDistance) {
                    nearestDistance = distance;
                    nearest = k;
                }
            }
            EXPECT_EQ(nearest, j) << "ring " << r;
        }
    }
}

TEST_F(MeshResourceTest, SpareVerticesRepeatRingPositionsWithoutNormals) {
    for (std::uint32_t i = ringVertexCount; i < vertexCount; ++i) {
        EXPECT_EQ(length(normal(i)), 0.0) << i;
        bool repeatsRingVertex = false;
        for (int k = 0; k < ringVertexCount && !repeatsRingVertex; ++k) {
            repeatsRingVertex =
                std::memcmp(vertices[i].position, vertices[k].position, sizeof(float) * 3) == 0;
        }
        EXPECT_TRUE(repeatsRingVertex) << i;
    }
}

// The surface wave scales each vertex about the midpoint with the vertex eight places on; that
// partner must sit elsewhere, or the distance it divides by is zero.
TEST_F(MeshResourceTest, NoVertexSharesItsPositionWithItsWavePartner) {
    double nearest = 1e9;
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        nearest = std::min(nearest, length(position((i + 8) % vertexCount) - position(i)));
    }
    EXPECT_GT(nearest, 1.0);
}

} // namespace
