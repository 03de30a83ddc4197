#include "tools/stable_math.h"

#include <cmath>

namespace {

// Taylor series on |x| <= pi/4, where twelve terms are well below double precision.
double sinSeries(double x) {
    double term = x;
    double sum = x;
    for (int n = 1; n < 12; ++n) {
        term = -term * x * x / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double cosSeries(double x) {
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n < 12; ++n) {
        term = -term * x * x / ((2.0 * n - 1.0) * (2.0 * n));
        sum += term;
    }
    return sum;
}

// The arc tangent for |x| <= 1: two half-angle steps bring x below tan(pi/16), where the
// series converges quickly. std::sqrt is correctly rounded, so it is safe to use.
double atanReduced(double x) {
    for (int halving = 0; halving < 2; ++halving) {
        x = x / (1.0 + std::sqrt(1.0 + x * x));
    }
    double power = x;
    double sum = x;
    for (int n = 1; n < 20; ++n) {
        power = -power * x * x;
        sum += power / (2.0 * n + 1.0);
    }
    return 4.0 * sum;
}

// x = turns * pi/2 + reduced, with |reduced| <= pi/4.
int quarterTurns(double x, double& reduced) {
    const double quarter = stablePi / 2.0;
    const double turns = std::nearbyint(x / quarter);
    reduced = x - turns * quarter;
    return static_cast<int>(static_cast<long long>(turns) & 3);
}

} // namespace

double stableSin(double x) {
    double reduced = 0.0;
    switch (quarterTurns(x, reduced)) {
    case 0:
        return sinSeries(reduced);
    case 1:
        return cosSeries(reduced);
    case 2:
        return -sinSeries(reduced);
    default:
        return -cosSeries(reduced);
    }
}

double stableCos(double x) {
    double reduced = 0.0;
    switch (quarterTurns(x, reduced)) {
    case 0:
        return cosSeries(reduced);
    case 1:
        return -sinSeries(reduced);
    case 2:
        return -cosSeries(reduced);
    default:
        return sinSeries(reduced);
    }
}

double stableAtan2(double y, double x) {
    if (x == 0.0 && y == 0.0) {
        return 0.0;
    }
    if (std::fabs(y) <= std::fabs(x)) {
        const double angle = atanReduced(y / x);
        if (x > 0.0) {
            return angle;
        }
        return y >= 0.0 ? angle + stablePi : angle - stablePi;
    }
    const double angle = stablePi / 2.0 - atanReduced(x / y);
    return y > 0.0 ? angle : angle - stablePi;
}
