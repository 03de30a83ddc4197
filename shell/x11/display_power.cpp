#include "shell/x11/display_power.h"

#include <X11/extensions/dpms.h>

bool displayPowerKnown(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    return DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

bool displayAsleep(Display* display) {
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    // With DPMS disabled the level says nothing.
    return DPMSInfo(display, &level, &enabled) && enabled && level != DPMSModeOn;
}
