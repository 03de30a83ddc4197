// A long run of the real renderer, headless: every render style for many frames at a small size,
// the turn started just short of the 32-bit wrap so that the angles and the wave's phase wrap
// during the run. Fails on an OpenGL error, on a turn that does not come out where 32-bit
// wrapping puts it, or on memory that grows by more than 1 MiB after the warm-up: the heap in use,
// and natively also the resident size. When memory grew too much it names the mappings that grew.
//
//   soak [FRAMES [STYLE]]   FRAMES per render style (default 500); STYLE (a "Rendermode" value)
//   runs
//                           only that one

#include "platform/render_output.h"
#include "render/frame.h"
#include "render/frame_state.h"
#include "render/gl.h"
#include "render/model.h"
#include "render/render_styles.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/headless/egl_context.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <span>
#include <sstream>
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
constexpr long reportedMappingGrowth = 64 * 1024;

int glErrors = 0;
long swaps = 0;

long residentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// What the heap has handed out and not had back.
long heapInUse() {
#ifdef __SANITIZE_ADDRESS__
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
#endif
}

struct MemoryUse {
    long resident = 0;
    long heap = 0;
};

MemoryUse memoryUse() {
    return {residentBytes(), heapInUse()};
}

// Under AddressSanitizer freed blocks wait in quarantine and keep the resident size growing for a
// long while, so only the heap is held to the bound there.
#ifdef __SANITIZE_ADDRESS__
constexpr bool residentBounded = false;
#else
constexpr bool residentBounded = true;
#endif

// Resident bytes of each mapping, keyed by where it starts (a growing heap keeps its start), its
// access and its file.
std::map<std::string, long> residentByMapping() {
    std::map<std::string, long> resident;
    std::ifstream smaps("/proc/self/smaps");
    std::string mapping;
    for (std::string line; std::getline(smaps, line);) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first == "Rss:") {
            long kib = 0;
            fields >> kib;
            resident[mapping] += kib * 1024;
        } else if (!first.empty() && first.back() != ':') {
            std::string access, offset, device, inode, file;
            fields >> access >> offset >> device >> inode >> file;
            mapping = first.substr(0, first.find('-')) + " " + access + " " +
                      (file.empty() ? "(anonymous)" : file);
        }
    }
    return resident;
}

void reportGrownMappings(const std::map<std::string, long>& before) {
    for (const auto& [mapping, bytes] : residentByMapping()) {
        const auto old = before.find(mapping);
        const long growth = bytes - (old == before.end() ? 0 : old->second);
        if (growth >= reportedMappingGrowth) {
            std::printf("    resident grew %ld KiB in %s\n", growth / 1024, mapping.c_str());
        }
    }
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
    const long frames = argc > 1 ? std::atol(argv[1]) : 500;
    if (frames <= 100) {
        std::fprintf(stderr, "soak: need more than 100 frames per style, got %ld\n", frames);
        return 2;
    }
    const long warmUp = std::max(frames / 10, 100L);
    std::span<const RenderStyle> styles = renderStyles;
    if (argc > 2) {
        const std::string given = argv[2];
        const RenderStyle* style = nullptr;
        for (const RenderStyle& candidate : renderStyles) {
            if (given == std::to_string(candidate.value)) {
                style = &candidate;
            }
        }
        if (style == nullptr) {
            std::fprintf(stderr, "soak: no render style %s\n", argv[2]);
            return 2;
        }
        styles = {style, 1};
    }

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
    for (const RenderStyle& style : styles) {
        saverSettings.renderMode = style.value;
        // Both angles wrap half way through; the phase, four times their sum, wraps many times.
        const FrameAngles start{static_cast<std::int32_t>(INT32_MAX - frames),
                                static_cast<std::int32_t>(INT32_MAX - frames / 2)};
        setFrameAngles(start);
        const long swapsBefore = swaps;

        MemoryUse afterWarmUp;
        MemoryUse highest;
        std::map<std::string, long> mappingsAfterWarmUp;
        for (long frame = 0; frame < frames; ++frame) {
            drawFrame();
            if (frame + 1 == warmUp) {
                afterWarmUp = memoryUse();
                mappingsAfterWarmUp = residentByMapping();
            } else if (frame + 1 > warmUp && (frame % 1000 == 0 || frame + 1 == frames)) {
                const MemoryUse now = memoryUse();
                highest.resident = std::max(highest.resident, now.resident);
                highest.heap = std::max(highest.heap, now.heap);
            }
            if ((frame + 1) % progressEvery == 0) {
                const MemoryUse now = memoryUse();
                std::printf("  %s: %ld frames, resident %ld KiB, heap in use %ld KiB\n",
                            style.label.data(), frame + 1, now.resident / 1024, now.heap / 1024);
                std::fflush(stdout);
            }
        }
        const FrameAngles end = frameAngles();
        const bool turnRight = end.angleX == wrapped(start.angleX, frames, 2) &&
                               end.angleY == wrapped(start.angleY, frames, 1);
        const long residentGrowth = highest.resident - afterWarmUp.resident;
        const long heapGrowth = highest.heap - afterWarmUp.heap;
        const bool memoryBounded =
            heapGrowth <= allowedGrowth && (!residentBounded || residentGrowth <= allowedGrowth);
        const bool ok = turnRight && memoryBounded && swaps - swapsBefore == frames;
        std::printf(
            "%-15s %ld frames: resident %ld KiB after warm-up, highest %ld KiB (%+ld KiB%s); "
            "heap in use %ld KiB, highest %ld KiB (%+ld KiB); turn %s\n",
            style.label.data(), frames, afterWarmUp.resident / 1024, highest.resident / 1024,
            residentGrowth / 1024, residentBounded ? "" : ", not bounded here",
            afterWarmUp.heap / 1024, highest.heap / 1024, heapGrowth / 1024,
            turnRight ? "wrapped as expected" : "WRONG");
        if (!memoryBounded) {
            std::printf("  more than %ld KiB of growth\n", allowedGrowth / 1024);
            reportGrownMappings(mappingsAfterWarmUp);
        }
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
