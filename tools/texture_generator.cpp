// A burst of yellow-orange flame on black: a white-hot core, ragged tongues of fire reaching out
// along the rays, and night in the corners.
#include "tools/texture_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int side = 256;

double clamped(double value) {
    return std::clamp(value, 0.0, 1.0);
}

double smoothStep(double x) {
    return x * x * (3.0 - 2.0 * x);
}

// A fixed integer hash of a lattice point, as a value in [0, 1].
double latticeValue(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                      static_cast<std::uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return static_cast<double>(h) / 4294967295.0;
}

// Value noise: lattice values blended smoothly in between.
double valueNoise(double x, double y, std::uint32_t seed) {
    const double cellX = std::floor(x);
    const double cellY = std::floor(y);
    const int ix = static_cast<int>(cellX);
    const int iy = static_cast<int>(cellY);
    const double fx = smoothStep(x - cellX);
    const double fy = smoothStep(y - cellY);
    const double bottom = latticeValue(ix, iy, seed) +
                          (latticeValue(ix + 1, iy, seed) - latticeValue(ix, iy, seed)) * fx;
    const double top = latticeValue(ix, iy + 1, seed) +
                       (latticeValue(ix + 1, iy + 1, seed) - latticeValue(ix, iy + 1, seed)) * fx;
    return bottom + (top - bottom) * fy;
}

// Four octaves of noise, each twice as fine and half as strong, in [0, 1].
double fractalNoise(double x, double y, std::uint32_t seed) {
    double sum = 0.0;
    double weight = 0.5;
    double scale = 1.0;
    for (int octave = 0; octave < 4; ++octave) {
        sum += weight * valueNoise(x * scale, y * scale, seed + octave);
        weight *= 0.5;
        scale *= 2.0;
    }
    return sum / 0.9375;
}

// The heat of the flame at a point of the square [-1, 1]^2: 1 in the core, 0 in the dark.
double flameHeat(double x, double y) {
    const double distance = std::sqrt(x * x + y * y);
    if (distance == 0.0) {
        return 1.0;
    }
    const double dirX = x / distance;
    const double dirY = y / distance;
    // How far the fire reaches in this direction, and streaks that run outward along the rays:
    // noise sampled on circles, the streaks on circles that widen slowly with the distance.
    const double reach = 0.84 + 0.5 * fractalNoise(2.0 * dirX + 7.0, 2.0 * dirY + 7.0, 1);
    const double streakRadius = 7.0 + 2.5 * distance;
    const double streak = fractalNoise(streakRadius * dirX, streakRadius * dirY, 2);
    const double flicker = fractalNoise(6.0 * x + 3.0, 6.0 * y + 3.0, 3);
    const double extent = reach * (0.7 + 0.45 * streak + 0.15 * flicker);
    const double ratio = distance / extent;
    return clamped(1.0 - ratio * ratio);
}

} // namespace

std::vector<std::uint8_t> generateTextureResource() {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(side * side * 3);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const double x = (column + 0.5) / side * 2.0 - 1.0;
            const double y = (row + 0.5) / side * 2.0 - 1.0;
            const double heat = flameHeat(x, y);
            const double red = clamped(heat * 2.2);
            const double green = clamped(heat * 2.1 - 0.24);
            const double blue = clamped(heat * 3.0 - 2.6);
            for (double channel : {red, green, blue}) {
                bytes.push_back(static_cast<std::uint8_t>(std::lround(channel * 255.0)));
            }
        }
    }
    return bytes;
}
