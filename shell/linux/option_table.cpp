// The Linux program's options, one row each, and how their values are read.

#include "render/render_styles.h"
#include "shell/linux/option_rows.h"

#include <charconv>

namespace {

std::optional<std::int32_t> wholeNumber(std::string_view text, int base = 10) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::string readRenderMode(Options& options, std::string_view value) {
    for (const RenderStyle& style : renderStyles) {
        if (value == style.optionName || wholeNumber(value) == style.value) {
            options.overrides.renderMode = style.value;
            return {};
        }
    }
    return "--rendermode: expected " + renderModeChoices() + ", got '" + std::string(value) + "'";
}

constexpr SizeRange windowSides{1, largestWindowSide};

std::string readWindowId(Options& options, std::string_view value) {
    const auto window = parseWindowId(value);
    if (!window) {
        return "--window-id: expected an X window id (decimal or 0x hexadecimal), got '" +
               std::string(value) + "'";
    }
    options.windowId = *window;
    return {};
}

std::string readSnapshotPath(Options& options, std::string_view value) {
    if (value.empty()) {
        return "--snapshot: expected the name of a PNG file";
    }
    options.snapshotPath = value;
    return {};
}

std::string readSnapshotSize(Options& options, std::string_view value) {
    const auto cross = value.find('x');
    const auto width =
        cross == value.npos ? std::nullopt : numberInRange(value.substr(0, cross), windowSides);
    const auto height =
        cross == value.npos ? std::nullopt : numberInRange(value.substr(cross + 1), windowSides);
    if (!width || !height) {
        return "--size: expected WIDTHxHEIGHT, each from " + rangeText(windowSides) + ", got '" +
               std::string(value) + "'";
    }
    options.snapshotSize = FrameSize{*width, *height};
    return {};
}

std::string chooseShell(Options& options, WindowSystem system) {
    if (options.windowSystem && *options.windowSystem != system) {
        return "--x11 and --wayland cannot be combined";
    }
    options.windowSystem = system;
    return {};
}

std::string useX11(Options& options, std::string_view) {
    return chooseShell(options, WindowSystem::X11);
}

std::string useWayland(Options& options, std::string_view) {
    return chooseShell(options, WindowSystem::Wayland);
}

// In the order of the help. A new option is one row.
const OptionRow optionRows[] = {
    {"fullscreen", nullptr, Group::Target, Target{DisplayTarget::FullScreen},
     "cover every monitor, the picture on the primary (or first) one;\n"
     "a key, a mouse button, mouse travel beyond the threshold or loss\nof focus ends it"},
    {"root", nullptr, Group::Target, Target{DisplayTarget::RootWindow},
     "X11 only: draw into $XSCREENSAVER_WINDOW, or the root window\nwithout it", 0, true},
    {"window-id", "ID", Group::Target, Target{DisplayTarget::GivenWindow, readWindowId},
     "X11 only: draw into an existing window (decimal or 0x\nhexadecimal)", 0, true},
    {"snapshot", "FILE.png", Group::Target, Target{DisplayTarget::Snapshot, readSnapshotPath},
     "render without a display server and write a PNG file"},
    {"frame", "N", Group::Target, Number{&Options::snapshotFrame, {1, 100000}},
     "with --snapshot: the picture after N frames"},
    {"size", "WxH", Group::Target, readSnapshotSize,
     "with --snapshot: picture size (default: the resolution settings)"},
    {"wayland", nullptr, Group::WindowSystem, useWayland,
     "draw on the Wayland compositor named by $WAYLAND_DISPLAY"},
    {"x11", nullptr, Group::WindowSystem, useX11,
     "draw on the X display named by $DISPLAY (in a Wayland session:\nthrough XWayland)"},
    {"rendermode", "MODE", Group::Settings, readRenderMode, nullptr},
    {"envmap", nullptr, Group::Settings, SettingSwitch{&SettingOverrides::envMap, 1},
     "sphere-mapped environment texturing on"},
    {"no-envmap", nullptr, Group::Settings, SettingSwitch{&SettingOverrides::envMap, 0}, "and off"},
    {"dot-size", "N", Group::Settings, Setting{&SettingOverrides::dotSize, dotSizeRange},
     "point size in pixels"},
    {"line-size", "N", Group::Settings, Setting{&SettingOverrides::lineSize, lineSizeRange},
     "line width in pixels"},
    {"width", "N", Group::Settings, Setting{&SettingOverrides::width, windowSides}, "window width"},
    {"height", "N", Group::Settings, Setting{&SettingOverrides::height, windowSides},
     "window height"},
    {"save", nullptr, Group::Settings, &Options::saveSettings,
     "store the settings (after the options above) and exit"},
    {"settings", nullptr, Group::Settings, &Options::printSettings, "print the settings and exit"},
    {"mouse-threshold", "N", Group::Running, Number{&Options::mouseThreshold, {0, 100000}},
     "with --fullscreen: pixels the mouse may travel along either axis\nbefore the saver ends"},
    {"max-fps", "N", Group::Running, Number{&Options::maxFps, {0, 1000}},
     "frame rate cap, 0 for none"},
    {"fps", nullptr, Group::Running, &Options::showFps,
     "report the first frame, the frame rate once a second, and where\ndrawing pauses and "
     "resumes, on standard error"},
    {"help", nullptr, Group::Running, &Options::showHelp, "show this help and exit", 'h'},
};

} // namespace

std::optional<std::int32_t> numberInRange(std::string_view text, SizeRange range) {
    const auto value = wholeNumber(text);
    if (!value || *value < range.lowest || *value > range.highest) {
        return std::nullopt;
    }
    return value;
}

std::string rangeText(SizeRange range) {
    return std::to_string(range.lowest) + " to " + std::to_string(range.highest);
}

// "wireframe, dotted, texture, all or 0 to 3"
std::string renderModeChoices() {
    std::string text;
    for (const RenderStyle& style : renderStyles) {
        text += std::string(style.optionName) + (&style == &renderStyles.back() ? " " : ", ");
    }
    return text + "or " + rangeText({renderStyles.front().value, renderStyles.back().value});
}

std::span<const OptionRow> optionTable() {
    return optionRows;
}

// X window ids are 29-bit numbers.
std::optional<unsigned long> parseWindowId(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto value = wholeNumber(text, base);
    if (!value || *value <= 0 || *value > 0x1FFFFFFF) {
        return std::nullopt;
    }
    return static_cast<unsigned long>(*value);
}
