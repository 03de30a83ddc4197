#include "shell/x11/run_on_display.h"

#include "platform/window_handle.h"
#include "render/frame.h"
#include "render/scene.h"
#include "shell/linux/draw_gate.h"
#include "shell/linux/event_wait.h"
#include "shell/linux/fps_report.h"
#include "shell/linux/frame_pacer.h"
#include "shell/linux/fullscreen_closing.h"
#include "shell/linux/render_output.h"
#include "shell/linux/termination_signals.h"
#include "shell/x11/display_power.h"
#include "shell/x11/glx_surface.h"
#include "shell/x11/monitors.h"
#include "shell/x11/viewability.h"
#include "shell/x11/x_error_trap.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
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

// Turns X events into the closing rules' calls, the frame gate's facts and, for the full-screen
// saver, the picture's place among the monitors.
class DisplaySession {
  public:
    DisplaySession(const Options& options, GlxSurface& surface, CursorPosition startCursor,
                   const MonitorWatch* monitors)
        : options_(options), surface_(surface), monitors_(monitors),
          closing_(options.mouseThreshold), gate_(displayPowerKnown(surface.display)),
          windowManagerProtocols_(XInternAtom(surface.display, "WM_PROTOCOLS", False)),
          deleteWindow_(XInternAtom(surface.display, "WM_DELETE_WINDOW", False)) {
        closing_.pointerAt(startCursor);
        gate_.setViewable(isViewable(surface.display, surface.window));
    }

    bool closed() const { return closed_ || (fullScreen() && closing_.closed()); }
    DrawGate& gate() { return gate_; }

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
            followViewability();
            break;
        case UnmapNotify:
            followViewability();
            break;
        case ReparentNotify:
            if (!surface_.ownWindow && event.xreparent.window == surface_.window) {
                watchAncestors(surface_.display, surface_.window);
            }
            followViewability();
            break;
        case VisibilityNotify:
            if (event.xvisibility.window == surface_.window) {
                gate_.setCovered(event.xvisibility.state == VisibilityFullyObscured);
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

    // Any window on the way up to the root may have been mapped, unmapped or moved elsewhere.
    void followViewability() { gate_.setViewable(isViewable(surface_.display, surface_.window)); }

    const Options& options_;
    GlxSurface& surface_;
    const MonitorWatch* monitors_; // the full-screen saver's only
    FullScreenClosing closing_;    // only the full-screen saver ends by these rules
    DrawGate gate_;
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

// Sleeps until the given time, or with none until something happens: an X event or a termination
// signal.
void waitUntil(Display* display, std::optional<PaceClock::time_point> wake) {
    // A round trip may have queued events that the connection no longer shows.
    if (XEventsQueued(display, QueuedAlready) == 0) {
        waitForEvents(ConnectionNumber(display), wake);
    }
}

std::optional<PaceClock::time_point> earliest(PaceClock::time_point a,
                                              std::optional<PaceClock::time_point> b) {
    return b ? std::min(a, *b) : a;
}

void runLoop(const Options& options, GlxSurface& surface, DisplaySession& session) {
    FramePacer pacer(options.maxFps, PaceClock::now());
    FpsReport report(options.showFps ? stderr : nullptr, PaceClock::now());
    DrawGate& gate = session.gate();
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
        if (gate.powerCheckDue(now)) {
            gate.setDisplayAsleep(displayAsleep(surface.display), now);
        }
        report.hiddenIs(gate.hidden(), now);
        if (gate.hidden() != Hidden::No) {
            waitUntil(surface.display, gate.nextPowerCheck());
            continue;
        }
        if (!pacer.frameDue(now)) {
            waitUntil(surface.display, earliest(pacer.nextFrame(), gate.nextPowerCheck()));
            continue;
        }
        pacer.frameStarted(now);
        // The picture follows the window's size, as the preview's does on Windows.
        saverSettings.resolutionX = surface.width;
        saverSettings.resolutionY = surface.height;
        drawFrame();
        report.frameDrawn(PaceClock::now());
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
