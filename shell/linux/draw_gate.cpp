#include "shell/linux/draw_gate.h"

#include <chrono>

const char* describe(Hidden hidden) {
    switch (hidden) {
    case Hidden::NotViewable:
        return "the window is not viewable";
    case Hidden::Covered:
        return "the window is covered";
    case Hidden::DisplayAsleep:
        return "the display is asleep";
    case Hidden::No:
        break;
    }
    return "nothing hides the window";
}

std::optional<PaceClock::time_point> DrawGate::nextPowerCheck() const {
    if (!displayPowerKnown_ || !viewable_ || covered_) {
        return std::nullopt;
    }
    return nextPowerCheck_;
}

bool DrawGate::powerCheckDue(PaceClock::time_point now) const {
    const auto next = nextPowerCheck();
    return next && now >= *next;
}

void DrawGate::setDisplayAsleep(bool asleep, PaceClock::time_point now) {
    displayAsleep_ = asleep;
    nextPowerCheck_ = now + std::chrono::seconds(1);
}

Hidden DrawGate::hidden() const {
    if (!viewable_) {
        return Hidden::NotViewable;
    }
    if (covered_) {
        return Hidden::Covered;
    }
    return displayPowerKnown_ && displayAsleep_ ? Hidden::DisplayAsleep : Hidden::No;
}
