#pragma once

#include <chrono>
#include <optional>

using PaceClock = std::chrono::steady_clock;

// Spaces frames evenly at a frame-rate cap. A late frame moves the schedule instead of being made
// up for with a burst of frames.
class FramePacer {
  public:
    // maxFps 0 means no cap: every frame is due at once.
    FramePacer(int maxFps, PaceClock::time_point start);

    bool frameDue(PaceClock::time_point now) const { return now >= nextFrame_; }
    PaceClock::time_point nextFrame() const { return nextFrame_; }

    // Called as a frame starts.
    void frameStarted(PaceClock::time_point now);

  private:
    PaceClock::duration period_;
    PaceClock::time_point nextFrame_;
};

// Counts frames and yields the rate once per second.
class FrameRateMeter {
  public:
    explicit FrameRateMeter(PaceClock::time_point start) : windowStart_(start) {}

    // Counts afresh from now, so that a time without frames (a pause) does not lower the rate.
    void restart(PaceClock::time_point now) {
        windowStart_ = now;
        frames_ = 0;
    }

    std::optional<double> frameDrawn(PaceClock::time_point now);

  private:
    PaceClock::time_point windowStart_;
    int frames_ = 0;
};
