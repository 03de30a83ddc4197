#include "shell/closing_rules.h"

#include <cstdlib>

bool travelBeyondThreshold(CursorPosition start, CursorPosition now, std::int32_t threshold) {
    // In 64 bits, so that far-apart coordinates cannot overflow.
    const long long dx = std::llabs(static_cast<long long>(now.x) - start.x);
    const long long dy = std::llabs(static_cast<long long>(now.y) - start.y);
    return dx > threshold || dy > threshold;
}

bool withinPasswordDelay(std::uint32_t nowTick, std::uint32_t startTick,
                         std::int32_t passwordDelaySeconds) {
    const std::uint32_t elapsed = nowTick - startTick;
    const std::uint32_t limit = static_cast<std::uint32_t>(passwordDelaySeconds) * 1000u;
    return elapsed <= limit;
}
