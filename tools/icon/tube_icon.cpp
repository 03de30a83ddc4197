// The icon draws the same shape as the saver's mesh, a trefoil knot, as a shaded tube seen from
// above. Only +, -, *, / and sqrt are used, which IEEE arithmetic rounds the same everywhere, so
// the committed icon can be checked byte for byte against this code on any build machine.
#include "tools/icon/tube_icon.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int curveSteps = 384;
constexpr int samplesPerAxis = 4;
constexpr double pi = 3.14159265358979323846;
// How far a strand's own roundness counts against the knot's height at a crossing.
constexpr double bulgeWeight = 0.5;
// The share of the tube's half width, at its rim, that darkens into an outline.
constexpr double outlineWidth = 0.22;

struct Vec3 {
    double x, y, z;
};

double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 normalised(Vec3 a) {
    double length = std::sqrt(dot(a, a));
    return {a.x / length, a.y / length, a.z / length};
}

struct Complex {
    double re, im;
};

Complex operator*(Complex a, Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// e^(i angle) from its power series; enough terms for the small angle of one curve step.
Complex unitStep(double angle) {
    Complex sum{0.0, 0.0};
    Complex term{1.0, 0.0};
    for (int n = 1; n <= 12; ++n) {
        sum = {sum.re + term.re, sum.im + term.im};
        term = term * Complex{0.0, angle / n};
    }
    return sum;
}

// Points of the knot in picture units: x right, y up, z towards the viewer in [-1, 1].
std::vector<Vec3> knotPoints() {
    Complex step = unitStep(2.0 * pi / curveSteps);
    Complex turn{1.0, 0.0};
    std::vector<Vec3> points;
    for (int k = 0; k <= curveSteps; ++k) {
        Complex twice = turn * turn;
        Complex thrice = twice * turn;
        points.push_back({turn.im + 2.0 * twice.im, 2.0 * twice.re - turn.re, -thrice.im});
        turn = turn * step;
    }
    return points;
}

struct Hit {
    bool found = false;
    double depth = 0.0;
    Vec3 normal{0.0, 0.0, 0.0};
    double rimDistance = 0.0;
    double height = 0.0;
};

// The front-most strand under a point of the picture.
Hit hitTube(const std::vector<Vec3>& points, double x, double y, double radius) {
    Hit best;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        Vec3 a = points[k];
        Vec3 b = points[k + 1];
        double ex = b.x - a.x;
        double ey = b.y - a.y;
        double along = ((x - a.x) * ex + (y - a.y) * ey) / (ex * ex + ey * ey);
        along = std::clamp(along, 0.0, 1.0);
        double dx = x - (a.x + along * ex);
        double dy = y - (a.y + along * ey);
        double squared = dx * dx + dy * dy;
        if (squared >= radius * radius) {
            continue;
        }
        double bulge = std::sqrt(radius * radius - squared);
        double height = a.z + along * (b.z - a.z);
        double depth = height + bulgeWeight * bulge;
        if (!best.found || depth > best.depth) {
            best.found = true;
            best.depth = depth;
            best.normal = {dx / radius, dy / radius, bulge / radius};
            best.rimDistance = 1.0 - std::sqrt(squared) / radius;
            best.height = height;
        }
    }
    return best;
}

struct Colour {
    double r, g, b;
};

// Orange for the far strands, yellow for the near ones, lit from the upper left.
Colour shade(const Hit& hit) {
    static const Vec3 light = normalised({-0.45, 0.55, 0.7});
    static const Vec3 halfway = normalised({light.x, light.y, light.z + 1.0});
    double nearness = (hit.height + 1.0) / 2.0;
    Colour base{1.0, 0.42 + 0.36 * nearness, 0.1 * nearness};
    double diffuse = std::max(0.0, dot(hit.normal, light));
    double gloss = std::max(0.0, dot(hit.normal, halfway));
    for (int i = 0; i < 4; ++i) {
        gloss *= gloss; // to the 16th power
    }
    double outline = std::min(1.0, hit.rimDistance / outlineWidth);
    double lit = (0.3 + 0.75 * diffuse) * outline;
    double glint = 0.6 * gloss * outline;
    return {base.r * lit + glint, base.g * lit + glint, base.b * lit + 0.8 * glint};
}

std::uint8_t toByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5);
}

} // namespace

IconImage drawTubeIcon(int size) {
    std::vector<Vec3> points = knotPoints();
    // Small icons get a thicker tube, so that it still reads as one.
    double radius = 0.45 + 6.0 / size;
    double left = points[0].x, right = left, bottom = points[0].y, top = bottom;
    for (Vec3 p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    double span = std::max(right - left, top - bottom) + 2.0 * radius;
    double unitsPerPixel = span / (size - 1.0);
    double centreX = (left + right) / 2.0;
    double centreY = (bottom + top) / 2.0;

    IconImage image{size, std::vector<std::uint8_t>(4 * size * size)};
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            Colour sum{0.0, 0.0, 0.0};
            for (int sy = 0; sy < samplesPerAxis; ++sy) {
                for (int sx = 0; sx < samplesPerAxis; ++sx) {
                    double px = column + (sx + 0.5) / samplesPerAxis - size / 2.0;
                    double py = size / 2.0 - (row + (sy + 0.5) / samplesPerAxis);
                    Hit hit = hitTube(points, centreX + px * unitsPerPixel,
                                      centreY + py * unitsPerPixel, radius);
                    if (hit.found) {
                        Colour c = shade(hit);
                        sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                    }
                }
            }
            constexpr double samples = samplesPerAxis * samplesPerAxis;
            std::uint8_t* pixel = &image.rgba[4 * (row * size + column)];
            pixel[0] = toByte(sum.r / samples);
            pixel[1] = toByte(sum.g / samples);
            pixel[2] = toByte(sum.b / samples);
            pixel[3] = 255;
        }
    }
    return image;
}
