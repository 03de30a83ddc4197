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
#include <list>

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
// the pacer lets the next come, and events in between. Full screen, outputs may come and go
// while it runs: each has its toplevel, and the picture stays on the first of them.
class WaylandRun {
  public:
    WaylandRun(const Options& options, WaylandDisplay& wayland, WaylandGl& gl, SeatInput& input);
    ~WaylandRun();
    WaylandRun(const WaylandRun&) = delete;
    WaylandRun& operator=(const WaylandRun&) = delete;

    // Until the run ends; what went wrong, or nothing.
    std::string run();

  private:
    void openOnEveryOutput();
    void openOn(WaylandOutput& output);
    void followOutputs();
    void close(std::list<Toplevel>::iterator toplevel);
    void pictureMoved();
    bool ended() const;
    bool readyToDraw() const {
        return !toplevels_.empty() && picture().gl && frameCallback_ == nullptr;
    }
    Toplevel& picture() { return toplevels_.front(); }
    const Toplevel& picture() const { return toplevels_.front(); }
    bool followConfigures();
    bool drawPicture();
    bool waitForEvents();

    WaylandDisplay& wayland_;
    WaylandGl& gl_;
    SeatInput& input_;
    bool fullScreen_;
    FrameSize storedSize_; // the settings' resolution, in logical units
    libdecor* decorations_ = nullptr;
    std::list<Toplevel> toplevels_; // the first shows the picture
    std::list<wl_output*> covered_; // the outputs that have a full-screen toplevel
    FramePacer pacer_;
    FpsReport report_;
    wl_callback* frameCallback_ = nullptr; // the compositor's word that the last frame shows
    bool sceneReady_ = false;
    std::string error_;
};

WaylandRun::WaylandRun(const Options& options, WaylandDisplay& wayland, WaylandGl& gl,
                       SeatInput& input)
    : wayland_(wayland), gl_(gl), input_(input),
      fullScreen_(options.target == DisplayTarget::FullScreen),
      storedSize_{windowSide(saverSettings.resolutionX), windowSide(saverSettings.resolutionY)},
      pacer_(options.maxFps, PaceClock::now()),
      report_(options.showFps ? stderr : nullptr, PaceClock::now()) {
    if (fullScreen_) {
        openOnEveryOutput();
    } else {
        decorations_ = libdecor_new(wayland.display, &decorationInterface);
        openWindow(toplevels_.emplace_back(), wayland, decorations_, storedSize_);
        input.addSurface(picture().surface, {});
    }
    wayland_.outputsChanged = false;
    pictureMoved();
    presentWith([this] { presentFrame(picture(), gl_); });
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
void WaylandRun::openOnEveryOutput() {
    if (wayland_.outputs.empty()) {
        openFullScreen(toplevels_.emplace_back(), wayland_, nullptr, storedSize_, unitScale);
        input_.addSurface(toplevels_.back().surface, {});
    }
    for (WaylandOutput& output : wayland_.outputs) {
        openOn(output);
    }
}

// Until the compositor's first configure gives a size, the output's own (a first configure
// of 0x0 leaves the size to us); its integer scale until the surface is seen on it.
void WaylandRun::openOn(WaylandOutput& output) {
    const bool sized = output.logicalSize.width > 0 && output.logicalSize.height > 0;
    Toplevel& toplevel = toplevels_.emplace_back();
    openFullScreen(toplevel, wayland_, output.output, sized ? output.logicalSize : storedSize_,
                   wayland_.fractionalScaling()
                       ? unitScale
                       : static_cast<std::uint32_t>(std::max(output.scale, 1)) * unitScale);
    input_.addSurface(toplevel.surface, output.origin);
    covered_.push_back(output.output);
}

// Outputs that went take their toplevels with them; new ones get theirs once the compositor
// has said where they lie; a changed scale changes the buffers.
void WaylandRun::followOutputs() {
    for (WaylandOutput& output : wayland_.outputs) {
        if (!output.removed) {
            continue;
        }
        for (auto toplevel = toplevels_.begin(); toplevel != toplevels_.end();) {
            std::erase(toplevel->enteredOutputs, output.output);
            const auto next = std::next(toplevel);
            if (toplevel->output == output.output) {
                close(toplevel);
            }
            toplevel = next;
        }
        covered_.remove(output.output);
    }
    forgetRemovedOutputs(wayland_);
    if (fullScreen_) {
        for (WaylandOutput& output : wayland_.outputs) {
            if (output.described && std::ranges::find(covered_, output.output) == covered_.end()) {
                // The one opened on no output in particular stood in for them all until now.
                if (!toplevels_.empty() && toplevels_.front().output == nullptr) {
                    close(toplevels_.begin());
                }
                openOn(output);
            }
        }
    }
    for (Toplevel& toplevel : toplevels_) {
        followOutputScales(toplevel);
    }
    pictureMoved();
}

// The picture moves, whole, to the next toplevel when its own goes.
void WaylandRun::close(std::list<Toplevel>::iterator toplevel) {
    const bool showedPicture = toplevel == toplevels_.begin();
    if (showedPicture && frameCallback_ != nullptr) {
        wl_callback_destroy(frameCallback_);
        frameCallback_ = nullptr;
    }
    input_.removeSurface(toplevel->surface);
    closeToplevel(*toplevel, gl_);
    toplevels_.erase(toplevel);
    if (showedPicture) {
        pictureMoved();
    }
}

void WaylandRun::pictureMoved() {
    renderWindow = toplevels_.empty() ? nullptr : reinterpret_cast<WindowHandle>(picture().surface);
}

bool WaylandRun::ended() const {
    const bool closeRequested = std::any_of(toplevels_.begin(), toplevels_.end(),
                                            [](const Toplevel& t) { return t.closeRequested; });
    return closeRequested || input_.closed() || terminationRequested() || !decorationError.empty();
}

// Gives each newly configured or scaled toplevel buffers of its size in pixels; the black ones
// are drawn at once.
bool WaylandRun::followConfigures() {
    for (Toplevel& toplevel : toplevels_) {
        if (!toplevel.resized || !toplevel.configured) {
            continue;
        }
        toplevel.resized = false;
        const FrameSize pixels = toplevel.bufferSize();
        if (toplevel.gl) {
            gl_.resize(toplevel.gl, pixels.width, pixels.height);
        } else {
            toplevel.gl = gl_.createWindow(toplevel.surface, pixels.width, pixels.height);
        }
        if (!toplevel.gl) {
            error_ = "EGL cannot draw into the Wayland surface";
            return false;
        }
        if (&toplevel != &picture() && gl_.drawInto(toplevel.gl)) {
            glClearColor(0.0f, 0.0f, 0.0f, 0.0f); // the scene's own clear colour
            glClear(GL_COLOR_BUFFER_BIT);
            presentFrame(toplevel, gl_);
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
    // The picture follows the window's size in pixels, as the preview's does on Windows.
    const FrameSize pixels = shown.bufferSize();
    saverSettings.resolutionX = pixels.width;
    saverSettings.resolutionY = pixels.height;
    // Asked for before the swap commits the frame: a hidden surface then draws nothing more.
    frameCallback_ = wl_surface_frame(shown.surface);
    wl_callback_add_listener(frameCallback_, &frameDone, &frameCallback_);
    drawFrame();
    report_.frameDrawn(PaceClock::now());
    return true;
}

// Reads what the compositor sent, waiting until something comes, the next frame is due, the
// input has a decision to make or a termination signal arrives. False when the connection broke.
bool WaylandRun::waitForEvents() {
    wl_display* display = wayland_.display;
    if (wl_display_prepare_read(display) != 0) {
        return true; // events queued already: the loop dispatches them first
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    std::optional<PaceClock::time_point> wake = input_.nextDecision();
    if (readyToDraw()) {
        wake = wake ? std::min(*wake, pacer_.nextFrame()) : pacer_.nextFrame();
    }
    ::waitForEvents(wl_display_get_fd(display), wake);
    return wl_display_read_events(display) == 0;
}

std::string WaylandRun::run() {
    while (true) {
        if (wl_display_dispatch_pending(wayland_.display) < 0) {
            return connectionError(wayland_.display);
        }
        input_.eventsDispatched();
        if (wayland_.outputsChanged) {
            wayland_.outputsChanged = false;
            followOutputs();
        }
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
