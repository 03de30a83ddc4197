#pragma once

// Sine, cosine and arc tangent from plain arithmetic, so that the generated resources come out
// bit for bit the same whatever maths library the build machine has.

double stableSin(double x);
double stableCos(double x);
double stableAtan2(double y, double x);

inline constexpr double stablePi = 3.14159265358979323846;
