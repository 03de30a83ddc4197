#pragma once

#include "settings/saver_settings.h"
#include "shell/closing_rules.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The command line of the Linux program, parsed without touching X, the settings or the process.

enum class DisplayTarget {
    OwnWindow,   // a normal window of its own
    FullScreen,  // the saver: a window over the whole screen with the closing rules
    RootWindow,  // XScreenSaver's window from XSCREENSAVER_WINDOW, else the root window
    GivenWindow, // a window made by somebody else, by id
    Snapshot,    // no X at all: a picture written to a file
};

// Which shell draws: the Wayland compositor's or the X server's (XWayland's too).
enum class WindowSystem { X11, Wayland };

struct FrameSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const FrameSize&) const = default;
};

// Values given on the command line win over the stored settings.
struct SettingOverrides {
    std::optional<std::int32_t> renderMode;
    std::optional<std::int32_t> envMap;
    std::optional<std::int32_t> dotSize;
    std::optional<std::int32_t> lineSize;
    std::optional<std::int32_t> width;
    std::optional<std::int32_t> height;
};

struct Options {
    DisplayTarget target = DisplayTarget::OwnWindow;
    std::optional<WindowSystem> windowSystem; // chosen by --x11 or --wayland
    unsigned long windowId = 0;               // for GivenWindow
    std::string snapshotPath;
    std::int32_t snapshotFrame = 1;        // the picture after this many frames
    std::optional<FrameSize> snapshotSize; // else the resolution settings
    std::int32_t mouseThreshold = defaultMouseThreshold;
    std::int32_t maxFps = 60; // 0: as fast as possible
    bool showFps = false;
    bool saveSettings = false;
    bool printSettings = false;
    bool showHelp = false;
    SettingOverrides overrides;
};

struct ParsedOptions {
    Options options;
    std::string error; // empty when the command line is good
};

// An X window id in decimal or as 0x hexadecimal, as --window-id and XSCREENSAVER_WINDOW give it.
std::optional<unsigned long> parseWindowId(std::string_view text);

// arguments[0] is the program's name. XScreenSaver's single-dash "-root" and "-window-id" are
// taken like their double-dash forms.
ParsedOptions parseOptions(std::span<const char* const> arguments);

// An explicit choice wins; then X windows (--root, --window-id) need X11; then a set
// WAYLAND_DISPLAY (given here, null when unset) means Wayland; else X11.
WindowSystem chooseWindowSystem(const Options& options, const char* waylandDisplay);

void applyOverrides(const SettingOverrides& overrides, SaverSettings& settings);

std::string helpText();
