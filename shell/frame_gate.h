#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

using GateClock = std::chrono::steady_clock;

// One refresh of a display running at the given frequency in hertz. 0 and 1 stand for the
// hardware's default rate, taken as 60 Hz.
GateClock::duration refreshPeriod(std::uint32_t frequency);

// Lets at most one frame through in each refresh period, and none while the display is off.
// The periods are slots on a fixed grid from the start: a frame taken late in its slot does not
// push the next one back, so a coarse timer still gives the display's rate on average, and a
// long pause earns no burst of frames to make up for it.
class FrameGate {
  public:
    FrameGate(GateClock::duration period, GateClock::time_point start);

    // Whether a frame asked for now may be drawn. If so, it takes the current slot, and every
    // further frame of that slot is refused.
    bool takeSlot(GateClock::time_point now);

    // How long until a frame may be drawn again; none while the display is off, since only news
    // of the display can change that.
    std::optional<GateClock::duration> timeToNextSlot(GateClock::time_point now) const;

    void setDisplayOn(bool on) { displayOn_ = on; }

  private:
    GateClock::duration period_;
    GateClock::time_point nextSlot_;
    bool displayOn_ = true;
};
