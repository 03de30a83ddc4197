#include "shell/entry.h"

#include "platform/mode_handlers.h"
#include "settings/saver_settings.h"
#include "shell/command_line.h"
#include "shell/saver_state.h"

namespace {

WindowHandle givenWindow(const CommandLine& parsed) {
    switch (parsed.windowSource) {
    case GivenWindowSource::ForegroundWindow:
        return foregroundWindow();
    case GivenWindowSource::PreviewHost:
        return findPreviewHost();
    case GivenWindowSource::Number:
        break;
    }
    return windowFromNumber(parsed.windowNumber);
}

} // namespace

int runEntry(const char* commandLine) {
    const CommandLine parsed = parseCommandLine(commandLine);
    runMode = parsed.runMode;
    const WindowHandle window = givenWindow(parsed);

    SaverState state;
    saverState = &state;
    state.readPlatformValues();
    readSettings();

    switch (runMode) {
    case RunMode::ChangePassword:
        changePassword(window);
        break;
    case RunMode::Configure:
        showConfigDialog(window);
        break;
    case RunMode::Preview:
    case RunMode::Saver:
        runDisplayLoop(window);
        break;
    case RunMode::NoMode:
        break;
    }

    saverState = nullptr;
    return 0;
}
