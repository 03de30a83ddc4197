#include "shell/linux/options.h"

#include "shell/linux/option_rows.h"

#include <getopt.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace {

// Only the X11 shell can draw into a window that somebody else made.
bool drawsIntoAnXWindow(DisplayTarget target) {
    return target == DisplayTarget::RootWindow || target == DisplayTarget::GivenWindow;
}

constexpr int firstRowId = 256; // getopt's id of the first row; below are short options

std::string optionOf(DisplayTarget target) {
    for (const OptionRow& row : optionTable()) {
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
    for (const OptionRow& row : optionTable()) {
        if (row.shortName == getoptId) {
            return row;
        }
    }
    return optionTable()[static_cast<std::size_t>(getoptId - firstRowId)];
}

// XScreenSaver starts hacks with single-dash switches.
std::string withXScreenSaverSpelling(const char* argument) {
    for (const OptionRow& row : optionTable()) {
        if (row.oneDashToo && argument[0] == '-' && argument[1] != '-' &&
            std::strcmp(argument + 1, row.name) == 0) {
            return std::string("-") + argument;
        }
    }
    return argument;
}
} // namespace

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
    for (const OptionRow& row : optionTable()) {
        const int id = firstRowId + static_cast<int>(&row - optionTable().data());
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
