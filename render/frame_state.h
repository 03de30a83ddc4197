#pragma once

#include <cstdint>

// The turn of the models in degrees: zero at start, never reset, +2 and +1 per model pass,
// wrapping modulo 2^32.
struct FrameAngles {
    std::int32_t angleX = 0;
    std::int32_t angleY = 0;
};

FrameAngles frameAngles();

// Lets tests and long runs start from any turn, such as one near the wrap.
void setFrameAngles(FrameAngles angles);
