#pragma once

#include <cstdint>
#include <optional>

// The aspect ratio of a width × height window; none when a side is zero.
std::optional<double> aspectRatio(std::int32_t width, std::int32_t height);

// A 40° perspective for the window (none when a side is zero) and a viewport over all of it.
// Leaves the modelview matrix current and reset.
void setProjection(std::int32_t width, std::int32_t height);
