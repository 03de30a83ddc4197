#pragma once

#include "platform/window_handle.h"

#include <cstdint>

// What the saver state asks of the window system.

struct CursorPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Queues a close request for the window; it is handled later, from the message loop.
void postCloseMessage(WindowHandle window);

// Lets the window procedure set the cursor at once.
void sendSetCursorMessage(WindowHandle window);

CursorPosition currentCursorPosition();

// Implementations: shell/win32/window_messages.cpp; tests/shell/recording_platform.cpp.
