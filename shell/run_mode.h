#pragma once

#include <cstdint>

enum class RunMode : std::int32_t {
    NoMode = 0, // no recognised switch: nothing is shown
    Configure = 1,
    ChangePassword = 2,
    Preview = 3,
    Saver = 4,
};

// Written only by the entry; the window procedure reads it afresh on every message.
inline RunMode runMode = RunMode::NoMode;
