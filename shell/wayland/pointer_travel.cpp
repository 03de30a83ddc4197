#include "shell/wayland/pointer_travel.h"

#include <cmath>
#include <cstdint>

namespace {

// Away from zero: 50.25 px is more than 50, as "more than the threshold" means.
std::int32_t wholePixels(double sum) {
    return static_cast<std::int32_t>(sum < 0.0 ? std::floor(sum) : std::ceil(sum));
}

} // namespace

void PointerTravel::positionAt(CursorPosition position) {
    if (!relativeSeen_) {
        position_ = CursorPosition{position.x + shift_.x, position.y + shift_.y};
    }
}

void PointerTravel::reenteredAt(CursorPosition position) {
    const CursorPosition counted = position_.value_or(anchor_);
    shift_ = {counted.x - position.x, counted.y - position.y};
}

void PointerTravel::movedBy(double dx, double dy) {
    relativeSeen_ = true;
    relativeInBatch_ = true;
    sumX_ += dx;
    sumY_ += dy;
}

std::optional<CursorPosition> PointerTravel::batchEnded() {
    std::optional<CursorPosition> moved;
    if (relativeInBatch_) {
        moved = CursorPosition{anchor_.x + wholePixels(sumX_), anchor_.y + wholePixels(sumY_)};
    } else if (position_) {
        anchor_ = *position_;
        moved = anchor_;
    }
    relativeInBatch_ = false;
    position_.reset();
    return moved;
}
