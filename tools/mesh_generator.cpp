// A tube of radius 11.674 around a (3,2) torus knot that winds three times about the vertical axis
// and twice through its own middle; its second half is the first turned half a turn about that
// axis.
#include "tools/mesh_generator.h"

#include "render/mesh_vertex.h"
#include "tools/stable_math.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr int ringCount = 180;
constexpr int halfRingCount = ringCount / 2;
constexpr int ringSize = 16;
constexpr int ringVertexCount = ringCount * ringSize;
constexpr int spareVertexCount = 586;
constexpr int vertexCount = ringVertexCount + spareVertexCount;
constexpr int faceCount = 2 * ringVertexCount;

constexpr double tubeRadius = 11.674;
constexpr double normalLength = 0.92;
// The knot: a circle of radius majorRadius about the axis, with a loop of radial reach
// loopReach and height loopHeight around it.
constexpr double majorRadius = 48.0;
constexpr double loopReach = 27.5;
constexpr double loopHeight = 42.0;
// The knot's own parameter runs a little faster on the inner side, where the curve is shortest,
// which evens out the spacing of the rings.
constexpr double spacingEvening = 0.15;
// The vertical axis of the half-turn symmetry.
constexpr double axisX = 2.09;
constexpr double axisZ = 1.25;
constexpr double centreY = 0.085;

// Frames are carried along the curve in finer steps than the rings, for a smoother frame.
constexpr int frameStepsPerRing = 8;

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
Vec normalised(Vec a) {
    return (1.0 / std::sqrt(dot(a, a))) * a;
}

// Half a turn about the symmetry axis.
Vec turnedPosition(Vec p) {
    return {2.0 * axisX - p.x, p.y, 2.0 * axisZ - p.z};
}
Vec turnedDirection(Vec d) {
    return {-d.x, d.y, -d.z};
}

struct CurvePoint {
    Vec position;
    Vec tangent;
};

// u runs from 0 to 2 pi once around the knot; u + pi is the same point turned half a turn.
CurvePoint centreLine(double u) {
    const double t = u - spacingEvening * stableSin(2.0 * u);
    const double reach = majorRadius + loopReach * stableCos(2.0 * t);
    const double c3 = stableCos(3.0 * t);
    const double s3 = stableSin(3.0 * t);
    const double s2 = stableSin(2.0 * t);
    const double c2 = stableCos(2.0 * t);
    const Vec position{axisX + reach * c3, centreY + loopHeight * s2, axisZ + reach * s3};
    const Vec derivative{-2.0 * loopReach * s2 * c3 - 3.0 * reach * s3, 2.0 * loopHeight * c2,
                         -2.0 * loopReach * s2 * s3 + 3.0 * reach * c3};
    return {position, normalised(derivative)};
}

double ringParameter(double ring) {
    return 2.0 * stablePi * ring / ringCount;
}

// Rotates v about the unit axis by the given angle (Rodrigues).
Vec rotatedAbout(Vec v, Vec axis, double angle) {
    const double c = stableCos(angle);
    const double s = stableSin(angle);
    return c * v + s * cross(axis, v) + ((1.0 - c) * dot(axis, v)) * axis;
}

// One step of the double-reflection rotation-minimising frame: carries the reference direction
// from one curve point to the next without spinning it about the curve.
Vec carriedReference(const CurvePoint& from, const CurvePoint& to, Vec reference) {
    const Vec step = to.position - from.position;
    const double stepSquared = dot(step, step);
    const Vec reflectedReference = reference - (2.0 / stepSquared * dot(step, reference)) * step;
    const Vec reflectedTangent =
        from.tangent - (2.0 / stepSquared * dot(step, from.tangent)) * step;
    const Vec tangentGap = to.tangent - reflectedTangent;
    const double gapSquared = dot(tangentGap, tangentGap);
    if (gapSquared == 0.0) {
        return reflectedReference;
    }
    return reflectedReference -
           (2.0 / gapSquared * dot(tangentGap, reflectedReference)) * tangentGap;
}

struct Ring {
    Vec centre;
    Vec tangent;
    Vec across; // unit, perpendicular to the tangent: the direction of vertex 0
};

// The frames of the first half of the rings. The rotation-minimising frame does not come back
// to the half-turned start after half the knot; the leftover twist is spread evenly over the
// rings so that ring 90, the turned ring 0, continues the frame without a jump.
std::array<Ring, halfRingCount> firstHalfRings() {
    const CurvePoint start = centreLine(0.0);
    const Vec up{0.0, 1.0, 0.0};
    Vec reference = normalised(up - dot(up, start.tangent) * start.tangent);

    std::array<Ring, halfRingCount> rings{};
    CurvePoint previous = start;
    for (int ring = 0; ring < halfRingCount; ++ring) {
        rings[ring] = {previous.position, previous.tangent, reference};
        for (int step = 1; step <= frameStepsPerRing; ++step) {
            const CurvePoint next =
                centreLine(ringParameter(ring + static_cast<double>(step) / frameStepsPerRing));
            reference = normalised(carriedReference(previous, next, reference));
            previous = next;
        }
    }

    // previous is now the point of ring 90, the start turned half a turn.
    const Vec target = turnedDirection(rings[0].across);
    const double twist =
        stableAtan2(dot(cross(reference, target), previous.tangent), dot(reference, target));
    for (int ring = 1; ring < halfRingCount; ++ring) {
        rings[ring].across =
            rotatedAbout(rings[ring].across, rings[ring].tangent, twist * ring / halfRingCount);
    }
    return rings;
}

struct SurfacePoint {
    Vec position;
    Vec outward; // unit
};

// Vertex j goes round the ring against the right-hand turn about the tangent, so that the faces
// below come out counter-clockwise seen from outside.
std::array<SurfacePoint, ringVertexCount> ringSurface() {
    const std::array<Ring, halfRingCount> rings = firstHalfRings();
    std::array<SurfacePoint, ringVertexCount> surface{};
    for (int ring = 0; ring < halfRingCount; ++ring) {
        const Ring& frame = rings[ring];
        const Vec side = cross(frame.tangent, frame.across);
        for (int j = 0; j < ringSize; ++j) {
            const double angle = 2.0 * stablePi * j / ringSize;
            const Vec outward = stableCos(angle) * frame.across - stableSin(angle) * side;
            const SurfacePoint point{frame.centre + tubeRadius * outward, outward};
            surface[ring * ringSize + j] = point;
            surface[(ring + halfRingCount) * ringSize + j] = {turnedPosition(point.position),
                                                              turnedDirection(point.outward)};
        }
    }
    return surface;
}

std::array<std::uint32_t, 3 * faceCount> faceIndices() {
    std::array<std::uint32_t, 3 * faceCount> faces{};
    std::size_t next = 0;
    for (int ring = 0; ring < ringCount; ++ring) {
        const int nextRing = (ring + 1) % ringCount;
        for (int j = 0; j < ringSize; ++j) {
            const int nextJ = (j + 1) % ringSize;
            const std::uint32_t a = ring * ringSize + j;
            const std::uint32_t aNext = ring * ringSize + nextJ;
            const std::uint32_t b = nextRing * ringSize + j;
            const std::uint32_t bNext = nextRing * ringSize + nextJ;
            for (std::uint32_t index : {a, b, bNext, a, bNext, aNext}) {
                faces[next++] = index;
            }
        }
    }
    return faces;
}

Vec unitFaceNormal(const std::array<SurfacePoint, ringVertexCount>& surface,
                   const std::uint32_t* face) {
    const Vec a = surface[face[0]].position;
    return normalised(cross(surface[face[1]].position - a, surface[face[2]].position - a));
}

// Each normal is the mean of the unit normals of the faces around its vertex, so it follows the
// surface smoothly. OpenGL normalises normals before lighting; the mesh keeps them at about nine
// tenths of unit length.
std::array<Vec, ringVertexCount>
smoothedNormals(const std::array<SurfacePoint, ringVertexCount>& surface,
                const std::array<std::uint32_t, 3 * faceCount>& faces) {
    std::array<Vec, ringVertexCount> sums{};
    std::array<int, ringVertexCount> counts{};
    for (int face = 0; face < faceCount; ++face) {
        const std::uint32_t* corners = &faces[3 * face];
        const Vec normal = unitFaceNormal(surface, corners);
        for (int corner = 0; corner < 3; ++corner) {
            sums[corners[corner]] = sums[corners[corner]] + normal;
            ++counts[corners[corner]];
        }
    }
    for (int i = 0; i < ringVertexCount; ++i) {
        sums[i] = (normalLength / counts[i]) * sums[i];
    }
    return sums;
}

MeshVertex meshVertex(double s, double t, Vec normal, Vec position) {
    return {
        {static_cast<float>(s), static_cast<float>(t)},
        {static_cast<float>(normal.x), static_cast<float>(normal.y), static_cast<float>(normal.z)},
        {static_cast<float>(position.x), static_cast<float>(position.y),
         static_cast<float>(position.z)}};
}

void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendFloat(std::vector<std::uint8_t>& bytes, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    appendLittleEndian(bytes, bits);
}

void appendVertex(std::vector<std::uint8_t>& bytes, const MeshVertex& vertex) {
    for (float value : vertex.texCoord) {
        appendFloat(bytes, value);
    }
    for (float value : vertex.normal) {
        appendFloat(bytes, value);
    }
    for (float value : vertex.position) {
        appendFloat(bytes, value);
    }
}

} // namespace

std::vector<std::uint8_t> generateMeshResource() {
    const std::array<SurfacePoint, ringVertexCount> surface = ringSurface();
    const std::array<std::uint32_t, 3 * faceCount> faces = faceIndices();
    const std::array<Vec, ringVertexCount> normals = smoothedNormals(surface, faces);

    std::vector<MeshVertex> vertices;
    vertices.reserve(vertexCount);
    for (int i = 0; i < ringVertexCount; ++i) {
        const double s = static_cast<double>(i / ringSize) / ringCount;
        const double t = static_cast<double>(i % ringSize) / ringSize;
        const Vec normal = i < ringVertexCount / 2
                               ? normals[i]
                               : turnedDirection(normals[i - ringVertexCount / 2]);
        vertices.push_back(meshVertex(s, t, normal, surface[i].position));
    }
    // The spare vertices repeat the first ring vertices, without a normal; no face uses them.
    for (int i = 0; i < spareVertexCount; ++i) {
        MeshVertex spare = vertices[i];
        std::memset(spare.normal, 0, sizeof spare.normal);
        vertices.push_back(spare);
    }

    std::vector<std::uint8_t> bytes;
    bytes.reserve(8 + 12 * faceCount + sizeof(MeshVertex) * vertexCount);
    appendLittleEndian(bytes, faceCount);
    appendLittleEndian(bytes, vertexCount);
    for (std::uint32_t index : faces) {
        appendLittleEndian(bytes, index);
    }
    for (const MeshVertex& vertex : vertices) {
        appendVertex(bytes, vertex);
    }
    return bytes;
}
