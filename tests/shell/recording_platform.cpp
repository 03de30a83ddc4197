#include "tests/shell/recording_platform.h"

#include "platform/mode_handlers.h"
#include "settings/saver_settings.h"
#include "shell/saver_state.h"

void postCloseMessage(WindowHandle window) {
    recordedCalls.push_back({"postClose", window});
}
void sendSetCursorMessage(WindowHandle window) {
    recordedCalls.push_back({"setCursor", window});
}
CursorPosition currentCursorPosition() {
    return reportedCursor;
}

WindowHandle foregroundWindow() {
    return reportedForegroundWindow;
}
WindowHandle findPreviewHost() {
    recordedCalls.push_back({"findPreviewHost", nullptr});
    return reportedPreviewHost;
}

// The handlers also record whether the run's state was ready, and the settings they saw.
namespace {
std::string withState(const char* what) {
    settingsSeenByHandler = saverSettings;
    const bool ready = saverState != nullptr && saverState->passwordDelay == 15 &&
                       saverState->mouseThreshold == 50;
    return std::string(what) + (ready ? "" : " without state");
}
} // namespace

void changePassword(WindowHandle window) {
    recordedCalls.push_back({withState("changePassword"), window});
}
void showConfigDialog(WindowHandle owner) {
    recordedCalls.push_back({withState("configDialog"), owner});
}
void runDisplayLoop(WindowHandle window) {
    recordedCalls.push_back({withState("displayLoop"), window});
}
