#include "shell/win32/screen_cover.h"

#include "platform/win32/process_handles.h"

namespace {

constexpr char coverClassName[] = "ScrCover";

HWND cover = nullptr;
HWND coveredSaver = nullptr;

LRESULT CALLBACK coverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        // The saver window losing the activation would end the saver.
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The saver window's rules decide; they take the cursor's position from the platform, not
        // from the message.
        return SendMessageA(coveredSaver, message, wParam, lParam);
    case WM_CLOSE:
        // Only the saver takes the cover away.
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerCoverClass() {
    WNDCLASSA coverClass{};
    coverClass.lpfnWndProc = coverWindowProc;
    coverClass.hInstance = moduleInstance;
    coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    coverClass.lpszClassName = coverClassName;
    RegisterClassA(&coverClass);
}

} // namespace

void prepareScreenCover() {
    registerCoverClass();
    cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, coverClassName,
                            "SaverCover", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, moduleInstance,
                            nullptr);
}

void coverScreens(HWND saverWindow) {
    coveredSaver = saverWindow;
    if (cover != nullptr) {
        SetWindowPos(cover, saverWindow, GetSystemMetrics(SM_XVIRTUALSCREEN),
                     GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_CYVIRTUALSCREEN), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void removeScreenCover() {
    if (cover == nullptr) {
        return;
    }
    // The crash filter may run on another thread, which cannot destroy the window, and must not
    // wait for the window's own thread to hide it: that thread may never answer again.
    if (GetWindowThreadProcessId(cover, nullptr) == GetCurrentThreadId()) {
        DestroyWindow(cover);
    } else {
        ShowWindowAsync(cover, SW_HIDE);
    }
    cover = nullptr;
}
