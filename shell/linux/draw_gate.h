#pragma once

#include "shell/linux/frame_pacer.h"

#include <optional>

// What keeps a frame from being seen.
enum class Hidden {
    No,
    NotViewable,   // the window, or one of the windows it lies in, is unmapped
    Covered,       // other windows cover all of it
    DisplayAsleep, // the display is in standby, suspended or off
};

// "The window is covered", for the --fps report.
const char* describe(Hidden hidden);

// Whether a frame now would be seen, from what the window system says. Window changes are
// announced; the display's power is only known by asking, so the gate also says when to ask: at
// most once a second, and only while nothing else hides the frame.
class DrawGate {
  public:
    // Without a way to ask (no DPMS), the display counts as awake.
    explicit DrawGate(bool displayPowerKnown) : displayPowerKnown_(displayPowerKnown) {}

    void setViewable(bool viewable) { viewable_ = viewable; }
    void setCovered(bool covered) { covered_ = covered; }

    std::optional<PaceClock::time_point> nextPowerCheck() const;
    bool powerCheckDue(PaceClock::time_point now) const;
    void setDisplayAsleep(bool asleep, PaceClock::time_point now);

    Hidden hidden() const;

  private:
    bool displayPowerKnown_;
    bool viewable_ = false; // until the window system says otherwise
    bool covered_ = false;
    bool displayAsleep_ = false;
    PaceClock::time_point nextPowerCheck_ = PaceClock::time_point::min();
};
