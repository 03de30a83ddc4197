#include "shell/x11/glx_surface.h"

#include "shell/linux/window_names.h"
#include "shell/x11/viewability.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// X windows cannot be empty, and the protocol caps sides at 32767; a stored resolution outside
// that range still opens a window.
int windowSide(std::int32_t stored) {
    return std::clamp<std::int32_t>(stored, 1, 32767);
}

XVisualInfo* chooseVisual(Display* display, int screen, const SaverSettings& settings) {
    const int depth = std::max(settings.zBufferDepth, 0);
    const int alpha = std::max(settings.alphaDepth, 0);
    const int stencil = std::max(settings.stencilDepth, 0);
    std::vector<std::vector<int>> choices = {
        {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
         GLX_DEPTH_SIZE, depth, GLX_ALPHA_SIZE, alpha, GLX_STENCIL_SIZE, stencil, None},
        // As the platform's closest match would: drop what the server lacks, keep double
        // buffering and a depth buffer.
        {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 1, None},
        {GLX_RGBA, GLX_DOUBLEBUFFER, None},
    };
    for (std::vector<int>& attributes : choices) {
        if (XVisualInfo* visual = glXChooseVisual(display, screen, attributes.data())) {
            return visual;
        }
    }
    return nullptr;
}

bool makeContextCurrent(GlxSurface& surface, XVisualInfo* visual, std::string& error) {
    int doubleBuffered = 0;
    glXGetConfig(surface.display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    surface.doubleBuffered = doubleBuffered != 0;
    surface.context = glXCreateContext(surface.display, visual, nullptr, True);
    if (surface.context == nullptr) {
        error = "cannot create an OpenGL context";
        return false;
    }
    if (!glXMakeCurrent(surface.display, surface.window, surface.context)) {
        error = "cannot make the OpenGL context current";
        return false;
    }
    return true;
}

Cursor makeBlankCursor(Display* display, Window window) {
    const char noBits[1] = {0};
    const Pixmap empty = XCreateBitmapFromData(display, window, noBits, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display, empty);
    return cursor;
}

void nameWindow(Display* display, Window window) {
    XStoreName(display, window, windowTitle);
    XClassHint classHint{};
    std::string name = programName;
    std::string className = windowTitle;
    classHint.res_name = name.data();
    classHint.res_class = className.data();
    XSetClassHint(display, window, &classHint);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

// Our own windows report what the frame gate and the closing rules need.
constexpr long ownWindowEvents =
    StructureNotifyMask | ExposureMask | KeyPressMask | VisibilityChangeMask;
constexpr long saverInput = KeyPressMask | ButtonPressMask | PointerMotionMask;

std::optional<GlxSurface> openWindow(Display* display, const SaverSettings& settings,
                                     ScreenArea area, bool fullScreen, std::string& error) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    XVisualInfo* visual = chooseVisual(display, screen, settings);
    if (visual == nullptr) {
        error = "the X server offers no OpenGL visual with double buffering";
        return std::nullopt;
    }

    GlxSurface surface;
    surface.display = display;
    surface.ownWindow = true;
    surface.width = area.width;
    surface.height = area.height;

    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    attributes.override_redirect = fullScreen ? True : False;
    attributes.event_mask = ownWindowEvents | (fullScreen ? saverInput | FocusChangeMask : 0);
    surface.window = XCreateWindow(
        display, root, area.x, area.y, static_cast<unsigned>(area.width),
        static_cast<unsigned>(area.height), 0, visual->depth, InputOutput, visual->visual,
        CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWEventMask, &attributes);
    if (fullScreen) {
        surface.blankCursor = makeBlankCursor(display, surface.window);
        XDefineCursor(display, surface.window, surface.blankCursor);
    }
    nameWindow(display, surface.window);

    const bool current = makeContextCurrent(surface, visual, error);
    XFree(visual);
    if (!current) {
        closeSurface(surface);
        return std::nullopt;
    }
    return surface;
}

Window openBackdrop(Display* display, ScreenArea screenArea, Cursor cursor) {
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.override_redirect = True;
    attributes.event_mask = saverInput;
    attributes.cursor = cursor;
    const Window backdrop = XCreateWindow(
        display, RootWindow(display, screen), screenArea.x, screenArea.y,
        static_cast<unsigned>(screenArea.width), static_cast<unsigned>(screenArea.height), 0,
        CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixel | CWOverrideRedirect | CWEventMask | CWCursor, &attributes);
    XMapWindow(display, backdrop);
    return backdrop;
}

} // namespace

std::optional<GlxSurface> openOwnWindow(Display* display, const SaverSettings& settings,
                                        std::string& error) {
    const ScreenArea area{0, 0, windowSide(settings.resolutionX), windowSide(settings.resolutionY)};
    std::optional<GlxSurface> surface = openWindow(display, settings, area, false, error);
    if (surface) {
        XMapRaised(display, surface->window);
    }
    return surface;
}

std::optional<GlxSurface> openFullScreen(Display* display, const SaverSettings& settings,
                                         ScreenArea picture, ScreenArea screen,
                                         std::string& error) {
    std::optional<GlxSurface> surface = openWindow(display, settings, picture, true, error);
    if (surface) {
        surface->backdrop = openBackdrop(display, screen, surface->blankCursor);
        XMapRaised(display, surface->window);
    }
    return surface;
}

void placeFullScreen(GlxSurface& surface, ScreenArea picture, ScreenArea screen) {
    XMoveResizeWindow(surface.display, surface.backdrop, screen.x, screen.y,
                      static_cast<unsigned>(screen.width), static_cast<unsigned>(screen.height));
    XMoveResizeWindow(surface.display, surface.window, picture.x, picture.y,
                      static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height));
    XRaiseWindow(surface.display, surface.window);
}

std::optional<GlxSurface> openForeignWindow(Display* display, Window window, std::string& error) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        error = "no window with id 0x" + [&] {
            char text[32];
            std::snprintf(text, sizeof text, "%lx", window);
            return std::string(text);
        }();
        return std::nullopt;
    }
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    int usesGl = 0;
    if (visual != nullptr) {
        glXGetConfig(display, visual, GLX_USE_GL, &usesGl);
    }
    if (usesGl == 0) {
        if (visual != nullptr) {
            XFree(visual);
        }
        error = "the window's visual does not support OpenGL";
        return std::nullopt;
    }

    GlxSurface surface;
    surface.display = display;
    surface.window = window;
    surface.width = attributes.width;
    surface.height = attributes.height;
    // Only what we need to follow the window and to know whether it can be seen; input stays
    // with whoever owns it.
    XSelectInput(display, window, StructureNotifyMask | ExposureMask | VisibilityChangeMask);
    watchAncestors(display, window);

    const bool current = makeContextCurrent(surface, visual, error);
    XFree(visual);
    if (!current) {
        closeSurface(surface);
        return std::nullopt;
    }
    return surface;
}

void setSwapInterval(const GlxSurface& surface, int interval) {
    const char* extensions =
        glXQueryExtensionsString(surface.display, DefaultScreen(surface.display));
    const auto offers = [&](const char* name) {
        return extensions != nullptr && std::strstr(extensions, name) != nullptr;
    };
    if (offers("GLX_EXT_swap_control")) {
        const auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval != nullptr) {
            swapInterval(surface.display, surface.window, interval);
            return;
        }
    }
    if (offers("GLX_MESA_swap_control")) {
        const auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval != nullptr) {
            swapInterval(static_cast<unsigned>(interval));
        }
    }
}

void closeSurface(GlxSurface& surface) {
    if (surface.context != nullptr) {
        glXMakeCurrent(surface.display, None, nullptr);
        glXDestroyContext(surface.display, surface.context);
        surface.context = nullptr;
    }
    if (surface.ownWindow && surface.window != 0) {
        XDestroyWindow(surface.display, surface.window);
    }
    if (surface.backdrop != 0) {
        XDestroyWindow(surface.display, surface.backdrop);
        surface.backdrop = 0;
    }
    if (surface.blankCursor != 0) {
        XFreeCursor(surface.display, surface.blankCursor);
        surface.blankCursor = 0;
    }
    surface.window = 0;
}
