// Cost of the renderer per frame on Mesa's llvmpipe, headless at 800 × 600: the surface wave per
// vertex, and a whole frame per render mode beside a bare draw of the same arrays without the
// wave and the state calls. Run: build/native/bench/render_bench

#include "platform/render_output.h"
#include "render/draw_calls.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/model.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/headless/egl_context.h"

#include <benchmark/benchmark.h>

#include <cstdio>

// The frame ends when the drawing is done; errors are counted, not asked about.
void swapFrameBuffers() {
    glFinish();
}

namespace {
int glErrorsSeen = 0;
}

void askToAbort(WindowHandle, const char*) {
    ++glErrorsSeen;
}

namespace {

constexpr int width = 800;
constexpr int height = 600;
constexpr const char* modeNames[] = {"Wireframe", "Dotted", "Texture Mapping", "All of them"};

Model& carriedModel() {
    return *modelList.front();
}

void surfaceWave(benchmark::State& state) {
    Model& model = carriedModel();
    std::int32_t phase = 0;
    for (auto _ : state) {
        model.applySurfaceWave(phase);
        phase += 12;
        benchmark::DoNotOptimize(model.workVertices[0].position[0]);
    }
    // Shown as seconds per vertex: "18n" is 18 ns.
    state.counters["per_vertex"] =
        benchmark::Counter(double(model.vertexCount) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void wholeFrame(benchmark::State& state) {
    saverSettings.renderMode = std::int32_t(state.range(0));
    state.SetLabel(modeNames[state.range(0)]);
    for (auto _ : state) {
        drawFrame();
    }
}

// The same clear and the same element draws over the same arrays, with the matrices and
// texture state the frame left, but no wave, no turn, no light and no toggles.
void bareDraw(benchmark::State& state) {
    const std::int32_t renderMode = std::int32_t(state.range(0));
    state.SetLabel(modeNames[renderMode]);
    saverSettings.renderMode = renderMode;
    drawFrame();
    const Model& model = carriedModel();
    if (renderMode == 2) {
        glEnable(GL_TEXTURE_2D);
    }
    glDisable(GL_DEPTH_TEST);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        for (const DrawCall& call : drawCallsFor(renderMode, model.faceCount)) {
            const GLenum primitive = call.primitive == Primitive::Lines    ? GL_LINES
                                     : call.primitive == Primitive::Points ? GL_POINTS
                                                                           : GL_TRIANGLES;
            glDrawElements(primitive, call.indexCount, GL_UNSIGNED_INT,
                           model.faces.get() + call.firstIndex);
        }
        glFinish();
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
}

} // namespace

BENCHMARK(surfaceWave);
// Each mode's frame and bare draw side by side, so that machine load hits both alike. llvmpipe
// draws on its own threads: wall-clock time is what a frame costs.
BENCHMARK(wholeFrame)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bareDraw)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(wholeFrame)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bareDraw)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(wholeFrame)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bareDraw)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(wholeFrame)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bareDraw)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const HeadlessGlContext context(width, height);
    if (!context.ready()) {
        std::fprintf(stderr, "no headless OpenGL context: %s\n", context.error().c_str());
        return 1;
    }
    saverSettings = defaultSettings;
    saverSettings.resolutionX = width;
    saverSettings.resolutionY = height;
    setupScene();
    if (modelList.empty()) {
        std::fprintf(stderr, "the carried mesh did not load\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (glErrorsSeen != 0) {
        std::fprintf(stderr, "%d OpenGL errors while measuring\n", glErrorsSeen);
        return 1;
    }
    return 0;
}
