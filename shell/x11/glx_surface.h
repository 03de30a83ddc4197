#pragma once

#include "settings/saver_settings.h"
#include "shell/linux/picture_monitor.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <optional>
#include <string>

// A window with an OpenGL context current on it: one of our own (a normal window or the
// full-screen saver) or one that somebody else made.
struct GlxSurface {
    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false; // ours to destroy
    bool doubleBuffered = true;
    GLXContext context = nullptr;
    Cursor blankCursor = 0;
    // The full-screen saver's black window over the whole screen, under the picture's window.
    Window backdrop = 0;
    int width = 0;
    int height = 0;
};

// The pixel format follows the settings' depth, alpha and stencil bits where the server offers
// them. error says what failed when there is no surface.
std::optional<GlxSurface> openOwnWindow(Display* display, const SaverSettings& settings,
                                        std::string& error);

// The saver: the picture's window over the picture's area and a black backdrop over the rest of
// the screen, both override-redirect, without a cursor, reporting keys, buttons and motion.
std::optional<GlxSurface> openFullScreen(Display* display, const SaverSettings& settings,
                                         ScreenArea picture, ScreenArea screen, std::string& error);

// Follows a change of the monitors: the picture's window and the backdrop to their new areas.
void placeFullScreen(GlxSurface& surface, ScreenArea picture, ScreenArea screen);

// Draws with the window's own visual. Selects only StructureNotify, Exposure and VisibilityChange
// on it, and the structure of the windows it lies in, which tells when it can be seen.
std::optional<GlxSurface> openForeignWindow(Display* display, Window window, std::string& error);

// Swap interval 1 (wait for the vertical blank) or 0, through whichever GLX extension offers it.
void setSwapInterval(const GlxSurface& surface, int interval);

void closeSurface(GlxSurface& surface);
