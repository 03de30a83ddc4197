#include "shell/linux/fullscreen_closing.h"
#include "shell/wayland/pointer_travel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// One batch of events, as one read from the compositor brings them.
using Batch = std::function<void(PointerTravel&)>;

Batch at(std::int32_t x, std::int32_t y) {
    return [=](PointerTravel& travel) { travel.positionAt({x, y}); };
}
Batch back(std::int32_t x, std::int32_t y) {
    return [=](PointerTravel& travel) { travel.reenteredAt({x, y}); };
}
Batch by(double dx, double dy) {
    return [=](PointerTravel& travel) { travel.movedBy(dx, dy); };
}
Batch both(Batch first, Batch second) {
    return [=](PointerTravel& travel) {
        first(travel);
        second(travel);
    };
}

struct Events {
    std::string name;
    std::vector<Batch> batches;
    bool closed; // by the closing rules, with a threshold of 50
};

TEST(PointerTravel, OnlyMovementCountsAndRelativeMotionWinsOverPositions) {
    const Events runs[] = {
        {"a skewed enter, then a nudge of 1 px",
         {at(324, 248), both(by(1, 0), at(419, 316))},
         false},
        {"the same with the position first in its batch",
         {at(324, 248), both(at(419, 316), by(1, 0))},
         false},
        {"51 px summed along x", {at(400, 300), by(30, 0), by(21, 0)}, true},
        {"50 px along both axes", {at(400, 300), by(-50, 20), by(0, 30)}, false},
        {"a fraction past the threshold", {at(400, 300), by(0, -50.25)}, true},
        {"there and back is no travel", {at(400, 300), by(40, 0), by(-40, 0), by(40, 0)}, false},
        {"a re-enter far away after relative motion",
         {at(400, 300), by(1, 0), at(1500, 300)},
         false},
        {"without relative motion, positions count", {at(400, 300), at(451, 300)}, true},
        {"an enter onto another output counts there too",
         {at(1270, 300), at(1290, 300), at(1321, 300)},
         true},
        {"back on the surface it left, elsewhere (an animation), is no travel",
         {at(288, 216), back(359, 269), at(360, 269)},
         false},
        {"but the motion after it is", {at(288, 216), back(359, 269), at(359, 320)}, true},
        {"positions after relative motion no longer count",
         {at(400, 300), by(1, 0), at(500, 300), at(600, 300)},
         false},
    };
    for (const Events& run : runs) {
        PointerTravel travel;
        FullScreenClosing closing(50);
        for (const Batch& batch : run.batches) {
            batch(travel);
            if (const auto position = travel.batchEnded()) {
                closing.pointerAt(*position);
            }
        }
        EXPECT_EQ(closing.closed(), run.closed) << run.name;
    }
}

TEST(PointerTravel, AQuietBatchReportsNothing) {
    PointerTravel travel;
    travel.positionAt({1, 2});
    EXPECT_TRUE(travel.batchEnded().has_value());
    EXPECT_FALSE(travel.batchEnded().has_value());
}

} // namespace
