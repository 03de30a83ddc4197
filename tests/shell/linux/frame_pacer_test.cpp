#include "shell/linux/frame_pacer.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;
const PaceClock::time_point start{std::chrono::seconds(100)};

TEST(FramePacerTest, SpacesFramesByThePeriod) {
    FramePacer pacer(50, start); // 20 ms apart
    EXPECT_TRUE(pacer.frameDue(start));
    pacer.frameStarted(start);
    EXPECT_FALSE(pacer.frameDue(start + milliseconds(19)));
    EXPECT_TRUE(pacer.frameDue(start + milliseconds(20)));
    // A frame that starts a little late keeps the schedule, so the average rate holds.
    pacer.frameStarted(start + milliseconds(23));
    EXPECT_EQ(pacer.nextFrame(), start + milliseconds(40));
}

TEST(FramePacerTest, ALateFrameMovesTheScheduleInsteadOfBursting) {
    FramePacer pacer(50, start);
    pacer.frameStarted(start);
    pacer.frameStarted(start + milliseconds(200));
    EXPECT_EQ(pacer.nextFrame(), start + milliseconds(200));
    pacer.frameStarted(start + milliseconds(200));
    EXPECT_EQ(pacer.nextFrame(), start + milliseconds(220));
}

TEST(FramePacerTest, NoCapMakesEveryFrameDueAtOnce) {
    FramePacer pacer(0, start);
    for (int frame = 0; frame < 3; ++frame) {
        pacer.frameStarted(start);
        EXPECT_TRUE(pacer.frameDue(start));
    }
}

TEST(FrameRateMeterTest, ReportsOncePerSecond) {
    FrameRateMeter meter(start);
    for (int frame = 1; frame < 30; ++frame) {
        EXPECT_FALSE(meter.frameDrawn(start + milliseconds(frame * 33)));
    }
    const auto rate = meter.frameDrawn(start + milliseconds(1000));
    ASSERT_TRUE(rate);
    EXPECT_DOUBLE_EQ(*rate, 30.0);
    // Counting starts again after a report.
    EXPECT_FALSE(meter.frameDrawn(start + milliseconds(1500)));
    const auto next = meter.frameDrawn(start + milliseconds(2000));
    ASSERT_TRUE(next);
    EXPECT_DOUBLE_EQ(*next, 2.0);
}

} // namespace
