#include "shell/frame_gate.h"

#include <algorithm>

namespace {

constexpr std::uint32_t defaultFrequency = 60;

} // namespace

GateClock::duration refreshPeriod(std::uint32_t frequency) {
    if (frequency <= 1) {
        frequency = defaultFrequency;
    }
    // Never zero, whatever a driver reports: the slots must move on.
    const GateClock::duration period = std::chrono::seconds(1);
    return std::max(period / frequency, GateClock::duration(1));
}

FrameGate::FrameGate(GateClock::duration period, GateClock::time_point start)
    : period_(period), nextSlot_(start) {}

bool FrameGate::takeSlot(GateClock::time_point now) {
    if (!displayOn_ || now < nextSlot_) {
        return false;
    }
    // The slot after the one that now lies in.
    nextSlot_ += period_ * ((now - nextSlot_) / period_ + 1);
    return true;
}

std::optional<GateClock::duration> FrameGate::timeToNextSlot(GateClock::time_point now) const {
    if (!displayOn_) {
        return std::nullopt;
    }
    return now < nextSlot_ ? nextSlot_ - now : GateClock::duration::zero();
}
