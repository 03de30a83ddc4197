// Preview and Saver from start to end: the window, the display mode, the OpenGL context and the
// message loop that asks for a frame whenever no message waits.

#include "shell/win32/display_loop.h"

#include "platform/mode_handlers.h"
#include "platform/win32/process_handles.h"
#include "platform/window_handle.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/run_mode.h"
#include "shell/saver_state.h"
#include "shell/win32/display_settings.h"
#include "shell/win32/frame_pacing.h"
#include "shell/win32/saver_window.h"
#include "shell/win32/screen_cover.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace {

constexpr char windowClassName[] = "ScrClass";
constexpr DWORD previewStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD saverStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD switchedModeFields =
    DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;

// The display-mode record in its 148-byte form, without the panning fields of later headers.
constexpr WORD displayModeRecordSize = offsetof(DEVMODEA, dmPanningWidth);
static_assert(displayModeRecordSize == 148);
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

struct DisplayModeValues {
    DWORD width;
    DWORD height;
    DWORD bitsPerPixel;
    DWORD frequency;
};

// The crash filter asks the window's thread to put the display back: only that thread can destroy
// the cover, and it draws nothing meanwhile (under Wine a mode change on one thread deadlocks with
// window work on another). A thread that does not answer in time is not waited for.
constexpr UINT releaseDisplayMessage = WM_APP;
constexpr UINT releaseDisplayAnswerMs = 2000;

// The mode before the switch. The crash filter reads it too, so it is not local to the run.
DisplayModeValues savedDisplayMode{};
LPTOP_LEVEL_EXCEPTION_FILTER filterBeforeSaver = nullptr;
// Set by the switch, taken by the one release that follows: a crash may release it first.
std::atomic<bool> displaySwitched = false;

void releaseDisplay();

LRESULT CALLBACK displayLoopWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == releaseDisplayMessage) {
        releaseDisplay();
        return TRUE;
    }
    return saverWindowProc(window, message, wParam, lParam);
}

void registerWindowClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = displayLoopWindowProc;
    windowClass.hInstance = moduleInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = windowClassName;
    RegisterClassA(&windowClass);
}

// A child covering the host window; lines and points one pixel wide, the picture the host's size.
HWND createPreviewWindow(HWND host) {
    RECT hostRect{};
    GetWindowRect(host, &hostRect);
    const int width = hostRect.right - hostRect.left;
    const int height = hostRect.bottom - hostRect.top;
    HWND window = CreateWindowExA(0, windowClassName, "SaverPreview", previewStyle, 0, 0, width,
                                  height, host, nullptr, moduleInstance, nullptr);
    saverSettings.resolutionX = width;
    saverSettings.resolutionY = height;
    saverSettings.dotSize = 1;
    saverSettings.lineSize = 1;
    return window;
}

// The part of a larger window that any screen could show is the same.
HWND createSaverWindow() {
    return CreateWindowExA(WS_EX_TOPMOST, windowClassName, "SaverWindow", saverStyle, 0, 0,
                           std::min(saverSettings.resolutionX, largestWindowSide),
                           std::min(saverSettings.resolutionY, largestWindowSide), nullptr, nullptr,
                           moduleInstance, nullptr);
}

// The current mode, with the mask of the fields the saver changes: whether the enumeration sets
// them is up to the driver, and a change without them in the mask does nothing.
DEVMODEA currentDisplayMode() {
    DEVMODEA mode{};
    mode.dmSize = displayModeRecordSize;
    mode.dmFields = switchedModeFields;
    readCurrentDisplayMode(mode);
    mode.dmFields |= switchedModeFields;
    return mode;
}

void applyDisplayMode(const DisplayModeValues& values, DWORD flags) {
    DEVMODEA mode = currentDisplayMode();
    mode.dmPelsWidth = values.width;
    mode.dmPelsHeight = values.height;
    mode.dmBitsPerPel = values.bitsPerPixel;
    mode.dmDisplayFrequency = values.frequency;
    changeDisplayMode(mode, flags);
}

// Puts the display back as the saver found it; the cover goes first, so that it never shows over
// the desktop's own mode.
void releaseDisplay() {
    if (!displaySwitched.exchange(false)) {
        return;
    }
    removeScreenCover();
    tellScreenSaverRunning(false);
    applyDisplayMode(savedDisplayMode, 0);
    SetUnhandledExceptionFilter(filterBeforeSaver);
}

// A crash must not leave the display in the saver's mode, nor the platform believing that a saver
// runs. The crash itself then takes its course.
LONG WINAPI releaseDisplayOnCrash(EXCEPTION_POINTERS*) {
    if (SendMessageTimeoutA(static_cast<HWND>(renderWindow), releaseDisplayMessage, 0, 0,
                            SMTO_ABORTIFHUNG, releaseDisplayAnswerMs, nullptr) == 0) {
        releaseDisplay();
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// The configured resolution and depth at the current frequency. CDS_FULLSCREEN makes the change
// temporary: the platform itself undoes it should the process end on a path that skips ours.
void switchDisplayMode() {
    const DEVMODEA current = currentDisplayMode();
    savedDisplayMode = {current.dmPelsWidth, current.dmPelsHeight, current.dmBitsPerPel,
                        current.dmDisplayFrequency};
    filterBeforeSaver = SetUnhandledExceptionFilter(releaseDisplayOnCrash);
    displaySwitched = true;
    applyDisplayMode({static_cast<DWORD>(saverSettings.resolutionX),
                      static_cast<DWORD>(saverSettings.resolutionY),
                      static_cast<DWORD>(saverSettings.bitDepth), current.dmDisplayFrequency},
                     CDS_FULLSCREEN);
}

void createRenderingContext() {
    renderDC = GetDC(static_cast<HWND>(renderWindow));
    PIXELFORMATDESCRIPTOR format;
    fillPixelFormat(format);
    SetPixelFormat(renderDC, ChoosePixelFormat(renderDC, &format), &format);
    renderContext = wglCreateContext(renderDC);
    wglMakeCurrent(renderDC, renderContext);
    syncSwapsToRefresh();
}

// Asks for a frame whenever the queue is empty, then sleeps until the next message or frame;
// the window procedure asks on timer ticks besides.
void runMessageLoop() {
    startFramePacing();
    MSG message;
    for (;;) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            requestFrame();
            waitForMessageOrFrame();
            continue;
        }
        if (message.message == WM_QUIT) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    stopFramePacing();
}

} // namespace

void fillPixelFormat(PIXELFORMATDESCRIPTOR& record) {
    record = {};
    record.nSize = sizeof record;
    record.nVersion = 1;
    record.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    record.iPixelType = PFD_TYPE_RGBA;
    record.cColorBits = static_cast<BYTE>(saverSettings.bitDepth);
    record.cAlphaBits = static_cast<BYTE>(saverSettings.alphaDepth);
    record.cDepthBits = static_cast<BYTE>(saverSettings.zBufferDepth);
    record.cStencilBits = static_cast<BYTE>(saverSettings.stencilDepth);
    record.iLayerType = PFD_MAIN_PLANE;
}

void runDisplayLoop(WindowHandle givenWindow) {
    registerWindowClass();
    const bool saver = runMode == RunMode::Saver;
    if (runMode == RunMode::Preview) {
        if (givenWindow == nullptr) {
            return;
        }
        renderWindow = createPreviewWindow(static_cast<HWND>(givenWindow));
    } else {
        if (saver) {
            prepareScreenCover();
        }
        renderWindow = createSaverWindow();
        if (saver) {
            switchDisplayMode();
        }
    }
    if (renderWindow == nullptr) {
        if (saver) {
            releaseDisplay();
        }
        return;
    }
    if (saver) {
        // A mode smaller than the desktop moves the pointer into it; that jump is no travel.
        saverState->retakeStartCursor();
        coverScreens(static_cast<HWND>(renderWindow));
        tellScreenSaverRunning(true);
    }
    createRenderingContext();
    setupScene();

    runMessageLoop();

    if (saver) {
        releaseDisplay();
    }
    // Deleting the context releases it from the thread as well.
    wglDeleteContext(renderContext);
    ReleaseDC(static_cast<HWND>(renderWindow), renderDC);
}
