#pragma once

#include "shell/linux/picture_monitor.h"

#include <X11/Xlib.h>

#include <vector>

// The monitors of the default screen through RandR 1.5, and the events that tell when they change.
class MonitorWatch {
  public:
    // Asks for those events. Without RandR 1.5 the server reports no monitors.
    explicit MonitorWatch(Display* display);

    std::vector<Monitor> monitors() const;
    ScreenArea screen() const;

    // True when the monitors may have changed: RRScreenChangeNotify, or the root window's
    // ConfigureNotify, which is all that Xvfb sends when a monitor is added or removed. Brings
    // Xlib's size of the screen up to date.
    bool changedBy(XEvent& event) const;

  private:
    Display* display_;
    bool randr_ = false;
    bool monitorsKnown_ = false; // RandR 1.5
    int eventBase_ = 0;
};
