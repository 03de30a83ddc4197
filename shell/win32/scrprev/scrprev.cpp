// Scrprev: a small host for screen-saver previews. A top-level window of class "Scrprev" with one
// child window, the size of the platform's preview monitor, in which a saver started with
// "/p <child>" draws. It stays open until it is closed.

#include <windows.h>

namespace {

constexpr int previewWidth = 152;
constexpr int previewHeight = 112;
constexpr int margin = 16;

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The window the host's frame needs for a client area that holds the preview with a margin.
SIZE hostWindowSize(DWORD style) {
    RECT rect{0, 0, previewWidth + 2 * margin, previewHeight + 2 * margin};
    AdjustWindowRect(&rect, style, FALSE);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = hostWindowProc;
    hostClass.hInstance = instance;
    hostClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    hostClass.lpszClassName = "Scrprev";
    RegisterClassA(&hostClass);

    constexpr DWORD hostStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const SIZE size = hostWindowSize(hostStyle);
    HWND host = CreateWindowExA(0, "Scrprev", "Scrprev", hostStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    if (host == nullptr) {
        return 1;
    }
    // A plain child without a border: its outer size is the preview's size. It clips the saver's
    // child away from the host's own painting.
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, margin, margin,
                    previewWidth, previewHeight, host, nullptr, instance, nullptr);
    ShowWindow(host, showState);
    UpdateWindow(host);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
