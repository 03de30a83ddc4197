#pragma once

#include "platform/window_messages.h"

#include <cstdint>

// What the saver takes when the platform's screen-saver key gives no value.
inline constexpr std::int32_t defaultPasswordDelay = 15;  // seconds
inline constexpr std::int32_t defaultMouseThreshold = 50; // pixels along one axis

// True when the cursor has moved strictly more than the threshold along either axis from start.
// A negative threshold makes every position count as travel.
bool travelBeyondThreshold(CursorPosition start, CursorPosition now, std::int32_t threshold);

// True while the password delay after the window's creation still runs. The tick counter wraps,
// and so does the delay in milliseconds: both are taken modulo 2^32.
bool withinPasswordDelay(std::uint32_t nowTick, std::uint32_t startTick,
                         std::int32_t passwordDelaySeconds);
