// Cost of the renderer per frame on Mesa's llvmpipe, headless at 800 × 600: the surface wave per
// vertex, and a whole frame per render mode beside a bare draw of the same arrays without the
// wave and the state calls. Run: build/native/bench/render_bench

#include "platform/render_output.h"
#include "render/draw_calls.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/model.h"
#include "render/render_styles.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/headless/egl_context.h"

#include <benchmark/benchmark.h>

#include <chrono>
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

// The same clear and the same element draws over the same arrays and matrices as the frame just
// drawn, with only the toggles that picture needs: no wave, no turn, no light, no colour.
void drawBare(const Model& model, std::int32_t renderMode) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    for (const DrawCall& call : drawCallsFor(renderMode, model.faceCount)) {
        const GLenum primitive = call.primitive == Primitive::Lines    ? GL_LINES
                                 : call.primitive == Primitive::Points ? GL_POINTS
                                                                       : GL_TRIANGLES;
        if (call.textured) {
            glEnable(GL_TEXTURE_2D);
        }
        glDrawElements(primitive, call.indexCount, GL_UNSIGNED_INT,
                       model.faces.get() + call.firstIndex);
        if (call.textured) {
            glDisable(GL_TEXTURE_2D);
        }
    }
    glEnable(GL_DEPTH_TEST);
    glFinish();
}

// A whole frame and the bare draw of the same picture, taken in turns so that the load of a
// shared machine falls on both alike. llvmpipe draws on its own threads, so this is wall-clock
// time.
void frameBesideBareDraw(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const RenderStyle& style = renderStyles[std::size_t(state.range(0))];
    const std::int32_t renderMode = style.value;
    state.SetLabel(std::string(style.label));
    saverSettings.renderMode = renderMode;
    const Model& model = carriedModel();
    Clock::duration frameTime{};
    Clock::duration bareTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        drawFrame();
        const auto middle = Clock::now();
        drawBare(model, renderMode);
        const auto end = Clock::now();
        frameTime += middle - start;
        bareTime += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    const double frames = double(state.iterations());
    const double frameMs = std::chrono::duration<double, std::milli>(frameTime).count() / frames;
    const double bareMs = std::chrono::duration<double, std::milli>(bareTime).count() / frames;
    state.counters["frame_ms"] = frameMs;
    state.counters["bare_ms"] = bareMs;
    state.counters["overhead_pct"] = (frameMs / bareMs - 1.0) * 100.0;
}

} // namespace

BENCHMARK(surfaceWave);
BENCHMARK(frameBesideBareDraw)
    ->DenseRange(0, renderStyles.size() - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

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
