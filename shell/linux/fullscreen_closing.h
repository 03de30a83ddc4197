#pragma once

#include "platform/window_messages.h"

#include <cstdint>
#include <optional>

// When the full-screen saver ends, decided from plain events: a key, a button, the pointer
// travelling beyond the threshold along either axis from where it was first seen, or the focus
// going elsewhere once it had come to the saver.
class FullScreenClosing {
  public:
    explicit FullScreenClosing(std::int32_t mouseThreshold) : mouseThreshold_(mouseThreshold) {}

    void keyPressed() { closed_ = true; }
    void buttonPressed() { closed_ = true; }
    // The first position given is where travel is measured from.
    void pointerAt(CursorPosition position);
    void focusGained() { hadFocus_ = true; }
    // A focus that never came is not lost: the window system may take a moment to give it.
    void focusLost() { closed_ |= hadFocus_; }

    bool closed() const { return closed_; }

  private:
    std::int32_t mouseThreshold_;
    std::optional<CursorPosition> start_;
    bool hadFocus_ = false;
    bool closed_ = false;
};
