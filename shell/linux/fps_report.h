#pragma once

#include "shell/linux/draw_gate.h"
#include "shell/linux/frame_pacer.h"

#include <cstdint>
#include <cstdio>

// What --fps writes: the first frame, the rate once a second, and the frame count where drawing
// pauses because nobody could see it and where it resumes.
class FpsReport {
  public:
    // Writes to out; with none, only counts.
    FpsReport(std::FILE* out, PaceClock::time_point start) : out_(out), meter_(start) {}

    void frameDrawn(PaceClock::time_point now);
    void hiddenIs(Hidden hidden, PaceClock::time_point now);

  private:
    std::FILE* out_;
    FrameRateMeter meter_;
    std::uint64_t frames_ = 0;
    Hidden hidden_ = Hidden::No;
};
