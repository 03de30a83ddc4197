// The window-system calls behind the saver state.

#include "platform/window_messages.h"

#include <windows.h>

void postCloseMessage(WindowHandle window) {
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
}

void sendSetCursorMessage(WindowHandle window) {
    SendMessageA(static_cast<HWND>(window), WM_SETCURSOR, 0, 0);
}

CursorPosition currentCursorPosition() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}
