#include "shell/x11/run_on_display.h"

#include "platform/window_handle.h"
#include "render/frame.h"
#include "render/scene.h"
#include "shell/linux/frame_pacer.h"
#include "shell/linux/fullscreen_closing.h"
#include "shell/linux/render_output.h"
#include "shell/linux/termination_signals.h"
#include "shell/x11/glx_surface.h"
#include "shell/x11/monitors.h"
#include "shell/x11/x_error_trap.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>

namespace {

CursorPosition pointerPosition(Display* display) {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                  &windowY, &buttons);
    return {rootX, rootY};
}

// Focus moving into a child or following the pointer is no loss of focus.
bool focusLost(const XFocusChangeEvent& event) {
    const bool realChange = event.mode == NotifyNormal || event.mode == NotifyWhileGrabbed;
    const bool awayFromUs = event.detail == NotifyAncestor || event.detail == NotifyVirtual ||
                            event.detail == NotifyNonlinear ||
                            event.detail == NotifyNonlinearVirtual;
    return realChange && awayFromUs;
}

// Turns X events into the closing rules' calls and, for the full-screen saver, into the picture's
// place among the monitors.
class DisplaySession {
  public:
    DisplaySession(const Options& options, GlxSurface& surface, CursorPosition startCursor,
                   const MonitorWatch* monitors)
        : options_(options), surface_(surface), monitors_(monitors),
          closing_(options.mouseThreshold),
          windowManagerProtocols_(XInternAtom(surface.display, "WM_PROTOCOLS", False)),
          deleteWindow_(XInternAtom(surface.display, "WM_DELETE_WINDOW", False)) {
        closing_.pointerAt(startCursor);
    }

    bool closed() const { return closed_ || (fullScreen() && closing_.closed()); }

    void handle(XEvent& event) {
        if (monitors_ != nullptr && monitors_->changedBy(event)) {
            const ScreenArea screen = monitors_->screen();
            placeFullScreen(surface_, pictureArea(monitors_->monitors(), screen), screen);
            return;
        }
        switch (event.type) {
        case ConfigureNotify:
            if (event.xconfigure.window == surface_.window) {
                surface_.width = event.xconfigure.width;
                surface_.height = event.xconfigure.height;
            }
            break;
        case DestroyNotify:
            closed_ |= event.xdestroywindow.window == surface_.window;
            break;
        case ClientMessage:
            closed_ |= event.xclient.message_type == windowManagerProtocols_ &&
                       static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_;
            break;
        case MapNotify:
            if (fullScreen() && event.xmap.window == surface_.window) {
                // Focus can only go to a viewable window.
                XSetInputFocus(surface_.display, surface_.window, RevertToParent, CurrentTime);
            }
            break;
        case KeyPress: {
            XKeyEvent key = event.xkey;
            closed_ |= !fullScreen() && XLookupKeysym(&key, 0) == XK_Escape;
            closing_.keyPressed();
            break;
        }
        case ButtonPress:
            closing_.buttonPressed();
            break;
        case MotionNotify:
            closing_.pointerAt(pointerPosition(surface_.display));
            break;
        case FocusIn:
            closing_.focusGained();
            break;
        case FocusOut:
            if (focusLost(event.xfocus)) {
                closing_.focusLost();
            }
            break;
        default:
            break;
        }
    }

  private:
    bool fullScreen() const { return options_.target == DisplayTarget::FullScreen; }

    const Options& options_;
    GlxSurface& surface_;
    const MonitorWatch* monitors_; // the full-screen saver's only
    FullScreenClosing closing_;    // only the full-screen saver ends by these rules
    Atom windowManagerProtocols_;
    Atom deleteWindow_;
    bool closed_ = false;
};

std::optional<GlxSurface> openSurface(Display* display, const Options& options,
                                      const MonitorWatch* monitors, std::string& error) {
    switch (options.target) {
    case DisplayTarget::GivenWindow:
        return openForeignWindow(display, options.windowId, error);
    case DisplayTarget::RootWindow: {
        // XScreenSaver hands its own window over in the environment.
        const char* given = std::getenv("XSCREENSAVER_WINDOW");
        const auto window = given != nullptr ? parseWindowId(given) : std::nullopt;
        if (given != nullptr && !window) {
            error = "XSCREENSAVER_WINDOW holds no window id: '" + std::string(given) + "'";
            return std::nullopt;
        }
        return openForeignWindow(display, window.value_or(DefaultRootWindow(display)), error);
    }
    case DisplayTarget::FullScreen: {
        const ScreenArea screen = monitors->screen();
        return openFullScreen(display, saverSettings, pictureArea(monitors->monitors(), screen),
                              screen, error);
    }
    default:
        return openOwnWindow(display, saverSettings, error);
    }
}

// Sleeps until the next frame is due, an X event arrives or a termination signal does.
void waitForNextFrame(Display* display, PaceClock::time_point due) {
    const auto remaining = due - PaceClock::now();
    if (remaining <= PaceClock::duration::zero()) {
        return;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(remaining);
    const timespec timeout{
        static_cast<time_t>(seconds.count()),
        static_cast<long>(std::chrono::nanoseconds(remaining - seconds).count())};
    pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {terminationWakeFd(), POLLIN, 0}};
    ppoll(waits, 2, &timeout, nullptr);
}

void runLoop(const Options& options, GlxSurface& surface, DisplaySession& session) {
    FramePacer pacer(options.maxFps, PaceClock::now());
    FrameRateMeter meter(PaceClock::now());
    bool firstFrame = true;
    while (true) {
        while (XPending(surface.display) > 0) {
            XEvent event;
            XNextEvent(surface.display, &event);
            session.handle(event);
        }
        if (session.closed() || terminationRequested() || drawingWindowGone()) {
            return;
        }
        const auto now = PaceClock::now();
        if (!pacer.frameDue(now)) {
            waitForNextFrame(surface.display, pacer.nextFrame());
            continue;
        }
        pacer.frameStarted(now);
        // The picture follows the window's size, as the preview's does on Windows.
        saverSettings.resolutionX = surface.width;
        saverSettings.resolutionY = surface.height;
        drawFrame();
        if (options.showFps) {
            if (firstFrame) {
                std::fputs("quillmesh: first frame drawn\n", stderr);
                firstFrame = false;
            }
            if (const auto rate = meter.frameDrawn(PaceClock::now())) {
                std::fprintf(stderr, "quillmesh: %.1f fps\n", *rate);
            }
        }
    }
}

} // namespace

int runOnDisplay(const Options& options) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "quillmesh: cannot open the X display '%s'\n", XDisplayName(nullptr));
        return 1;
    }
    trapXErrors(display);
    const bool fullScreen = options.target == DisplayTarget::FullScreen;
    std::optional<MonitorWatch> monitors;
    if (fullScreen) {
        monitors.emplace(display);
    }
    Window previousFocus = None;
    int previousRevert = RevertToParent;
    XGetInputFocus(display, &previousFocus, &previousRevert);
    const CursorPosition startCursor = pointerPosition(display);

    std::string error;
    const MonitorWatch* watch = monitors ? &*monitors : nullptr;
    std::optional<GlxSurface> surface = openSurface(display, options, watch, error);
    if (!surface) {
        std::fprintf(stderr, "quillmesh: %s\n", error.c_str());
        XCloseDisplay(display);
        return 1;
    }
    DisplaySession session(options, *surface, startCursor, watch);

    renderWindow = reinterpret_cast<WindowHandle>(surface->window);
    if (surface->doubleBuffered) {
        presentWith([display, window = surface->window] { glXSwapBuffers(display, window); });
    }
    setSwapInterval(*surface, options.maxFps > 0 ? 1 : 0);
    setupScene();
    runLoop(options, *surface, session);

    closeSurface(*surface);
    if (fullScreen && previousFocus != None) {
        // Hand the keyboard back to whoever had it; if that window has gone, the trap ignores it.
        XSetInputFocus(display, previousFocus, previousRevert, CurrentTime);
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
