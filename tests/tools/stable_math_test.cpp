#include "tools/stable_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Within a few units in the last place: the reduction by an inexact pi/2 costs a little.
TEST(StableMathTest, SineAndCosineAgreeWithTheLibraryOverSeveralTurns) {
    for (int step = -400; step <= 400; ++step) {
        const double x = step * 0.0471;
        EXPECT_NEAR(stableSin(x), std::sin(x), 4e-15) << x;
        EXPECT_NEAR(stableCos(x), std::cos(x), 4e-15) << x;
    }
}

TEST(StableMathTest, ArcTangentCoversEveryQuadrant) {
    for (int step = 0; step < 360; ++step) {
        const double angle = (step - 179.5) * stablePi / 180.0;
        for (double radius : {1e-3, 1.0, 250.0}) {
            const double y = radius * std::sin(angle);
            const double x = radius * std::cos(angle);
            EXPECT_NEAR(stableAtan2(y, x), std::atan2(y, x), 1e-14) << y << "," << x;
        }
    }
    EXPECT_DOUBLE_EQ(stableAtan2(1.0, 0.0), stablePi / 2);
    EXPECT_DOUBLE_EQ(stableAtan2(-1.0, 0.0), -stablePi / 2);
    EXPECT_DOUBLE_EQ(stableAtan2(0.0, -1.0), stablePi);
}

} // namespace
