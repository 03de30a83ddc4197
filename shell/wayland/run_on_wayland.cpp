#include "shell/wayland/run_on_wayland.h"

#include "platform/window_handle.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/scene.h"
#include "shell/linux/event_wait.h"
#include "shell/linux/fps_report.h"
#include "shell/linux/frame_pacer.h"
#include "shell/linux/render_output.h"
#include "shell/linux/termination_signals.h"
#include "shell/wayland/seat_input.h"
#include "shell/wayland/toplevel.h"

#include <libdecor.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

// A stored resolution outside what a window can be still opens one.
int windowSide(std::int32_t stored) {
    return std::clamp<std::int32_t>(stored, 1, largestWindowSide);
}

std::string decorationError; // libdecor's error callback knows no run of ours

libdecor_interface makeDecorationInterface() {
    libdecor_interface callbacks{};
    callbacks.error = [](libdecor*, libdecor_error, const char* message) {
        decorationError = std::string("no window decorations: ") + message;
    };
    return callbacks;
}

libdecor_interface decorationInterface = makeDecorationInterface();

// The toplevels of one run and its loop: frames when the compositor has shown the last one and
// the pacer lets the next come, and events in between.
class WaylandRun {
  public:
    WaylandRun(const Options& options, WaylandDisplay& wayland, WaylandGl& gl, SeatInput& input);
    ~WaylandRun();
    WaylandRun(const WaylandRun&) = delete;
    WaylandRun& operator=(const WaylandRun&) = delete;

    // Until the run ends; what went wrong, or nothing.
    std::string run();

  private:
    void openOnEveryOutput(FrameSize size);
    bool ended() const;
    bool readyToDraw() const { return picture().gl && frameCallback_ == nullptr; }
    Toplevel& picture() { return toplevels_.front(); }
    const Toplevel& picture() const { return toplevels_.front(); }
    bool followConfigures();
    bool drawPicture();
    bool waitForEvents();

    WaylandDisplay& wayland_;
    WaylandGl& gl_;
    SeatInput& input_;
    libdecor* decorations_ = nullptr;
    std::deque<Toplevel> toplevels_; // the first shows the picture
    FramePacer pacer_;
    FpsReport report_;
    wl_callback* frameCallback_ = nullptr; // the compositor's word that the last frame shows
    bool sceneReady_ = false;
    std::string error_;
};

WaylandRun::WaylandRun(const Options& options, WaylandDisplay& wayland, WaylandGl& gl,
                       SeatInput& input)
    : wayland_(wayland), gl_(gl), input_(input), pacer_(options.maxFps, PaceClock::now()),
      report_(options.showFps ? stderr : nullptr, PaceClock::now()) {
    const FrameSize size{windowSide(saverSettings.resolutionX),
                         windowSide(saverSettings.resolutionY)};
    if (options.target == DisplayTarget::FullScreen) {
        openOnEveryOutput(size);
    } else {
        decorations_ = libdecor_new(wayland.display, &decorationInterface);
        openWindow(toplevels_.emplace_back(), wayland, decorations_, size);
        input.addSurface(picture().surface, {});
    }
    renderWindow = reinterpret_cast<WindowHandle>(picture().surface);
    presentWith([this] { gl_.present(picture().gl); });
}

WaylandRun::~WaylandRun() {
    presentWith(nullptr);
    if (frameCallback_ != nullptr) {
        wl_callback_destroy(frameCallback_);
    }
    for (Toplevel& toplevel : toplevels_) {
        closeToplevel(toplevel, gl_);
    }
    if (decorations_ != nullptr) {
        libdecor_unref(decorations_);
    }
}

// One full-screen toplevel on every output; the rest stay black beside the picture on the
// first. Without outputs announced, one wherever the compositor puts it.
void WaylandRun::openOnEveryOutput(FrameSize size) {
    if (wayland_.outputs.empty()) {
        openFullScreen(toplevels_.emplace_back(), wayland_, nullptr, size);
        input_.addSurface(toplevels_.back().surface, {});
    }
    for (const WaylandOutput& output : wayland_.outputs) {
        openFullScreen(toplevels_.emplace_back(), wayland_, output.output, size);
        input_.addSurface(toplevels_.back().surface, output.origin);
    }
}

bool WaylandRun::ended() const {
    const bool closeRequested = std::any_of(toplevels_.begin(), toplevels_.end(),
                                            [](const Toplevel& t) { return t.closeRequested; });
    return closeRequested || input_.closed() || terminationRequested() || !decorationError.empty();
}

// Gives each newly configured toplevel buffers of its size; the black ones are drawn at once.
bool WaylandRun::followConfigures() {
    for (Toplevel& toplevel : toplevels_) {
        if (!toplevel.resized) {
            continue;
        }
        toplevel.resized = false;
        if (toplevel.gl) {
            gl_.resize(toplevel.gl, toplevel.size.width, toplevel.size.height);
        } else {
            toplevel.gl =
                gl_.createWindow(toplevel.surface, toplevel.size.width, toplevel.size.height);
        }
        if (!toplevel.gl) {
            error_ = "EGL cannot draw into the Wayland surface";
            return false;
        }
        if (&toplevel != &picture() && gl_.drawInto(toplevel.gl)) {
            glClearColor(0.0f, 0.0f, 0.0f, 0.0f); // the scene's own clear colour
            glClear(GL_COLOR_BUFFER_BIT);
            gl_.present(toplevel.gl);
        }
    }
    return true;
}

const wl_callback_listener frameDone = {
    [](void* data, wl_callback* callback, std::uint32_t) {
        wl_callback_destroy(callback);
        *static_cast<wl_callback**>(data) = nullptr;
    },
};

bool WaylandRun::drawPicture() {
    Toplevel& shown = picture();
    if (!gl_.drawInto(shown.gl)) {
        error_ = "EGL cannot draw into the Wayland surface";
        return false;
    }
    if (!sceneReady_) {
        setupScene();
        sceneReady_ = true;
    }
    pacer_.frameStarted(PaceClock::now());
    // The picture follows the window's size, as the preview's does on Windows.
    saverSettings.resolutionX = shown.size.width;
    saverSettings.resolutionY = shown.size.height;
    // Asked for before the swap commits the frame: a hidden surface then draws nothing more.
    frameCallback_ = wl_surface_frame(shown.surface);
    wl_callback_add_listener(frameCallback_, &frameDone, &frameCallback_);
    drawFrame();
    report_.frameDrawn(PaceClock::now());
    return true;
}

// Reads what the compositor sent, waiting until something comes, the next frame is due or a
// termination signal arrives. False when the connection broke.
bool WaylandRun::waitForEvents() {
    wl_display* display = wayland_.display;
    if (wl_display_prepare_read(display) != 0) {
        return true; // events queued already: the loop dispatches them first
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    ::waitForEvents(wl_display_get_fd(display),
                    readyToDraw() ? std::optional(pacer_.nextFrame()) : std::nullopt);
    return wl_display_read_events(display) == 0;
}

std::string WaylandRun::run() {
    while (true) {
        if (wl_display_dispatch_pending(wayland_.display) < 0) {
            return connectionError(wayland_.display);
        }
        input_.eventsDispatched();
        if (ended()) {
            return decorationError;
        }
        if (!followConfigures()) {
            return error_;
        }
        if (readyToDraw() && pacer_.frameDue(PaceClock::now())) {
            if (!drawPicture()) {
                return error_;
            }
        } else if (!waitForEvents()) {
            return connectionError(wayland_.display);
        }
    }
}

} // namespace

int runOnWayland(const Options& options) {
    WaylandDisplay wayland;
    std::string error;
    if (connectToCompositor(wayland, error)) {
        {
            WaylandGl gl(wayland.display, saverSettings);
            if (gl.ready()) {
                SeatInput input(wayland, options.target == DisplayTarget::FullScreen,
                                options.mouseThreshold);
                error = WaylandRun(options, wayland, gl, input).run();
            } else {
                error = gl.error();
            }
        }
        // The surfaces go at once, not when the process has gone.
        wl_display_flush(wayland.display);
        disconnect(wayland);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "quillmesh: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
