#include "shell/linux/fps_report.h"

void FpsReport::frameDrawn(PaceClock::time_point now) {
    ++frames_;
    const auto rate = meter_.frameDrawn(now);
    if (out_ == nullptr) {
        return;
    }
    if (frames_ == 1) {
        std::fputs("quillmesh: first frame drawn\n", out_);
    }
    if (rate) {
        std::fprintf(out_, "quillmesh: %.1f fps\n", *rate);
    }
}

void FpsReport::hiddenIs(Hidden hidden, PaceClock::time_point now) {
    if (hidden == hidden_) {
        return;
    }
    const bool pausing = hidden_ == Hidden::No;
    hidden_ = hidden;
    meter_.restart(now);
    // Before the first frame there is nothing to pause.
    if (out_ == nullptr || frames_ == 0) {
        return;
    }
    const auto frames = static_cast<unsigned long long>(frames_);
    if (pausing) {
        std::fprintf(out_, "quillmesh: paused after %llu frames: %s\n", frames, describe(hidden));
    } else if (hidden == Hidden::No) {
        std::fprintf(out_, "quillmesh: resumed after %llu frames\n", frames);
    }
}
