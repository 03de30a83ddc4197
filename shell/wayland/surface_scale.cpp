#include "shell/wayland/surface_scale.h"

#include <algorithm>

namespace {

std::int32_t scaled(std::int32_t logical, std::uint32_t scale) {
    return static_cast<std::int32_t>((std::int64_t{logical} * scale + unitScale / 2) / unitScale);
}

} // namespace

FrameSize bufferSize(FrameSize logical, std::uint32_t scale) {
    return {scaled(logical.width, scale), scaled(logical.height, scale)};
}

std::int32_t integerScale(std::span<const std::int32_t> outputScales, std::int32_t current) {
    if (outputScales.empty()) {
        return current;
    }
    return std::max(1, *std::max_element(outputScales.begin(), outputScales.end()));
}
