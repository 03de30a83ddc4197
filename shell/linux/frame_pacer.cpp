#include "shell/linux/frame_pacer.h"

#include <cstdio>

FramePacer::FramePacer(int maxFps, PaceClock::time_point start)
    : period_(maxFps > 0 ? std::chrono::duration_cast<PaceClock::duration>(
                               std::chrono::duration<double>(1.0 / maxFps))
                         : PaceClock::duration::zero()),
      nextFrame_(start) {}

void FramePacer::frameStarted(PaceClock::time_point now) {
    nextFrame_ += period_;
    if (nextFrame_ < now) {
        nextFrame_ = now;
    }
}

std::optional<double> FrameRateMeter::frameDrawn(PaceClock::time_point now) {
    ++frames_;
    const std::chrono::duration<double> elapsed = now - windowStart_;
    if (elapsed < std::chrono::seconds(1)) {
        return std::nullopt;
    }
    const double rate = frames_ / elapsed.count();
    frames_ = 0;
    windowStart_ = now;
    return rate;
}

void FrameReport::frameDrawn(PaceClock::time_point now) {
    if (!enabled_) {
        return;
    }
    if (firstFrame_) {
        std::fputs("quillmesh: first frame drawn\n", stderr);
        firstFrame_ = false;
    }
    if (const auto rate = meter_.frameDrawn(now)) {
        std::fprintf(stderr, "quillmesh: %.1f fps\n", *rate);
    }
}
