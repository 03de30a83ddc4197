#include "shell/x11/monitors.h"

#include <X11/extensions/Xrandr.h>

MonitorWatch::MonitorWatch(Display* display) : display_(display) {
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (XRRQueryExtension(display, &eventBase_, &errorBase) &&
        XRRQueryVersion(display, &major, &minor)) {
        randr_ = true;
        monitorsKnown_ = major > 1 || (major == 1 && minor >= 5);
        XRRSelectInput(display, DefaultRootWindow(display), RRScreenChangeNotifyMask);
    }
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);
}

std::vector<Monitor> MonitorWatch::monitors() const {
    std::vector<Monitor> found;
    if (!monitorsKnown_) {
        return found;
    }
    int count = 0;
    XRRMonitorInfo* info = XRRGetMonitors(display_, DefaultRootWindow(display_), True, &count);
    for (int i = 0; i < count; ++i) {
        found.push_back(
            {{info[i].x, info[i].y, info[i].width, info[i].height}, info[i].primary != False});
    }
    if (info != nullptr) {
        XRRFreeMonitors(info);
    }
    return found;
}

ScreenArea MonitorWatch::screen() const {
    const int screen = DefaultScreen(display_);
    return {0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
}

bool MonitorWatch::changedBy(XEvent& event) const {
    const bool screenChange = randr_ && event.type == eventBase_ + RRScreenChangeNotify;
    const bool rootConfigured =
        event.type == ConfigureNotify && event.xconfigure.window == DefaultRootWindow(display_);
    if (randr_ && (screenChange || rootConfigured)) {
        XRRUpdateConfiguration(&event);
    }
    return screenChange || rootConfigured;
}
