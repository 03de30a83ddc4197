#include "shell/wayland/surface_scale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Scaled {
    std::string name;
    FrameSize logical;
    std::uint32_t scale;
    FrameSize buffer;
};

TEST(BufferSize, LogicalSizeTimesTheScaleRoundedHalfAwayFromZero) {
    const Scaled cases[] = {
        {"scale 1", {800, 600}, 120, {800, 600}},
        {"integer scale 2", {1024, 768}, 240, {2048, 1536}},
        {"a window of Resolution 800x600 at scale 3", {800, 600}, 360, {2400, 1800}},
        {"1.5: a half rounds up", {101, 1}, 180, {152, 2}},
        {"1.25: a quarter rounds down", {1001, 3}, 150, {1251, 4}},
        {"1.75 of 1366x768", {1366, 768}, 210, {2391, 1344}},
        {"the largest window at scale 4 does not overflow", {16384, 16384}, 480, {65536, 65536}},
    };
    for (const Scaled& scaled : cases) {
        EXPECT_EQ(bufferSize(scaled.logical, scaled.scale), scaled.buffer) << scaled.name;
    }
}

TEST(IntegerScale, TheLargestOfTheOutputsElseTheOneItHad) {
    EXPECT_EQ(integerScale(std::vector<std::int32_t>{1, 2}, 1), 2);
    EXPECT_EQ(integerScale(std::vector<std::int32_t>{2, 1}, 3), 2);
    EXPECT_EQ(integerScale({}, 2), 2);
    EXPECT_EQ(integerScale(std::vector<std::int32_t>{0}, 2), 1);
}

} // namespace
