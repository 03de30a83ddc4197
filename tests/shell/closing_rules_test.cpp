#include "shell/closing_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace {

struct Travel {
    CursorPosition start;
    CursorPosition now;
    std::int32_t threshold;
    bool beyond;
};

std::ostream& operator<<(std::ostream& out, const Travel& t) {
    return out << '(' << t.start.x << ',' << t.start.y << ")->(" << t.now.x << ',' << t.now.y
               << ") threshold " << t.threshold;
}

class TravelTest : public testing::TestWithParam<Travel> {};

TEST_P(TravelTest, CountsEachAxisOnItsOwnAndStrictlyBeyond) {
    const Travel& t = GetParam();
    EXPECT_EQ(travelBeyondThreshold(t.start, t.now, t.threshold), t.beyond);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, TravelTest,
    testing::Values(
        Travel{{100, 100}, {150, 100}, 50, false}, Travel{{100, 100}, {151, 100}, 50, true},
        Travel{{100, 100}, {49, 100}, 50, true}, Travel{{100, 100}, {100, 150}, 50, false},
        Travel{{100, 100}, {100, 151}, 50, true}, Travel{{100, 100}, {100, 49}, 50, true},
        // A diagonal of 50 by 50 stays within the default threshold.
        Travel{{100, 100}, {150, 150}, 50, false}, Travel{{100, 100}, {100, 100}, 0, false},
        Travel{{100, 100}, {101, 100}, 0, true},
        // A negative threshold makes every position count.
        Travel{{100, 100}, {100, 100}, -1, true}, Travel{{INT_MIN, 0}, {INT_MAX, 0}, INT_MAX, true},
        Travel{{INT_MAX, 0}, {INT_MIN, 0}, 50, true}));

struct Delay {
    std::uint32_t now;
    std::uint32_t start;
    std::int32_t seconds;
    bool within;
};

std::ostream& operator<<(std::ostream& out, const Delay& d) {
    return out << "now " << d.now << " start " << d.start << " delay " << d.seconds;
}

class PasswordDelayTest : public testing::TestWithParam<Delay> {};

TEST_P(PasswordDelayTest, ComparesElapsedTicksModulo2To32) {
    const Delay& d = GetParam();
    EXPECT_EQ(withinPasswordDelay(d.now, d.start, d.seconds), d.within);
}

INSTANTIATE_TEST_SUITE_P(Ticks, PasswordDelayTest,
                         testing::Values(Delay{1000, 1000, 15, true}, Delay{16000, 1000, 15, true},
                                         Delay{16001, 1000, 15, false},
                                         // The delay 0 asks for the password from the next tick on.
                                         Delay{5000, 5000, 0, true}, Delay{5001, 5000, 0, false},
                                         // -1 s is 2^32 - 1000 ms: in practice never.
                                         Delay{4294966296u, 0, -1, true},
                                         Delay{4294966297u, 0, -1, false},
                                         Delay{3000000000u, 1000, -1, true},
                                         // The tick counter wraps around between start and now.
                                         Delay{500, 4294967000u, 15, true},
                                         Delay{14000, 4294967000u, 15, true},
                                         Delay{20000, 4294967000u, 15, false}));

} // namespace
