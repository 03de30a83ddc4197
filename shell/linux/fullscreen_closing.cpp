#include "shell/linux/fullscreen_closing.h"

#include "shell/closing_rules.h"

void FullScreenClosing::pointerAt(CursorPosition position) {
    if (!start_) {
        start_ = position;
        return;
    }
    closed_ |= travelBeyondThreshold(*start_, position, mouseThreshold_);
}
