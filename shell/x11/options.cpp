#include "shell/x11/options.h"

#include "render/render_styles.h"

#include <getopt.h>

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

enum OptionId : int {
    HelpOption = 'h',
    FullScreenOption = 256,
    RootOption,
    WindowIdOption,
    SnapshotOption,
    FrameOption,
    SizeOption,
    RenderModeOption,
    EnvMapOption,
    NoEnvMapOption,
    DotSizeOption,
    LineSizeOption,
    WidthOption,
    HeightOption,
    MouseThresholdOption,
    MaxFpsOption,
    FpsOption,
    SaveOption,
    SettingsOption,
};

constexpr std::array<option, 20> longOptions{{
    {"help", no_argument, nullptr, HelpOption},
    {"fullscreen", no_argument, nullptr, FullScreenOption},
    {"root", no_argument, nullptr, RootOption},
    {"window-id", required_argument, nullptr, WindowIdOption},
    {"snapshot", required_argument, nullptr, SnapshotOption},
    {"frame", required_argument, nullptr, FrameOption},
    {"size", required_argument, nullptr, SizeOption},
    {"rendermode", required_argument, nullptr, RenderModeOption},
    {"envmap", no_argument, nullptr, EnvMapOption},
    {"no-envmap", no_argument, nullptr, NoEnvMapOption},
    {"dot-size", required_argument, nullptr, DotSizeOption},
    {"line-size", required_argument, nullptr, LineSizeOption},
    {"width", required_argument, nullptr, WidthOption},
    {"height", required_argument, nullptr, HeightOption},
    {"mouse-threshold", required_argument, nullptr, MouseThresholdOption},
    {"max-fps", required_argument, nullptr, MaxFpsOption},
    {"fps", no_argument, nullptr, FpsOption},
    {"save", no_argument, nullptr, SaveOption},
    {"settings", no_argument, nullptr, SettingsOption},
    {nullptr, 0, nullptr, 0},
}};

constexpr std::int32_t largestSide = 16384;

std::optional<std::int32_t> wholeNumber(std::string_view text, int base = 10) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> numberInRange(std::string_view text, std::int32_t low,
                                          std::int32_t high) {
    const auto value = wholeNumber(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

std::string rangeError(std::string_view option, std::int32_t low, std::int32_t high,
                       std::string_view given) {
    return "--" + std::string(option) + ": expected a whole number from " + std::to_string(low) +
           " to " + std::to_string(high) + ", got '" + std::string(given) + "'";
}

// "wireframe, dotted, texture, all or 0 to 3"
std::string renderModeChoices() {
    std::string text;
    for (const RenderStyle& style : renderStyles) {
        text += std::string(style.optionName) + (&style == &renderStyles.back() ? " " : ", ");
    }
    return text + "or " + std::to_string(renderStyles.front().value) + " to " +
           std::to_string(renderStyles.back().value);
}

// A style's name or its value.
std::optional<std::int32_t> renderModeFrom(std::string_view text) {
    for (const RenderStyle& style : renderStyles) {
        if (text == style.optionName || wholeNumber(text) == style.value) {
            return style.value;
        }
    }
    return std::nullopt;
}

} // namespace

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

namespace {

std::optional<FrameSize> frameSizeFrom(std::string_view text) {
    const auto cross = text.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    const auto width = numberInRange(text.substr(0, cross), 1, largestSide);
    const auto height = numberInRange(text.substr(cross + 1), 1, largestSide);
    if (!width || !height) {
        return std::nullopt;
    }
    return FrameSize{*width, *height};
}

const char* targetOption(DisplayTarget target) {
    switch (target) {
    case DisplayTarget::FullScreen:
        return "--fullscreen";
    case DisplayTarget::RootWindow:
        return "--root";
    case DisplayTarget::GivenWindow:
        return "--window-id";
    case DisplayTarget::Snapshot:
        return "--snapshot";
    case DisplayTarget::OwnWindow:
        break;
    }
    return "";
}

class Parser {
  public:
    explicit Parser(Options& options) : options_(options) {}

    // Returns an error message, or an empty string.
    std::string take(int id, std::string_view value) {
        switch (id) {
        case HelpOption:
            options_.showHelp = true;
            return {};
        case FullScreenOption:
            return chooseTarget(DisplayTarget::FullScreen);
        case RootOption:
            return chooseTarget(DisplayTarget::RootWindow);
        case WindowIdOption: {
            const auto window = parseWindowId(value);
            if (!window) {
                return "--window-id: expected an X window id (decimal or 0x hexadecimal), got '" +
                       std::string(value) + "'";
            }
            options_.windowId = *window;
            return chooseTarget(DisplayTarget::GivenWindow);
        }
        case SnapshotOption:
            if (value.empty()) {
                return "--snapshot: expected the name of a PNG file";
            }
            options_.snapshotPath = value;
            return chooseTarget(DisplayTarget::Snapshot);
        case FrameOption:
            return number(value, "frame", 1, 100000, options_.snapshotFrame);
        case SizeOption:
            options_.snapshotSize = frameSizeFrom(value);
            if (!options_.snapshotSize) {
                return "--size: expected WIDTHxHEIGHT, each from 1 to " +
                       std::to_string(largestSide) + ", got '" + std::string(value) + "'";
            }
            return {};
        case RenderModeOption:
            options_.overrides.renderMode = renderModeFrom(value);
            if (!options_.overrides.renderMode) {
                return "--rendermode: expected " + renderModeChoices() + ", got '" +
                       std::string(value) + "'";
            }
            return {};
        case EnvMapOption:
            options_.overrides.envMap = 1;
            return {};
        case NoEnvMapOption:
            options_.overrides.envMap = 0;
            return {};
        case DotSizeOption:
            return setting(value, "dot-size", 1, 20, options_.overrides.dotSize);
        case LineSizeOption:
            return setting(value, "line-size", 1, 10, options_.overrides.lineSize);
        case WidthOption:
            return setting(value, "width", 1, largestSide, options_.overrides.width);
        case HeightOption:
            return setting(value, "height", 1, largestSide, options_.overrides.height);
        case MouseThresholdOption:
            return number(value, "mouse-threshold", 0, 100000, options_.mouseThreshold);
        case MaxFpsOption:
            return number(value, "max-fps", 0, 1000, options_.maxFps);
        case FpsOption:
            options_.showFps = true;
            return {};
        case SaveOption:
            options_.saveSettings = true;
            return {};
        case SettingsOption:
            options_.printSettings = true;
            return {};
        default:
            return "unknown option";
        }
    }

  private:
    std::string chooseTarget(DisplayTarget target) {
        if (options_.target != DisplayTarget::OwnWindow && options_.target != target) {
            return std::string(targetOption(options_.target)) + " and " + targetOption(target) +
                   " cannot be combined";
        }
        options_.target = target;
        return {};
    }

    static std::string number(std::string_view value, std::string_view name, std::int32_t low,
                              std::int32_t high, std::int32_t& field) {
        const auto parsed = numberInRange(value, low, high);
        if (!parsed) {
            return rangeError(name, low, high, value);
        }
        field = *parsed;
        return {};
    }

    static std::string setting(std::string_view value, std::string_view name, std::int32_t low,
                               std::int32_t high, std::optional<std::int32_t>& field) {
        std::int32_t parsed = 0;
        std::string error = number(value, name, low, high, parsed);
        if (error.empty()) {
            field = parsed;
        }
        return error;
    }

    Options& options_;
};

// XScreenSaver starts hacks with single-dash switches.
std::string withXScreenSaverSpelling(const char* argument) {
    for (const char* name : {"-root", "-window-id"}) {
        if (std::strcmp(argument, name) == 0) {
            return std::string("-") + argument;
        }
    }
    return argument;
}

} // namespace

ParsedOptions parseOptions(std::span<const char* const> arguments) {
    ParsedOptions parsed;
    // getopt_long may reorder its vector, so it works on a copy of the words.
    std::vector<std::string> words;
    for (const char* argument : arguments) {
        words.push_back(words.empty() ? std::string(argument) : withXScreenSaverSpelling(argument));
    }
    if (words.empty()) {
        words.emplace_back("quillmesh");
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    Parser parser(parsed.options);
    optind = 0; // a full restart of getopt's own state, so parsing can run more than once
    opterr = 0;
    int id = 0;
    int index = -1;
    while ((id = getopt_long(argc, argv.data(), "+:h", longOptions.data(), &index)) != -1) {
        if (id == '?' || id == ':') {
            // optind has moved past the word in question, except inside a word of short
            // options ("-rootx"), where it still points at that word.
            std::string word = argv[optind - 1];
            const bool shortOption = id == '?' && optopt > 0 && optopt < 256;
            if (shortOption && optind < argc && word != std::string{'-', char(optopt)}) {
                word = argv[optind];
            }
            parsed.error =
                id == '?' ? "unknown option '" + word + "'" : "option '" + word + "' needs a value";
            return parsed;
        }
        parsed.error = parser.take(id, optarg != nullptr ? optarg : "");
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
    return parsed;
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

std::string describeSettings(const SaverSettings& settings) {
    std::string text;
    for (const StoredSetting& setting : storedSettings) {
        text += std::string(setting.name) + '=' + std::to_string(settings.*setting.field) + '\n';
    }
    return text;
}

std::string helpText() {
    std::string text = R"(Usage: quillmesh [OPTION]...
A turning, breathing tube drawn with OpenGL: in a window, as a full-screen saver, as an
XScreenSaver hack, or headless into a PNG file.

Where to draw (choose one; the default is a window of its own, closed by Escape):
      --fullscreen         cover the screen; any key, mouse button, mouse travel beyond the
                           threshold or loss of focus ends it
      --root, -root        draw into $XSCREENSAVER_WINDOW, or the root window without it
      --window-id ID, -window-id ID
                           draw into an existing window (decimal or 0x hexadecimal)
      --snapshot FILE.png  render without an X server and write a PNG file
      --frame N            with --snapshot: the picture after N frames (1 to 100000; 1)
      --size WxH           with --snapshot: picture size (default: the resolution settings)

Settings (read from the settings file first; these override them):
      --rendermode MODE    )" +
                       renderModeChoices() + R"(
      --envmap             sphere-mapped environment texturing on
      --no-envmap          and off
      --dot-size N         point size in pixels, 1 to 20
      --line-size N        line width in pixels, 1 to 10
      --width N            window width, 1 to 16384
      --height N           window height, 1 to 16384
      --save               store the settings (after the options above) and exit
      --settings           print the settings and exit

Running:
      --mouse-threshold N  with --fullscreen: pixels the mouse may travel along either axis
                           before the saver ends (0 to 100000; 50)
      --max-fps N          frame rate cap, 0 for none (0 to 1000; 60)
      --fps                report the first frame, then the frame rate once a second, on
                           standard error
  -h, --help               show this help and exit

The settings file is $XDG_CONFIG_HOME/quillmesh/settings (default ~/.config/quillmesh/settings).
Exit status: 0 on success, 1 when the program cannot run or store its settings, 2 for a bad
command line.
)";
    return text;
}
