#pragma once

#include "settings/saver_settings.h"

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
    int width = 0;
    int height = 0;
};

// The pixel format follows the settings' depth, alpha and stencil bits where the server offers
// them. error says what failed when there is no surface.
std::optional<GlxSurface> openOwnWindow(Display* display, const SaverSettings& settings,
                                        bool fullScreen, std::string& error);

// Draws with the window's own visual; only StructureNotify and Exposure are selected on it.
std::optional<GlxSurface> openForeignWindow(Display* display, Window window, std::string& error);

// Swap interval 1 (wait for the vertical blank) or 0, through whichever GLX extension offers it.
void setSwapInterval(const GlxSurface& surface, int interval);

void closeSurface(GlxSurface& surface);
