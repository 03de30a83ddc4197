#include "shell/linux/options.h"

#include "render/render_styles.h"
#include "shell/linux/option_rows.h"

#include <getopt.h>

#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

std::optional<std::int32_t> wholeNumber(std::string_view text, int base = 10) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> numberInRange(std::string_view text, SizeRange range) {
    const auto value = wholeNumber(text);
    if (!value || *value < range.lowest || *value > range.highest) {
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

// Only the X11 shell can draw into a window that somebody else made.
bool drawsIntoAnXWindow(DisplayTarget target) {
    return target == DisplayTarget::RootWindow || target == DisplayTarget::GivenWindow;
}

// In the order of the help. A new option is one row.
const OptionRow optionRows[] = {
    {"fullscreen", nullptr, Group::Target, Target{DisplayTarget::FullScreen},
     "cover the screen (on Wayland every output); any key, mouse\n"
     "button, mouse travel beyond the threshold or loss of focus ends it"},
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

constexpr int firstRowId = 256; // getopt's id of the first row; below are short options

std::string optionOf(DisplayTarget target) {
    for (const OptionRow& row : optionRows) {
        if (const auto* action = std::get_if<Target>(&row.action);
            action != nullptr && action->target == target) {
            return "--" + std::string(row.name);
        }
    }
    return {};
}

std::string chooseTarget(Options& options, DisplayTarget target) {
    if (options.target != DisplayTarget::OwnWindow && options.target != target) {
        return optionOf(options.target) + " and " + optionOf(target) + " cannot be combined";
    }
    options.target = target;
    return {};
}

std::string readNumber(const OptionRow& row, SizeRange range, std::string_view value, auto& field) {
    const auto number = numberInRange(value, range);
    if (!number) {
        return "--" + std::string(row.name) + ": expected a whole number from " + rangeText(range) +
               ", got '" + std::string(value) + "'";
    }
    field = *number;
    return {};
}

// Returns an error message, or an empty string.
std::string take(const OptionRow& row, Options& options, std::string_view value) {
    struct Taker {
        const OptionRow& row;
        Options& options;
        std::string_view value;

        std::string operator()(const Target& action) const {
            std::string error = action.read ? action.read(options, value) : "";
            return error.empty() ? chooseTarget(options, action.target) : error;
        }
        std::string operator()(const Number& action) const {
            return readNumber(row, action.range, value, options.*action.field);
        }
        std::string operator()(const Setting& action) const {
            return readNumber(row, action.range, value, options.overrides.*action.field);
        }
        std::string operator()(const SettingSwitch& action) const {
            options.overrides.*action.field = action.value;
            return {};
        }
        std::string operator()(Flag flag) const {
            options.*flag = true;
            return {};
        }
        std::string operator()(ReadValue read) const { return read(options, value); }
    };
    return std::visit(Taker{row, options, value}, row.action);
}

const OptionRow& rowOf(int getoptId) {
    for (const OptionRow& row : optionRows) {
        if (row.shortName == getoptId) {
            return row;
        }
    }
    return optionRows[getoptId - firstRowId];
}

// XScreenSaver starts hacks with single-dash switches.
std::string withXScreenSaverSpelling(const char* argument) {
    for (const OptionRow& row : optionRows) {
        if (row.oneDashToo && argument[0] == '-' && argument[1] != '-' &&
            std::strcmp(argument + 1, row.name) == 0) {
            return std::string("-") + argument;
        }
    }
    return argument;
}

} // namespace

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

ParsedOptions parseOptions(std::span<const char* const> arguments) {
    ParsedOptions parsed;
    // getopt_long may reorder its vector, so it works on a copy of the words.
    std::vector<std::string> words{"quillmesh"};
    for (const char* argument : arguments.subspan(arguments.empty() ? 0 : 1)) {
        words.push_back(withXScreenSaverSpelling(argument));
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    std::vector<option> longOptions;
    std::string shortOptions = "+:";
    for (const OptionRow& row : optionRows) {
        const int id = firstRowId + static_cast<int>(&row - optionRows);
        longOptions.push_back(
            {row.name, row.argument ? required_argument : no_argument, nullptr, id});
        if (row.shortName != 0) {
            shortOptions += row.shortName;
        }
    }
    longOptions.push_back({});

    optind = 0; // a full restart of getopt's own state, so parsing can run more than once
    opterr = 0;
    int id = 0;
    while ((id = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(),
                             nullptr)) != -1) {
        if (id == '?' || id == ':') {
            // optind has moved past the word in question, except inside a word of short
            // options ("-rootx"), where it still points at that word.
            std::string word = argv[optind - 1];
            const bool shortOption = id == '?' && optopt > 0 && optopt < firstRowId;
            if (shortOption && optind < argc && word != std::string{'-', char(optopt)}) {
                word = argv[optind];
            }
            parsed.error =
                id == '?' ? "unknown option '" + word + "'" : "option '" + word + "' needs a value";
            return parsed;
        }
        parsed.error = take(rowOf(id), parsed.options, optarg != nullptr ? optarg : "");
        if (!parsed.error.empty()) {
            return parsed;
        }
    }
    if (optind < argc) {
        parsed.error = "unexpected argument '" + std::string(argv[optind]) + "'";
        return parsed;
    }
    const Options& options = parsed.options;
    if (options.target != DisplayTarget::Snapshot &&
        (options.snapshotSize || options.snapshotFrame != 1)) {
        parsed.error = "--frame and --size apply only with --snapshot";
    }
    if (options.windowSystem == WindowSystem::Wayland && drawsIntoAnXWindow(options.target)) {
        parsed.error = optionOf(options.target) +
                       " is X11 only: it draws into an X window (XSCREENSAVER_WINDOW's, the "
                       "root window or one given by id), so it cannot be used with --wayland";
    }
    return parsed;
}

WindowSystem chooseWindowSystem(const Options& options, const char* waylandDisplay) {
    if (options.windowSystem) {
        return *options.windowSystem;
    }
    if (drawsIntoAnXWindow(options.target)) {
        return WindowSystem::X11;
    }
    const bool waylandSession = waylandDisplay != nullptr && *waylandDisplay != '\0';
    return waylandSession ? WindowSystem::Wayland : WindowSystem::X11;
}

void applyOverrides(const SettingOverrides& overrides, SaverSettings& settings) {
    const std::pair<const std::optional<std::int32_t>&, std::int32_t&> fields[] = {
        {overrides.renderMode, settings.renderMode}, {overrides.envMap, settings.envMap},
        {overrides.dotSize, settings.dotSize},       {overrides.lineSize, settings.lineSize},
        {overrides.width, settings.resolutionX},     {overrides.height, settings.resolutionY},
    };
    for (const auto& [given, field] : fields) {
        if (given) {
            field = *given;
        }
    }
}
