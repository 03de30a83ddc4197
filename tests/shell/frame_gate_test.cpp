#include "shell/frame_gate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

using std::chrono::nanoseconds;
const GateClock::time_point start{std::chrono::seconds(100)};
const GateClock::duration period = std::chrono::milliseconds(20);

TEST(FrameGateTest, PeriodFollowsTheFrequencyWithTheHardwareDefaultAs60Hz) {
    struct Row {
        std::uint32_t frequency;
        std::int64_t nanoseconds;
    };
    for (const Row& row : {Row{0, 16'666'666}, Row{1, 16'666'666}, Row{59, 16'949'152},
                           Row{60, 16'666'666}, Row{144, 6'944'444}, Row{0xFFFFFFFF, 1}}) {
        EXPECT_EQ(refreshPeriod(row.frequency), nanoseconds(row.nanoseconds)) << row.frequency;
    }
}

// What a tick at each time gets, one after the other, with the wait the loop is then given.
TEST(FrameGateTest, LetsOneFrameThroughInEachSlotOfTheGrid) {
    struct Tick {
        GateClock::duration at;
        bool drawn;
        GateClock::duration wait;
    };
    FrameGate gate(period, start);
    for (const Tick& tick : {
             Tick{{}, true, period},
             Tick{period / 2, false, period / 2}, // too early: nothing
             Tick{period - nanoseconds(1), false, nanoseconds(1)},
             Tick{period * 3 / 2, true, period / 2}, // late: the grid stays
             Tick{period * 2 - nanoseconds(1), false, nanoseconds(1)},
             Tick{period * 1000 + period / 4, true, period * 3 / 4}, // a pause: no burst after
             Tick{period * 1000 + period / 2, false, period / 2},
         }) {
        const auto now = start + tick.at;
        EXPECT_EQ(gate.takeSlot(now), tick.drawn) << tick.at.count();
        EXPECT_EQ(gate.timeToNextSlot(now), std::optional(tick.wait)) << tick.at.count();
    }
}

TEST(FrameGateTest, DisplayOffLetsNothingThroughAndNeedsNoWakingUntilItIsOn) {
    FrameGate gate(period, start);
    gate.setDisplayOn(false);
    for (const auto at : {GateClock::duration{}, period * 5}) {
        EXPECT_FALSE(gate.takeSlot(start + at));
        EXPECT_EQ(gate.timeToNextSlot(start + at), std::nullopt);
    }
    gate.setDisplayOn(true);
    EXPECT_EQ(gate.timeToNextSlot(start + period * 5), GateClock::duration::zero());
    EXPECT_TRUE(gate.takeSlot(start + period * 5));
    EXPECT_FALSE(gate.takeSlot(start + period * 5));
}

} // namespace
