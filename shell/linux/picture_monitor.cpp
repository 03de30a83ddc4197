#include "shell/linux/picture_monitor.h"

#include <algorithm>

ScreenArea pictureArea(std::span<const Monitor> monitors, ScreenArea screen) {
    const auto hasPixels = [](const Monitor& monitor) {
        return monitor.area.width > 0 && monitor.area.height > 0;
    };
    const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                      [&](const Monitor& m) { return m.primary && hasPixels(m); });
    if (primary != monitors.end()) {
        return primary->area;
    }
    const auto first = std::find_if(monitors.begin(), monitors.end(), hasPixels);
    return first != monitors.end() ? first->area : screen;
}
