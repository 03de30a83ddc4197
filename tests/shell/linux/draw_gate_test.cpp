#include "shell/linux/draw_gate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using std::chrono::milliseconds;
const PaceClock::time_point start{std::chrono::seconds(100)};

struct Facts {
    std::string name;
    bool viewable;
    bool covered;
    bool asleep;
    Hidden hidden;
};

TEST(DrawGate, HidesWhileNotViewableCoveredOrAsleep) {
    EXPECT_EQ(DrawGate(true).hidden(), Hidden::NotViewable) << "until told otherwise";
    const Facts runs[] = {
        {"viewable, uncovered, awake", true, false, false, Hidden::No},
        {"not viewable", false, false, false, Hidden::NotViewable},
        {"not viewable says more than covered", false, true, false, Hidden::NotViewable},
        {"covered", true, true, false, Hidden::Covered},
        {"asleep", true, false, true, Hidden::DisplayAsleep},
    };
    for (const Facts& run : runs) {
        DrawGate gate(true);
        gate.setViewable(run.viewable);
        gate.setCovered(run.covered);
        gate.setDisplayAsleep(run.asleep, start);
        EXPECT_EQ(gate.hidden(), run.hidden) << run.name;
    }
}

TEST(DrawGate, WithoutDpmsTheDisplayIsNeverAskedNorAsleep) {
    DrawGate gate(false);
    gate.setViewable(true);
    EXPECT_FALSE(gate.nextPowerCheck());
    gate.setDisplayAsleep(true, start);
    EXPECT_EQ(gate.hidden(), Hidden::No);
}

TEST(DrawGate, AsksForThePowerAtMostOnceASecondAndOnlyWhileItDecides) {
    DrawGate gate(true);
    EXPECT_FALSE(gate.nextPowerCheck()) << "not viewable: only events can change that";
    gate.setViewable(true);
    EXPECT_TRUE(gate.powerCheckDue(start)) << "at once, the first time";
    gate.setDisplayAsleep(true, start);
    EXPECT_FALSE(gate.powerCheckDue(start + milliseconds(999)));
    EXPECT_TRUE(gate.powerCheckDue(start + milliseconds(1000)));
    gate.setCovered(true);
    EXPECT_FALSE(gate.nextPowerCheck());
    gate.setCovered(false);
    EXPECT_EQ(gate.nextPowerCheck(), start + milliseconds(1000));
}

} // namespace
