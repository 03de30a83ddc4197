#include "shell/frame_gate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

using std::chrono::nanoseconds;

TEST(FrameGateTest, PeriodFollowsTheFrequencyWithTheHardwareDefaultAs60Hz) {
    // The last, from a broken driver, still moves the slots on.
    const std::uint32_t frequencies[] = {0, 1, 59, 60, 144, 0xFFFFFFFF};
    const std::int64_t periods[] = {16'666'666, 16'666'666, 16'949'152, 16'666'666, 6'944'444, 1};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(refreshPeriod(frequencies[row]), nanoseconds(periods[row])) << frequencies[row];
    }
}

// Ticks one after the other, what each gets, and the wait the loop is then given.
TEST(FrameGateTest, OneFrameASlotOfTheGridAndNoneWhileTheDisplayIsOff) {
    const GateClock::duration period = std::chrono::milliseconds(20);
    const GateClock::time_point start{std::chrono::seconds(100)};
    struct Tick {
        GateClock::duration at;
        bool displayOn, drawn;
        std::optional<GateClock::duration> wait;
    };
    FrameGate gate(period, start);
    for (const Tick& tick : {
             Tick{{}, true, true, period},
             Tick{period - nanoseconds(1), true, false, nanoseconds(1)}, // early: nothing
             Tick{period * 3 / 2, true, true, period / 2},               // late: the grid stays
             Tick{period * 2 - nanoseconds(1), true, false, nanoseconds(1)},
             Tick{period * 9, false, false, std::nullopt}, // off: only a message wakes the loop
             Tick{period * 1000 + period / 4, true, true, period * 3 / 4}, // on: no burst
             Tick{period * 1000 + period / 2, true, false, period / 2},
         }) {
        gate.setDisplayOn(tick.displayOn);
        EXPECT_EQ(gate.takeSlot(start + tick.at), tick.drawn) << tick.at.count();
        EXPECT_EQ(gate.timeToNextSlot(start + tick.at), tick.wait) << tick.at.count();
    }
}

} // namespace
