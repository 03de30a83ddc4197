#pragma once

#include "shell/linux/options.h"

#include <cstdint>
#include <span>

// A surface's scale in 120ths, as wp_fractional_scale_v1 gives it; an integer scale n is 120 n.
inline constexpr std::uint32_t unitScale = 120;

// The buffer's pixels for a surface of the given logical size, rounded half away from zero as
// the fractional-scale protocol has it for toplevels. Exact for an integer scale.
FrameSize bufferSize(FrameSize logical, std::uint32_t scale);

// The integer scale of a surface on these outputs (their wl_output.scale): the largest, so that
// it is sharp where it is sharpest; on none, the one it had.
std::int32_t integerScale(std::span<const std::int32_t> outputScales, std::int32_t current);
