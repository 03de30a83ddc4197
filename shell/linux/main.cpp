// The Linux program: a window or the full-screen saver on X11 or Wayland, an XScreenSaver
// hack, or a headless snapshot, all drawing the same picture as the Windows saver.

#include "settings/posix/settings_text.h"
#include "settings/saver_settings.h"
#include "shell/linux/options.h"
#include "shell/linux/snapshot.h"
#include "shell/linux/termination_signals.h"
#include "shell/wayland/run_on_wayland.h"
#include "shell/x11/run_on_display.h"

#include <cstdio>
#include <cstdlib>
#include <span>

int main(int argc, char** argv) {
    const ParsedOptions parsed =
        parseOptions(std::span<const char* const>(argv, static_cast<std::size_t>(argc)));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "quillmesh: %s\nTry 'quillmesh --help'.\n", parsed.error.c_str());
        return 2;
    }
    const Options& options = parsed.options;
    if (options.showHelp) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }

    readSettings();
    applyOverrides(options.overrides, saverSettings);
    if (options.saveSettings && !writeSettings()) {
        std::fputs("quillmesh: cannot store the settings in the settings file "
                   "($XDG_CONFIG_HOME/quillmesh/settings or ~/.config/quillmesh/settings)\n",
                   stderr);
        return 1;
    }
    if (options.printSettings) {
        std::fputs(describeSettings(saverSettings).c_str(), stdout);
    }
    if (options.saveSettings || options.printSettings) {
        return 0;
    }

    catchTerminationSignals();
    if (options.target == DisplayTarget::Snapshot) {
        return renderSnapshot(options);
    }
    if (chooseWindowSystem(options, std::getenv("WAYLAND_DISPLAY")) == WindowSystem::Wayland) {
        return runOnWayland(options);
    }
    return runOnDisplay(options);
}
