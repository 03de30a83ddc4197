#pragma once

#include <cstdint>
#include <span>

// A rectangle of the X screen (or of a compositor's global space), from its top left corner.
struct ScreenArea {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const ScreenArea&) const = default;
};

struct Monitor {
    ScreenArea area;
    bool primary = false;
};

// Where the full-screen saver draws its picture: all of the primary monitor, else of the first,
// as the Windows saver draws on the primary display; every other monitor stays black. With no
// monitor to go by, the whole screen. A monitor without pixels does not count.
ScreenArea pictureArea(std::span<const Monitor> monitors, ScreenArea screen);
