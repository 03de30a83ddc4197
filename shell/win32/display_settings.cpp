#include "shell/win32/display_settings.h"

void readCurrentDisplayMode(DEVMODEA& mode) {
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
}

LONG changeDisplayMode(DEVMODEA& mode, DWORD flags) {
    return ChangeDisplaySettingsA(&mode, flags);
}

void tellScreenSaverRunning(bool running) {
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}
