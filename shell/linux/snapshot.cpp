#include "shell/linux/snapshot.h"

#include "render/frame.h"
#include "render/scene.h"
#include "shell/headless/egl_context.h"
#include "shell/headless/frame_pixels.h"
#include "shell/headless/png_writer.h"
#include "shell/linux/render_output.h"
#include "shell/linux/termination_signals.h"

#include <cstdio>

int renderSnapshot(const Options& options) {
    const FrameSize size = options.snapshotSize.value_or(
        FrameSize{saverSettings.resolutionX, saverSettings.resolutionY});
    if (size.width < 1 || size.height < 1 || size.width > largestWindowSide ||
        size.height > largestWindowSide) {
        std::fprintf(stderr,
                     "quillmesh: the stored resolution %dx%d cannot be a picture size; give "
                     "--size WIDTHxHEIGHT\n",
                     size.width, size.height);
        return 1;
    }
    saverSettings.resolutionX = size.width;
    saverSettings.resolutionY = size.height;

    HeadlessGlContext context(size.width, size.height);
    if (!context.ready()) {
        std::fprintf(stderr, "quillmesh: no headless OpenGL: %s\n", context.error().c_str());
        return 1;
    }
    presentWith(nullptr);
    setupScene();
    for (int frame = 0; frame < options.snapshotFrame; ++frame) {
        if (terminationRequested()) {
            return 0; // stopped on request: no picture, and no half-made one either
        }
        drawFrame();
    }
    if (!writeRgbPng(options.snapshotPath, size.width, size.height,
                     readFramePixels(size.width, size.height))) {
        std::fprintf(stderr, "quillmesh: cannot write %s\n", options.snapshotPath.c_str());
        return 1;
    }
    return 0;
}
