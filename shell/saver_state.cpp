#include "shell/saver_state.h"

#include "platform/settings_key.h"
#include "shell/closing_rules.h"

void SaverState::readPlatformValues() {
    passwordDelay = defaultPasswordDelay;
    mouseThreshold = defaultMouseThreshold;
    checkingPassword = false;
    SettingsKey* key = openKeyForReading(SettingsKeyName::PlatformScreenSaver);
    if (key == nullptr) {
        return;
    }
    // Each value falls back to its default on its own.
    queryKeyValue(key, "Password Delay", passwordDelay);
    queryKeyValue(key, "Mouse Threshold", mouseThreshold);
    closeKey(key);
}

void SaverState::requestClose() {
    closeRequested = true;
    postCloseMessage(window);
}

void SaverState::beginPasswordCheck() {
    checkingPassword = true;
    sendSetCursorMessage(window);
}

void SaverState::endPasswordCheck() {
    checkingPassword = false;
    sendSetCursorMessage(window);
    retakeStartCursor();
}

void SaverState::retakeStartCursor() {
    startCursor = currentCursorPosition();
}
