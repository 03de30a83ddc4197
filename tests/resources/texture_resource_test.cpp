// The committed texture: a bright flame burst on black, darkest towards the corners.
#include "platform/resources.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr int side = 256;

double brightness(const std::uint8_t* texel) {
    return (texel[0] + texel[1] + texel[2]) / 3.0;
}

std::array<double, 3> meanColour(int left, int top, int size) {
    const std::uint8_t* texels = findResourceBytes(textureResourceId).data;
    std::array<double, 3> sum{};
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                sum[channel] += texels[3 * (y * side + x) + channel];
            }
        }
    }
    for (double& channel : sum) {
        channel /= size * size;
    }
    return sum;
}

TEST(TextureResourceTest, Holds256By256RgbTexels) {
    const ResourceBytes texture = findResourceBytes(textureResourceId);
    ASSERT_NE(texture.data, nullptr);
    EXPECT_EQ(texture.size, 196608u);
}

TEST(TextureResourceTest, MeanColourIsYellowOrangeWithAlmostNoBlue) {
    const std::array<double, 3> mean = meanColour(0, 0, side);
    EXPECT_NEAR(mean[0], 190.0, 10.0);
    EXPECT_NEAR(mean[1], 165.0, 10.0);
    EXPECT_NEAR(mean[2], 7.0, 5.0);
}

TEST(TextureResourceTest, CornersAreDarkAndTheCentreBright) {
    for (const auto& [left, top] : {std::pair{0, 0}, {240, 0}, {0, 240}, {240, 240}}) {
        const std::array<double, 3> corner = meanColour(left, top, 16);
        EXPECT_LT(corner[0] + corner[1] + corner[2], 30.0) << left << "," << top;
    }
    const std::array<double, 3> centre = meanColour(112, 112, 32);
    EXPECT_GT(centre[0], 250.0);
    EXPECT_GT(centre[1], 220.0);
}

// Mean brightness over bands of equal distance from the centre falls from band to band.
TEST(TextureResourceTest, DarkensFromTheCentreOutward) {
    const std::uint8_t* texels = findResourceBytes(textureResourceId).data;
    constexpr int bandCount = 6;
    std::array<double, bandCount> sum{};
    std::array<int, bandCount> count{};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double dx = x + 0.5 - side / 2.0;
            const double dy = y + 0.5 - side / 2.0;
            const int band =
                static_cast<int>(std::sqrt(dx * dx + dy * dy) / (side * 0.7072) * bandCount);
            sum[band] += brightness(&texels[3 * (y * side + x)]);
            ++count[band];
        }
    }
    for (int band = 1; band < bandCount; ++band) {
        EXPECT_LT(sum[band] / count[band], sum[band - 1] / count[band - 1]) << "band " << band;
    }
    EXPECT_LT(sum[bandCount - 1] / count[bandCount - 1], 20.0);
}

} // namespace
