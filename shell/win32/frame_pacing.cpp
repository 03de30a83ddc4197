#include "shell/win32/frame_pacing.h"

#include "platform/win32/process_handles.h"
#include "platform/window_handle.h"
#include "render/frame.h"
#include "shell/frame_gate.h"

#include <versionhelpers.h>

#include <chrono>
#include <cstring>
#include <ratio>

namespace {

// Windows 8 and later tell the display's state (0 off, 1 on, 2 dimmed); Windows 7 has only the
// older notice of its power (0 off, 1 on).
constexpr GUID consoleDisplayState{
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
constexpr GUID monitorPowerOn{
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

// Frames asked for before the loop starts (by the timer, under the scene set-up's error box)
// are paced at the default rate.
FrameGate frameGate{refreshPeriod(0), GateClock::time_point{}};
HPOWERNOTIFY displayPowerNotice = nullptr;
HANDLE slotTimer = nullptr;

// A plain wait ends on the system's clock tick, 15.6 ms apart unless a program asks for finer:
// too coarse for frames 16.7 ms apart, let alone 6.9. Windows 10 1803 and later offer a timer
// that keeps to the slot without making the clock finer for every program.
constexpr DWORD highResolutionTimer = 0x00000002; // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

HANDLE createSlotTimer() {
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, highResolutionTimer, TIMER_ALL_ACCESS);
    return timer != nullptr ? timer : CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

// Armed for the time until the slot, rounded up so that the wait never ends before it.
bool armSlotTimer(GateClock::duration untilSlot) {
    using Ticks = std::chrono::duration<LONGLONG, std::ratio<1, 10'000'000>>;
    LARGE_INTEGER due;
    due.QuadPart = -std::chrono::ceil<Ticks>(untilSlot).count(); // negative: relative
    return slotTimer != nullptr && SetWaitableTimer(slotTimer, &due, 0, nullptr, nullptr, FALSE);
}

// The gate's clock, from the performance counter: steady_clock::now() would bring the C++
// runtime's exception machinery and winpthread into the .scr.
GateClock::time_point gateNow() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    const LONGLONG perSecond = frequency.QuadPart;
    const GateClock::duration whole = std::chrono::seconds(counter.QuadPart / perSecond);
    const GateClock::duration part(counter.QuadPart % perSecond * GateClock::period::den /
                                   perSecond);
    return GateClock::time_point(whole + part);
}

// A window shows nothing while it, or a window it lies in, is hidden or minimized.
bool canBeSeen(HWND window) {
    if (!IsWindowVisible(window)) {
        return false;
    }
    for (HWND around = window; around != nullptr; around = GetAncestor(around, GA_PARENT)) {
        if (IsIconic(around)) {
            return false;
        }
    }
    return true;
}

} // namespace

void startFramePacing() {
    // 0 and 1 stand for the hardware's default rate here as well.
    const auto frequency = static_cast<std::uint32_t>(GetDeviceCaps(renderDC, VREFRESH));
    frameGate = FrameGate(refreshPeriod(frequency), gateNow());
    slotTimer = createSlotTimer();
    // Until the platform says otherwise, the display counts as on.
    displayPowerNotice = RegisterPowerSettingNotification(
        static_cast<HWND>(renderWindow),
        IsWindows8OrGreater() ? &consoleDisplayState : &monitorPowerOn,
        DEVICE_NOTIFY_WINDOW_HANDLE);
}

void stopFramePacing() {
    if (slotTimer != nullptr) {
        CloseHandle(slotTimer);
        slotTimer = nullptr;
    }
    if (displayPowerNotice != nullptr) {
        UnregisterPowerSettingNotification(displayPowerNotice);
        displayPowerNotice = nullptr;
    }
}

void requestFrame() {
    if (frameGate.takeSlot(gateNow()) && canBeSeen(static_cast<HWND>(renderWindow))) {
        drawFrame();
    }
}

// MWMO_INPUTAVAILABLE: input that is queued already, not only what arrives from now on, ends the
// wait.
void waitForMessageOrFrame() {
    const auto untilSlot = frameGate.timeToNextSlot(gateNow());
    if (untilSlot && armSlotTimer(*untilSlot)) {
        MsgWaitForMultipleObjectsEx(1, &slotTimer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return;
    }
    const DWORD timeout =
        untilSlot
            ? static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(*untilSlot).count())
            : INFINITE;
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void noteDisplayPower(const POWERBROADCAST_SETTING& setting) {
    const bool aboutTheDisplay = IsEqualGUID(setting.PowerSetting, consoleDisplayState) ||
                                 IsEqualGUID(setting.PowerSetting, monitorPowerOn);
    if (!aboutTheDisplay || setting.DataLength < sizeof(DWORD)) {
        return;
    }
    DWORD state = 0;
    std::memcpy(&state, setting.Data, sizeof state);
    frameGate.setDisplayOn(state != 0);
}

void syncSwapsToRefresh() {
    // WGL_EXT_swap_control; without it the gate alone keeps to the refresh rate.
    using SwapIntervalFunction = BOOL(WINAPI*)(int);
    const auto setSwapInterval = reinterpret_cast<SwapIntervalFunction>(
        reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (setSwapInterval != nullptr) {
        setSwapInterval(1);
    }
}
