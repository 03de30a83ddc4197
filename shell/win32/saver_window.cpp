#include "shell/win32/saver_window.h"

#include "shell/closing_rules.h"
#include "shell/run_mode.h"
#include "shell/saver_state.h"
#include "shell/win32/frame_pacing.h"
#include "shell/win32/password.h"
#include "shell/win32/tick_count.h"

namespace {

// The frame timer's identifier on its window.
constexpr UINT_PTR frameTimer = 0;

void startRun(HWND window) {
    SaverState& state = *saverState;
    state.window = window;
    state.startCursor = currentCursorPosition();
    state.startTick = currentTickCount();
    // Not 0 when the timer runs. KillTimer takes the identifier, so this value never goes back.
    state.timerId = static_cast<std::uint32_t>(SetTimer(window, frameTimer, 1, nullptr));
}

void endRun(HWND window) {
    SaverState& state = *saverState;
    if (state.timerId != 0) {
        KillTimer(window, frameTimer);
    }
    state.timerId = 0;
    PostQuitMessage(0);
}

// Only the saver's own close requests count, and none while the password dialog is up.
void decideClose(HWND window) {
    SaverState& state = *saverState;
    if (!state.closeRequested || state.checkingPassword) {
        return;
    }
    if (withinPasswordDelay(currentTickCount(), state.startTick, state.passwordDelay)) {
        DestroyWindow(window);
        return;
    }
    state.beginPasswordCheck();
    const int granted = verifyPassword(window);
    state.endPasswordCheck();
    if (granted != 0) {
        DestroyWindow(window);
    }
}

void showCursorFor(bool saverRunning) {
    SetCursor(saverRunning && !saverState->checkingPassword ? nullptr
                                                            : LoadCursorA(nullptr, IDC_ARROW));
}

void closeOnInput() {
    if (!saverState->checkingPassword) {
        saverState->requestClose();
    }
}

void closeOnTravel() {
    SaverState& state = *saverState;
    if (!state.checkingPassword &&
        travelBeyondThreshold(state.startCursor, currentCursorPosition(), state.mouseThreshold)) {
        state.requestClose();
    }
}

} // namespace

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool saver = runMode == RunMode::Saver;
    switch (message) {
    case WM_CREATE:
        startRun(window);
        break;
    case WM_DESTROY:
        endRun(window);
        break;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        // A modal box or dialog of the saver's own (an error box, the password dialog) disables
        // the window while it is up; its taking the activation is no reason to close.
        if (saver && LOWORD(wParam) == 0 && IsWindowEnabled(window)) {
            closeOnInput();
        }
        break;
    case WM_CLOSE:
        if (saver) {
            decideClose(window);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        // Handled: the default procedure would put the arrow back for the hit-test code 0 that
        // the password check sends.
        showCursorFor(saver);
        return TRUE;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (saver) {
            closeOnInput();
        }
        break;
    case WM_SYSCOMMAND:
        if (saver && (wParam == SC_SCREENSAVE || wParam == SC_CLOSE)) {
            return 0;
        }
        break;
    case WM_TIMER:
        requestFrame();
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE) {
            noteDisplayPower(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
        }
        break;
    case WM_MOUSEMOVE:
        if (saver) {
            closeOnTravel();
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
