// A long run of the real renderer, headless: every render style for many frames at a small size,
// the turn started just short of the 32-bit wrap so that the angles and the wave's phase wrap
// during the run. Fails on an OpenGL error, on a turn that does not come out where 32-bit
// wrapping puts it, or on resident memory that grows by more than 1 MiB after the warm-up.
//
//   soak [FRAMES]   frames per render style; QUILLMESH_SOAK_FRAMES overrides (nightly: 200000)

#include "platform/render_output.h"
#include "render/frame.h"
#include "render/frame_state.h"
#include "render/gl.h"
#include "render/model.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/headless/egl_context.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#ifdef __SANITIZE_ADDRESS__
// From the AddressSanitizer runtime (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int width = 64;
constexpr int height = 48;
constexpr long allowedGrowth = 1024 * 1024;
constexpr long progressEvery = 10000;

int glErrors = 0;
long swaps = 0;

long residentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Under AddressSanitizer freed blocks wait in quarantine and keep the resident size growing for a
// long while, so the live heap is what is watched there.
long watchedBytes() {
#ifdef __SANITIZE_ADDRESS__
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return residentBytes();
#endif
}

#ifdef __SANITIZE_ADDRESS__
constexpr const char* watchedName = "live heap";
#else
constexpr const char* watchedName = "resident";
#endif

long framesPerStyle(int argc, char** argv) {
    if (const char* text = std::getenv("QUILLMESH_SOAK_FRAMES"); text != nullptr && *text != '\0') {
        return std::atol(text);
    }
    return argc > 1 ? std::atol(argv[1]) : 500;
}

// Where 32-bit wrapping puts a turn after the given number of steps.
std::int32_t wrapped(std::int32_t start, long steps, std::uint32_t step) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(start) +
                                     static_cast<std::uint32_t>(steps) * step);
}

} // namespace

// As the Linux program's headless output does: the pbuffer has no back buffer to show, but the
// frame's commands must reach the rasterizer.
void swapFrameBuffers() {
    glFinish();
    ++swaps;
}

void askToAbort(WindowHandle, const char* caption) {
    ++glErrors;
    std::fprintf(stderr, "soak: OpenGL error: %s\n", caption);
}

int main(int argc, char** argv) {
    const long frames = framesPerStyle(argc, argv);
    if (frames <= 100) {
        std::fprintf(stderr, "soak: need more than 100 frames per style, got %ld\n", frames);
        return 2;
    }
    const long warmUp = std::max(frames / 10, 100L);

    saverSettings = defaultSettings;
    saverSettings.resolutionX = width;
    saverSettings.resolutionY = height;
    HeadlessGlContext context(width, height);
    if (!context.ready()) {
        std::fprintf(stderr, "soak: no headless OpenGL: %s\n", context.error().c_str());
        return 1;
    }
    setupScene();

    bool failed = false;
    const char* styles[] = {"Wireframe", "Dotted", "Texture Mapping", "All of them"};
    for (int style = 0; style < 4; ++style) {
        saverSettings.renderMode = style;
        // Both angles wrap half way through; the phase, four times their sum, wraps many times.
        const FrameAngles start{static_cast<std::int32_t>(INT32_MAX - frames),
                                static_cast<std::int32_t>(INT32_MAX - frames / 2)};
        setFrameAngles(start);
        const long swapsBefore = swaps;

        long afterWarmUp = 0;
        long highest = 0;
        for (long frame = 0; frame < frames; ++frame) {
            drawFrame();
            if (frame + 1 == warmUp) {
                afterWarmUp = watchedBytes();
            } else if (frame + 1 > warmUp && (frame % 1000 == 0 || frame + 1 == frames)) {
                highest = std::max(highest, watchedBytes());
            }
            if ((frame + 1) % progressEvery == 0) {
                std::printf("  %s: %ld frames, %s %ld KiB, resident %ld KiB\n", styles[style],
                            frame + 1, watchedName, watchedBytes() / 1024, residentBytes() / 1024);
                std::fflush(stdout);
            }
        }
        const FrameAngles end = frameAngles();
        const bool turnRight = end.angleX == wrapped(start.angleX, frames, 2) &&
                               end.angleY == wrapped(start.angleY, frames, 1);
        const long growth = highest - afterWarmUp;
        const bool ok = turnRight && growth <= allowedGrowth && swaps - swapsBefore == frames;
        std::printf("%-15s %ld frames: %s after warm-up %ld KiB, highest %ld KiB, "
                    "growth %ld KiB; turn %s\n",
                    styles[style], frames, watchedName, afterWarmUp / 1024, highest / 1024,
                    growth / 1024, turnRight ? "wrapped as expected" : "WRONG");
        std::fflush(stdout);
        failed |= !ok;
    }
    // A run keeps its model until the process ends; here it goes first, so that the leak check at
    // exit sees only what the frames may have lost.
    for (Model* model : modelList) {
        delete model;
    }
    modelList.clear();

    if (glErrors != 0) {
        std::printf("%d OpenGL errors\n", glErrors);
        failed = true;
    }
    std::printf("soak %s\n", failed ? "FAILED" : "passed");
    return failed ? 1 : 0;
}
