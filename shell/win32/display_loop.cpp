// Preview and Saver from start to end: the window, the display mode, the OpenGL context and the
// message loop that asks for a frame whenever no message waits.

#include "shell/win32/display_loop.h"

#include "platform/mode_handlers.h"
#include "platform/render_output.h"
#include "platform/win32/process_handles.h"
#include "platform/window_handle.h"
#include "render/gl_error_check.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/run_mode.h"
#include "shell/saver_state.h"
#include "shell/win32/display_settings.h"
#include "shell/win32/frame_pacing.h"
#include "shell/win32/opengl_libraries.h"
#include "shell/win32/saver_display_mode.h"
#include "shell/win32/saver_window.h"
#include "shell/win32/screen_cover.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr char windowClassName[] = "ScrClass";
constexpr DWORD previewStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD saverStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

// The crash filter asks the window's thread to put the display back: only that thread can destroy
// the cover, and it draws nothing meanwhile (under Wine a mode change on one thread deadlocks with
// window work on another). A thread that does not answer in time is not waited for.
constexpr UINT releaseDisplayMessage = WM_APP;
constexpr UINT releaseDisplayAnswerMs = 2000;

// The mode before the switch. The crash filter reads it too, so it is not local to the run.
DisplayModeValues savedDisplayMode{};
LPTOP_LEVEL_EXCEPTION_FILTER filterBeforeSaver = nullptr;
// Set as the saver takes the display, taken by the one release that follows: a crash may
// release it first.
std::atomic<bool> displayTaken = false;
// Whether the display took the saver's mode; only then is the desktop's put back.
bool modeSwitched = false;

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

// Puts the display back as the saver found it; the cover goes first, so that it never shows over
// the desktop's own mode.
void releaseDisplay() {
    if (!displayTaken.exchange(false)) {
        return;
    }
    removeScreenCover();
    tellScreenSaverRunning(false);
    if (modeSwitched) {
        applyDisplayMode(savedDisplayMode, 0);
    }
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

// No mode taken leaves the desktop's: the saver window then covers the primary
// monitor, and the picture takes its size, in memory only.
void placeOverPrimaryMonitor(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcMonitor;
    saverSettings.resolutionX = std::min<LONG>(area.right - area.left, largestWindowSide);
    saverSettings.resolutionY = std::min<LONG>(area.bottom - area.top, largestWindowSide);
    SetWindowPos(window, nullptr, area.left, area.top, saverSettings.resolutionX,
                 saverSettings.resolutionY, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The configured resolution and depth, or what the display offers instead.
void switchDisplayMode() {
    savedDisplayMode = currentDisplayModeValues();
    filterBeforeSaver = SetUnhandledExceptionFilter(releaseDisplayOnCrash);
    modeSwitched = true; // until the display answers: a crash meanwhile puts it back
    displayTaken = true;
    const ModeSwitch modeSwitch = switchToSaverMode(
        savedDisplayMode, static_cast<DWORD>(saverSettings.resolutionX),
        static_cast<DWORD>(saverSettings.resolutionY), static_cast<DWORD>(saverSettings.bitDepth));
    modeSwitched = modeSwitch.changed;
    if (!modeSwitch.inSaverMode && renderWindow != nullptr) {
        placeOverPrimaryMonitor(static_cast<HWND>(renderWindow));
    }
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
    // Without the libraries no OpenGL call can be made: the same question as a scene that
    // cannot be set up, and the run ends whatever the answer.
    if (!loadOpenGlLibraries()) {
        askToAbort(renderWindow, setupErrorCaption);
        if (saver) {
            releaseDisplay();
        }
        return;
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
