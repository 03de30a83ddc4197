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

    std::optional<double> frameDrawn(PaceClock::time_point now);

  private:
    PaceClock::time_point windowStart_;
    int frames_ = 0;
};

// What --fps prints on standard error: the first frame, then the rate once a second.
class FrameReport {
  public:
    FrameReport(bool enabled, PaceClock::time_point start) : enabled_(enabled), meter_(start) {}

    void frameDrawn(PaceClock::time_point now);

  private:
    bool enabled_;
    bool firstFrame_ = true;
    FrameRateMeter meter_;
};
