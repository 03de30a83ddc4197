#include "platform/render_output.h"

#include "platform/win32/process_handles.h"

#include <windows.h>

void swapFrameBuffers() {
    SwapBuffers(renderDC);
}

void askToAbort(WindowHandle owner, const char* caption) {
    if (MessageBoxA(static_cast<HWND>(owner), "Abbrechen?", caption, MB_YESNO) == IDYES) {
        PostQuitMessage(1);
    }
}
