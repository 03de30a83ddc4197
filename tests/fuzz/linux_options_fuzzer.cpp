// Any command line of the Linux program, the words split at NUL bytes. A command line that is
// accepted must leave every value in the range the help text promises; parsing the same words a
// second time must give the same result (getopt keeps state between calls).

#include "settings/posix/settings_text.h"
#include "shell/linux/options.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool within(const std::optional<std::int32_t>& value, std::int32_t low, std::int32_t high) {
    return !value || (*value >= low && *value <= high);
}

bool same(const ParsedOptions& a, const ParsedOptions& b) {
    const Options& x = a.options;
    const Options& y = b.options;
    const SettingOverrides& p = x.overrides;
    const SettingOverrides& q = y.overrides;
    const bool sameSize = x.snapshotSize.has_value() == y.snapshotSize.has_value() &&
                          (!x.snapshotSize || (x.snapshotSize->width == y.snapshotSize->width &&
                                               x.snapshotSize->height == y.snapshotSize->height));
    return a.error == b.error && x.target == y.target && x.windowSystem == y.windowSystem &&
           x.windowId == y.windowId && x.snapshotPath == y.snapshotPath &&
           x.snapshotFrame == y.snapshotFrame && sameSize && x.mouseThreshold == y.mouseThreshold &&
           x.maxFps == y.maxFps && x.showFps == y.showFps && x.saveSettings == y.saveSettings &&
           x.printSettings == y.printSettings && x.showHelp == y.showHelp &&
           p.renderMode == q.renderMode && p.envMap == q.envMap && p.dotSize == q.dotSize &&
           p.lineSize == q.lineSize && p.width == q.width && p.height == q.height;
}

void checkAccepted(const Options& options) {
    const SettingOverrides& given = options.overrides;
    require(within(given.renderMode, 0, 3) && within(given.envMap, 0, 1) &&
            within(given.dotSize, 1, 20) && within(given.lineSize, 1, 10) &&
            within(given.width, 1, 16384) && within(given.height, 1, 16384));
    require(options.mouseThreshold >= 0 && options.mouseThreshold <= 100000);
    require(options.maxFps >= 0 && options.maxFps <= 1000);
    require(options.snapshotFrame >= 1 && options.snapshotFrame <= 100000);
    require((options.target == DisplayTarget::Snapshot) == !options.snapshotPath.empty());
    require(options.target == DisplayTarget::Snapshot ||
            (!options.snapshotSize && options.snapshotFrame == 1));
    if (options.snapshotSize) {
        require(options.snapshotSize->width >= 1 && options.snapshotSize->width <= 16384 &&
                options.snapshotSize->height >= 1 && options.snapshotSize->height <= 16384);
    }
    require((options.target == DisplayTarget::GivenWindow) == (options.windowId != 0));
    require(options.windowId <= 0x1FFFFFFF);
    // X windows are for X11 alone.
    require(options.windowSystem != WindowSystem::Wayland ||
            (options.target != DisplayTarget::RootWindow &&
             options.target != DisplayTarget::GivenWindow));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words{"quillmesh"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    std::vector<const char*> arguments;
    for (const std::string& w : words) {
        arguments.push_back(w.c_str());
        if (const auto window = parseWindowId(w)) {
            require(*window >= 1 && *window <= 0x1FFFFFFF);
        }
    }

    const ParsedOptions first = parseOptions(arguments);
    require(same(first, parseOptions(arguments)));
    if (first.error.empty()) {
        checkAccepted(first.options);
        SaverSettings settings = defaultSettings;
        applyOverrides(first.options.overrides, settings);
        require(describeSettings(settings).size() > 0);
    }
    return 0;
}
