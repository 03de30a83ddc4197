// The display loop for real: windows, the pixel format, the rendering context and the message
// loop under Wine, with a scene, frames and a display of the test's own that look at what they
// were given.

#include "shell/win32/display_loop.h"

#include "platform/mode_handlers.h"
#include "platform/render_output.h"
#include "platform/win32/process_handles.h"
#include "platform/window_handle.h"
#include "render/frame.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "shell/run_mode.h"
#include "shell/saver_state.h"
#include "shell/win32/display_settings.h"
#include "shell/win32/opengl_libraries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct SceneSetup {
    int calls = 0;
    bool contextCurrent = false;
    PIXELFORMATDESCRIPTOR format{};
};
SceneSetup sceneSetup;

int framesDrawn = 0;
std::function<void(int frame)> onFrame;

struct ModeValues {
    DWORD width, height, bitsPerPixel, frequency;
    bool operator==(const ModeValues&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ModeValues& mode) {
    return out << mode.width << "x" << mode.height << "x" << mode.bitsPerPixel << "@"
               << mode.frequency;
}

ModeValues valuesOf(const DEVMODEA& mode) {
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency};
}

// What the run asked of the display, and what stood when it asked.
struct DisplayChange {
    ModeValues mode;
    DWORD fields;
    DWORD flags;
    bool saverWindowShown;
    bool coverShown;
    bool toldSaverRunning;
};

// A display that takes every mode it is given but the refused ones, and the lost ones, for which
// it answers success and keeps its mode.
struct Display {
    ModeValues current;
    std::vector<ModeValues> refused;
    std::vector<ModeValues> lost;
    int reads = 0;
    std::vector<DisplayChange> changes;
    std::vector<bool> notices;
    bool saverRunning = false;
};
Display display;

HWND screenCover() {
    return FindWindowA("ScrCover", nullptr);
}

} // namespace

void readCurrentDisplayMode(DEVMODEA& mode) {
    ++display.reads;
    EXPECT_EQ(mode.dmSize, 148);
    // The fields mask stays as the caller set it: whether the platform fills it is up to the
    // driver.
    mode.dmPelsWidth = display.current.width;
    mode.dmPelsHeight = display.current.height;
    mode.dmBitsPerPel = display.current.bitsPerPixel;
    mode.dmDisplayFrequency = display.current.frequency;
}

LONG changeDisplayMode(DEVMODEA& mode, DWORD flags) {
    EXPECT_EQ(mode.dmSize, 148);
    const HWND saverWindow = FindWindowA("ScrClass", "SaverWindow");
    display.changes.push_back({valuesOf(mode), mode.dmFields, flags,
                               saverWindow != nullptr && IsWindowVisible(saverWindow),
                               IsWindowVisible(screenCover()) != FALSE, display.saverRunning});
    if (std::find(display.refused.begin(), display.refused.end(), valuesOf(mode)) !=
        display.refused.end()) {
        return DISP_CHANGE_BADMODE;
    }
    if (std::find(display.lost.begin(), display.lost.end(), valuesOf(mode)) == display.lost.end()) {
        display.current = valuesOf(mode);
    }
    return DISP_CHANGE_SUCCESSFUL;
}

void tellScreenSaverRunning(bool running) {
    display.notices.push_back(running);
    display.saverRunning = running;
}

void setupScene() {
    ++sceneSetup.calls;
    sceneSetup.contextCurrent = renderContext != nullptr && wglGetCurrentContext() == renderContext;
    DescribePixelFormat(renderDC, GetPixelFormat(renderDC), sizeof sceneSetup.format,
                        &sceneSetup.format);
}

bool openGlLoads = true;
std::vector<std::string> questions;

bool loadOpenGlLibraries() {
    return openGlLoads;
}

void askToAbort(WindowHandle owner, const char* caption) {
    EXPECT_EQ(owner, renderWindow);
    questions.push_back(caption);
}

void drawFrame() {
    ++framesDrawn;
    if (onFrame) {
        onFrame(framesDrawn);
    }
}

namespace {

constexpr DWORD switchedFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
constexpr ModeValues desktopMode{1280, 1024, 32, 75};

// What a frame finds of its window and of the platform.
struct Seen {
    HWND parent = nullptr;
    RECT rect{};
    LONG style = 0;
    LONG extendedStyle = 0;
    std::string title;
    std::string className;
    DWORD classStyle = 0;
    HBRUSH background = nullptr;
    bool saverRunning = false;
    HWND active = nullptr;
    HWND beneath = nullptr; // next in the z-order
    bool closeRequested = false;
    HWND cover = nullptr;
    RECT coverRect{};
    LONG coverExtendedStyle = 0;
    bool coverShown = false;
};

RECT virtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Seen look(HWND window) {
    Seen seen;
    seen.parent = GetParent(window);
    GetWindowRect(window, &seen.rect);
    if (seen.parent != nullptr) {
        MapWindowPoints(nullptr, seen.parent, reinterpret_cast<POINT*>(&seen.rect), 2);
    }
    seen.style = GetWindowLongA(window, GWL_STYLE);
    seen.extendedStyle = GetWindowLongA(window, GWL_EXSTYLE);
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    seen.title = text;
    GetClassNameA(window, text, sizeof text);
    seen.className = text;
    seen.classStyle = static_cast<DWORD>(GetClassLongPtrA(window, GCL_STYLE));
    seen.background = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
    seen.saverRunning = display.saverRunning;
    seen.active = GetActiveWindow();
    seen.beneath = GetWindow(window, GW_HWNDNEXT);
    seen.closeRequested = saverState->closeRequested;
    seen.cover = screenCover();
    GetWindowRect(seen.cover, &seen.coverRect);
    seen.coverExtendedStyle = GetWindowLongA(seen.cover, GWL_EXSTYLE);
    seen.coverShown = IsWindowVisible(seen.cover) != FALSE;
    return seen;
}

LONG WINAPI filterOfTheTest(EXCEPTION_POINTERS*) {
    return EXCEPTION_CONTINUE_SEARCH;
}

LPTOP_LEVEL_EXCEPTION_FILTER currentExceptionFilter() {
    const LPTOP_LEVEL_EXCEPTION_FILTER filter = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(filter);
    return filter;
}

class DisplayLoopTest : public testing::Test {
  protected:
    void SetUp() override {
        saverSettings = defaultSettings;
        state = {};
        state.passwordDelay = 15;
        state.mouseThreshold = 50;
        saverState = &state;
        sceneSetup = {};
        framesDrawn = 0;
        onFrame = nullptr;
        renderWindow = nullptr;
        renderDC = nullptr;
        renderContext = nullptr;
        display = {};
        display.current = desktopMode;
        openGlLoads = true;
        questions.clear();
        SetUnhandledExceptionFilter(filterOfTheTest);
    }

    void TearDown() override {
        if (IsWindow(static_cast<HWND>(renderWindow))) {
            DestroyWindow(static_cast<HWND>(renderWindow));
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        saverState = nullptr;
        SetUnhandledExceptionFilter(nullptr);
    }

    // Looks at the first frame and runs the given step on the third.
    void onThirdFrame(std::function<void()> step) {
        onFrame = [this, step](int frame) {
            if (frame == 1) {
                seen = look(static_cast<HWND>(renderWindow));
            } else if (frame == 3) {
                step();
            }
        };
    }

    SaverState state;
    Seen seen;
};

TEST(PixelFormatTest, FollowsTheSettingsCutToEightBits) {
    struct Row {
        std::int32_t bitDepth, alphaDepth, zBufferDepth, stencilDepth;
        BYTE color, alpha, depth, stencil;
    };
    for (const Row& row : {Row{16, 8, 16, 0, 16, 8, 16, 0}, Row{24, 0, 32, 8, 24, 0, 32, 8},
                           Row{0x120, 256, -1, 0x7FFFFF03, 0x20, 0, 0xFF, 3}}) {
        saverSettings = defaultSettings;
        saverSettings.bitDepth = row.bitDepth;
        saverSettings.alphaDepth = row.alphaDepth;
        saverSettings.zBufferDepth = row.zBufferDepth;
        saverSettings.stencilDepth = row.stencilDepth;

        PIXELFORMATDESCRIPTOR expected;
        std::memset(&expected, 0, sizeof expected);
        expected.nSize = 40;
        expected.nVersion = 1;
        expected.dwFlags = 0x25;
        expected.iPixelType = PFD_TYPE_RGBA;
        expected.cColorBits = row.color;
        expected.cAlphaBits = row.alpha;
        expected.cDepthBits = row.depth;
        expected.cStencilBits = row.stencil;
        expected.iLayerType = PFD_MAIN_PLANE;

        PIXELFORMATDESCRIPTOR record;
        std::memset(&record, 0xA5, sizeof record); // whatever was there before is cleared
        fillPixelFormat(record);
        EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0)
            << "bit depth " << row.bitDepth << ", depth " << row.zBufferDepth;
    }
}

TEST_F(DisplayLoopTest, PreviewDrawsInAChildOfTheHostsSizeWithOnePixelLinesAndPoints) {
    runMode = RunMode::Preview;
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 10, 20, 152, 112,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    onThirdFrame([host] { DestroyWindow(host); });

    runDisplayLoop(host);

    EXPECT_EQ(sceneSetup.calls, 1);
    EXPECT_TRUE(sceneSetup.contextCurrent);
    EXPECT_TRUE(sceneSetup.format.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_GE(framesDrawn, 3);
    EXPECT_EQ(seen.parent, host);
    EXPECT_EQ(seen.rect.left, 0);
    EXPECT_EQ(seen.rect.top, 0);
    EXPECT_EQ(seen.rect.right, 152);
    EXPECT_EQ(seen.rect.bottom, 112);
    EXPECT_EQ(seen.style, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(seen.extendedStyle, 0);
    EXPECT_EQ(seen.title, "SaverPreview");
    EXPECT_EQ(seen.className, "ScrClass");
    EXPECT_EQ(seen.classStyle, static_cast<DWORD>(CS_OWNDC));
    EXPECT_EQ(seen.background, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(display.reads, 0) << "Preview leaves the display mode alone";
    EXPECT_TRUE(display.changes.empty());
    EXPECT_TRUE(display.notices.empty()) << "and tells the platform nothing";
    EXPECT_EQ(seen.cover, nullptr);
    EXPECT_EQ(saverSettings.resolutionX, 152);
    EXPECT_EQ(saverSettings.resolutionY, 112);
    EXPECT_EQ(saverSettings.dotSize, 1);
    EXPECT_EQ(saverSettings.lineSize, 1);
    EXPECT_EQ(saverSettings.bitDepth, defaultSettings.bitDepth);
    EXPECT_EQ(currentExceptionFilter(), filterOfTheTest);
}

TEST_F(DisplayLoopTest, PreviewWithoutAHostEndsAtOnce) {
    runMode = RunMode::Preview;
    runDisplayLoop(nullptr);
    EXPECT_EQ(renderWindow, nullptr);
    EXPECT_EQ(sceneSetup.calls, 0);
    EXPECT_EQ(framesDrawn, 0);
    EXPECT_EQ(saverSettings.resolutionX, defaultSettings.resolutionX);
}

TEST_F(DisplayLoopTest, SaverCoversTheScreenTopmostOverABlackCoverAndEndsOnAKey) {
    runMode = RunMode::Saver;
    saverSettings.resolutionX = 640;
    saverSettings.resolutionY = 480;
    LPTOP_LEVEL_EXCEPTION_FILTER filterDuringRun = nullptr;
    HWND saverWindow = nullptr;
    onThirdFrame([&] {
        filterDuringRun = currentExceptionFilter();
        saverWindow = static_cast<HWND>(renderWindow);
        SendMessageA(static_cast<HWND>(renderWindow), WM_KEYDOWN, 'A', 0);
    });

    runDisplayLoop(nullptr);

    EXPECT_EQ(sceneSetup.calls, 1);
    EXPECT_TRUE(sceneSetup.contextCurrent);
    EXPECT_EQ(seen.parent, nullptr);
    EXPECT_EQ(seen.rect.left, 0);
    EXPECT_EQ(seen.rect.top, 0);
    EXPECT_EQ(seen.rect.right, 640);
    EXPECT_EQ(seen.rect.bottom, 480);
    EXPECT_EQ(static_cast<DWORD>(seen.style),
              static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_TRUE(seen.extendedStyle & WS_EX_TOPMOST);
    EXPECT_EQ(seen.title, "SaverWindow");
    EXPECT_EQ(seen.className, "ScrClass");
    EXPECT_TRUE(seen.saverRunning);
    EXPECT_NE(filterDuringRun, filterOfTheTest) << "a crash filter guards the display";
    // Every monitor black beneath the saver window, which keeps the activation.
    ASSERT_NE(seen.cover, nullptr);
    const RECT screen = virtualScreen();
    EXPECT_TRUE(EqualRect(&seen.coverRect, &screen));
    EXPECT_TRUE(seen.coverShown);
    EXPECT_TRUE(seen.coverExtendedStyle & WS_EX_TOPMOST);
    EXPECT_EQ(seen.beneath, seen.cover);
    EXPECT_EQ(seen.active, saverWindow);
    EXPECT_FALSE(seen.closeRequested);

    EXPECT_FALSE(IsWindow(static_cast<HWND>(renderWindow))) << "the key closed the window";
    EXPECT_EQ(screenCover(), nullptr);
    EXPECT_EQ(display.notices, (std::vector<bool>{true, false}));
    EXPECT_EQ(currentExceptionFilter(), filterOfTheTest);
}

// The window first, then the switch, then the notice; back in the reverse order.
TEST_F(DisplayLoopTest, SaverSwitchesToTheSettingsAtTheCurrentFrequencyAndBack) {
    struct Row {
        std::int32_t width, height, bitDepth;
    };
    for (const Row& row : {Row{800, 600, 16}, Row{640, 480, 24}}) {
        SetUp();
        runMode = RunMode::Saver;
        saverSettings.resolutionX = row.width;
        saverSettings.resolutionY = row.height;
        saverSettings.bitDepth = row.bitDepth;
        onThirdFrame([] { SendMessageA(static_cast<HWND>(renderWindow), WM_KEYDOWN, 'A', 0); });

        runDisplayLoop(nullptr);

        ASSERT_EQ(display.changes.size(), 2u) << row.bitDepth;
        const DisplayChange& to = display.changes[0];
        EXPECT_EQ(to.mode, (ModeValues{DWORD(row.width), DWORD(row.height), DWORD(row.bitDepth),
                                       desktopMode.frequency}));
        EXPECT_EQ(to.fields & switchedFields, switchedFields);
        EXPECT_EQ(to.flags, DWORD(CDS_FULLSCREEN)) << "undone by the platform should we not";
        EXPECT_TRUE(to.saverWindowShown);
        EXPECT_FALSE(to.coverShown) << "the cover follows the switch";
        EXPECT_FALSE(to.toldSaverRunning);
        const DisplayChange& back = display.changes[1];
        EXPECT_EQ(back.mode, desktopMode);
        EXPECT_EQ(back.fields & switchedFields, switchedFields);
        EXPECT_EQ(back.flags, 0u);
        EXPECT_FALSE(back.coverShown) << "and goes before the switch back";
        EXPECT_FALSE(back.toldSaverRunning);
        EXPECT_EQ(display.notices, (std::vector<bool>{true, false}));
        TearDown();
    }
}

RECT primaryMonitor() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcMonitor;
}

// A refused mode: the same size at 32 bits per pixel, then the desktop's own mode with the saver
// over the primary monitor and the picture its size. A mode answered as taken is switched back,
// also when the display kept its own.
TEST_F(DisplayLoopTest, SaverFallsBackToWhatTheDisplayOffers) {
    const RECT monitor = primaryMonitor();
    struct Row {
        std::int32_t width, height, bitDepth;
        std::vector<DWORD> refused, lost, asked; // bits per pixel at the row's size
        bool overMonitor;
    };
    for (const Row& row : {Row{800, 600, 24, {24}, {}, {24, 32}, false},
                           Row{1600, 1200, 24, {24, 32}, {}, {24, 32}, true},
                           Row{1000, 700, 32, {32}, {}, {32}, true},
                           Row{800, 600, 16, {}, {16, 32}, {16, 32}, true}}) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << "x" << row.bitDepth);
        SetUp();
        const auto modes = [&row](const std::vector<DWORD>& depths) {
            std::vector<ModeValues> result;
            for (const DWORD bits : depths) {
                result.push_back(
                    {DWORD(row.width), DWORD(row.height), bits, desktopMode.frequency});
            }
            return result;
        };
        runMode = RunMode::Saver;
        saverSettings.resolutionX = row.width;
        saverSettings.resolutionY = row.height;
        saverSettings.bitDepth = row.bitDepth;
        display.refused = modes(row.refused);
        display.lost = modes(row.lost);
        SaverSettings during{};
        onFrame = [&](int frame) {
            if (frame == 1) {
                seen = look(static_cast<HWND>(renderWindow));
                during = saverSettings;
                SendMessageA(static_cast<HWND>(renderWindow), WM_KEYDOWN, 'A', 0);
            }
        };

        runDisplayLoop(nullptr);

        std::vector<ModeValues> expectedAsks = modes(row.asked);
        if (row.refused.size() < row.asked.size()) {
            expectedAsks.push_back(desktopMode);
        }
        std::vector<ModeValues> asked;
        for (const DisplayChange& change : display.changes) {
            asked.push_back(change.mode);
        }
        EXPECT_EQ(asked, expectedAsks);
        EXPECT_EQ(display.current, desktopMode);
        const RECT expected = row.overMonitor ? monitor : RECT{0, 0, row.width, row.height};
        EXPECT_TRUE(EqualRect(&seen.rect, &expected));
        EXPECT_EQ(during.resolutionX, expected.right - expected.left);
        EXPECT_EQ(during.resolutionY, expected.bottom - expected.top);
        EXPECT_EQ(during.bitDepth, row.bitDepth) << "the pixel format still asks for it";
        EXPECT_TRUE(seen.coverShown);
        EXPECT_EQ(seen.beneath, seen.cover);
        EXPECT_EQ(screenCover(), nullptr);
        EXPECT_EQ(display.notices, (std::vector<bool>{true, false}));
        EXPECT_EQ(currentExceptionFilter(), filterOfTheTest);
        TearDown();
    }
}

// The same question as a scene that cannot be set up; nothing can be drawn, so the run ends.
TEST_F(DisplayLoopTest, OpenGlThatCannotBeLoadedAsksAndEndsTheRunWithTheDisplayBack) {
    runMode = RunMode::Saver;
    openGlLoads = false;
    runDisplayLoop(nullptr);
    EXPECT_EQ(questions, (std::vector<std::string>{"Error beim Initialisieren des Objektes"}));
    EXPECT_EQ(sceneSetup.calls, 0);
    EXPECT_EQ(framesDrawn, 0);
    EXPECT_EQ(renderContext, nullptr);
    EXPECT_EQ(display.current, desktopMode);
    EXPECT_EQ(display.changes.size(), 2u);
    EXPECT_EQ(screenCover(), nullptr);
    EXPECT_EQ(display.notices, (std::vector<bool>{true, false}));
    EXPECT_EQ(currentExceptionFilter(), filterOfTheTest);
}

TEST_F(DisplayLoopTest, SaverWindowStopsAtTheLargestDrawableSideWhileTheSettingsStay) {
    runMode = RunMode::Saver;
    saverSettings.resolutionX = 100000;
    saverSettings.resolutionY = 300;
    onThirdFrame([] { SendMessageA(static_cast<HWND>(renderWindow), WM_KEYDOWN, 'A', 0); });

    runDisplayLoop(nullptr);

    EXPECT_EQ(seen.rect.right - seen.rect.left, 16384);
    EXPECT_EQ(seen.rect.bottom - seen.rect.top, 300);
    EXPECT_EQ(saverSettings.resolutionX, 100000) << "the picture still follows the settings";
}

TEST_F(DisplayLoopTest, QuitFromAnErrorBoxTearsDownTheSameWay) {
    runMode = RunMode::Saver;
    onThirdFrame([] { PostQuitMessage(1); });
    runDisplayLoop(nullptr);
    EXPECT_TRUE(seen.saverRunning);
    EXPECT_TRUE(IsWindow(static_cast<HWND>(renderWindow))) << "the window goes with the process";
    EXPECT_TRUE(seen.coverShown);
    EXPECT_EQ(screenCover(), nullptr) << "the cover does not";
    EXPECT_FALSE(display.changes.back().coverShown);
    EXPECT_EQ(display.current, desktopMode);
    EXPECT_FALSE(display.saverRunning);
    EXPECT_EQ(currentExceptionFilter(), filterOfTheTest);
}

// On a thread of its own the filter hands the release to the window's thread, the only one that
// can destroy the cover; either way the display goes back once.
TEST_F(DisplayLoopTest, CrashFilterPutsTheDisplayBackAndLetsTheCrashGoOn) {
    for (const bool ownThread : {false, true}) {
        SCOPED_TRACE(ownThread ? "a crash on a thread of its own" : "a crash on the loop's thread");
        SetUp();
        runMode = RunMode::Saver;
        const DWORD loopThread = GetCurrentThreadId();
        Display afterCrash;
        HWND coverAfterCrash = nullptr;
        LONG verdict = 0;
        const auto crash = [&] {
            EXCEPTION_RECORD record{};
            record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
            CONTEXT context{};
            EXCEPTION_POINTERS pointers{&record, &context};
            verdict = currentExceptionFilter()(&pointers);
            afterCrash = display;
            coverAfterCrash = screenCover();
            PostThreadMessageA(loopThread, WM_QUIT, 0, 0);
        };
        std::thread crashing;
        onThirdFrame([&] {
            if (ownThread) {
                crashing = std::thread(crash);
            } else {
                crash();
            }
        });
        runDisplayLoop(nullptr);
        if (crashing.joinable()) {
            crashing.join();
        }
        EXPECT_TRUE(seen.saverRunning);
        EXPECT_EQ(verdict, EXCEPTION_CONTINUE_SEARCH);
        EXPECT_EQ(afterCrash.current, desktopMode);
        EXPECT_EQ(coverAfterCrash, nullptr);
        EXPECT_FALSE(afterCrash.saverRunning);
        EXPECT_EQ(display.changes.size(), 2u) << "the switch and one switch back";
        TearDown();
    }
}

// The mouse over the other monitors counts as over the saver window: the cursor, travel from
// the start cursor and the buttons (real clicks and travel: tests/e2e/two_monitors.sh). Neither a
// click nor a close from outside takes the cover.
TEST_F(DisplayLoopTest, TheMouseOnTheCoverCountsAsOnTheSaverWindow) {
    runMode = RunMode::Saver;
    SetCursorPos(400, 300);
    bool cursorHidden = false, closedEarly = true, activates = true, coverClosed = true;
    onThirdFrame([&] {
        const HWND cover = screenCover();
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        SendMessageA(cover, WM_SETCURSOR, reinterpret_cast<WPARAM>(cover),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        cursorHidden = GetCursor() == nullptr;
        SetCursorPos(450, 350);
        SendMessageA(cover, WM_MOUSEMOVE, 0, 0);
        activates = SendMessageA(cover, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(cover),
                                 MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)) != MA_NOACTIVATE;
        SendMessageA(cover, WM_CLOSE, 0, 0);
        coverClosed = !IsWindow(cover);
        closedEarly = state.closeRequested;
        SendMessageA(cover, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    });

    runDisplayLoop(nullptr);

    EXPECT_TRUE(cursorHidden);
    EXPECT_FALSE(closedEarly) << "50 px of travel on both axes";
    EXPECT_FALSE(activates);
    EXPECT_FALSE(coverClosed);
    EXPECT_TRUE(state.closeRequested) << "a button";
    EXPECT_FALSE(IsWindow(static_cast<HWND>(renderWindow)));
}

// Where the platform puts the pointer when the switch makes the screen smaller than it stood
// on: moved after the window's creation, before the run goes on.
HHOOK creationHook = nullptr;
std::uint32_t startTickAtCreation = 0;

LRESULT CALLBACK movePointerAfterCreation(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_CREATE && saverState->window == call->hwnd) {
        startTickAtCreation = saverState->startTick;
        SetCursorPos(700, 500);
    }
    return CallNextHookEx(creationHook, code, wParam, lParam);
}

TEST_F(DisplayLoopTest, TravelCountsFromWhereThePointerStoodAfterTheSwitch) {
    runMode = RunMode::Saver;
    SetCursorPos(100, 100);
    creationHook = SetWindowsHookExA(WH_CALLWNDPROCRET, movePointerAfterCreation, nullptr,
                                     GetCurrentThreadId());
    ASSERT_NE(creationHook, nullptr);
    bool closedWithoutTravel = true;
    onThirdFrame([&] {
        const HWND window = static_cast<HWND>(renderWindow);
        SendMessageA(window, WM_MOUSEMOVE, 0, 0);
        closedWithoutTravel = state.closeRequested;
        SetCursorPos(751, 500);
        SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    });

    runDisplayLoop(nullptr);
    UnhookWindowsHookEx(creationHook);

    EXPECT_FALSE(closedWithoutTravel) << "the platform's move of the pointer is no travel";
    EXPECT_TRUE(state.closeRequested) << "51 pixels of travel after it are";
    EXPECT_FALSE(IsWindow(static_cast<HWND>(renderWindow)));
    EXPECT_EQ(state.startTick, startTickAtCreation);
}

HHOOK refusingHook = nullptr;

// Refuses the saver window; the cover, made before it, is let through.
LRESULT CALLBACK refuseWindowCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const char* className = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
        if (HIWORD(reinterpret_cast<UINT_PTR>(className)) != 0 &&
            std::strcmp(className, "ScrClass") == 0) {
            return 1;
        }
    }
    return CallNextHookEx(refusingHook, code, wParam, lParam);
}

TEST_F(DisplayLoopTest, SaverWindowThatCannotBeCreatedEndsTheRunWithTheDisplayBack) {
    runMode = RunMode::Saver;
    refusingHook = SetWindowsHookExA(WH_CBT, refuseWindowCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(refusingHook, nullptr);
    runDisplayLoop(nullptr);
    UnhookWindowsHookEx(refusingHook);
    EXPECT_EQ(renderWindow, nullptr);
    EXPECT_EQ(sceneSetup.calls, 0);
    EXPECT_EQ(framesDrawn, 0);
    EXPECT_EQ(display.changes.size(), 2u) << "switched as always, and back";
    EXPECT_EQ(screenCover(), nullptr);
    EXPECT_EQ(display.current, desktopMode);
    EXPECT_EQ(std::count(display.notices.begin(), display.notices.end(), true), 0)
        << "never told that a saver runs";
    EXPECT_EQ(currentExceptionFilter(), filterOfTheTest);
}

// Steps taken by a timer of the test's own while the loop runs, 200 ms apart; the last must end
// the run. Gives whether frames were drawn before the first step and after each but the last.
std::vector<std::function<void()>> steps;
std::vector<bool> drewBetweenSteps;
int framesAtLastStep = 0;

void CALLBACK takeNextStep(HWND, UINT, UINT_PTR, DWORD) {
    drewBetweenSteps.push_back(framesDrawn > framesAtLastStep);
    framesAtLastStep = framesDrawn;
    if (drewBetweenSteps.size() <= steps.size()) {
        steps[drewBetweenSteps.size() - 1]();
    }
}

std::vector<bool> runInSteps(HWND givenWindow, std::vector<std::function<void()>> runSteps) {
    steps = std::move(runSteps);
    drewBetweenSteps.clear();
    framesAtLastStep = framesDrawn;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, takeNextStep);
    runDisplayLoop(givenWindow);
    KillTimer(nullptr, timer);
    return drewBetweenSteps;
}

std::function<void()> tellDisplayState(DWORD state) {
    return [state] {
        constexpr GUID consoleDisplayState{
            0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
        static_assert(offsetof(POWERBROADCAST_SETTING, Data) + sizeof state <=
                      sizeof(POWERBROADCAST_SETTING));
        POWERBROADCAST_SETTING setting{consoleDisplayState, sizeof state, {}};
        std::memcpy(setting.Data, &state, sizeof state);
        SendMessageA(static_cast<HWND>(renderWindow), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                     reinterpret_cast<LPARAM>(&setting));
    };
}

// Off, dimmed, off, on.
TEST_F(DisplayLoopTest, SaverDrawsNothingWhileTheDisplayIsOffAndGoesOnWhenOnOrDimmed) {
    runMode = RunMode::Saver;
    EXPECT_EQ(
        runInSteps(nullptr,
                   {tellDisplayState(0), tellDisplayState(2), tellDisplayState(0),
                    tellDisplayState(1),
                    [] { SendMessageA(static_cast<HWND>(renderWindow), WM_KEYDOWN, 'A', 0); }}),
        (std::vector<bool>{true, false, true, false, true}));
}

// The host in a window of its own, as the platform's preview monitor lies in its dialog.
TEST_F(DisplayLoopTest, PreviewDrawsNothingWhileItsHostIsHiddenOrAWindowAboveMinimized) {
    runMode = RunMode::Preview;
    HWND dialog = CreateWindowExA(0, "STATIC", "dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20,
                                  300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_CHILD | WS_VISIBLE, 10, 10, 152, 112,
                                dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    const auto show = [](HWND window, int how) { return [=] { ShowWindow(window, how); }; };
    EXPECT_EQ(runInSteps(host, {show(host, SW_HIDE), show(host, SW_SHOW), show(dialog, SW_MINIMIZE),
                                show(dialog, SW_RESTORE), [=] { DestroyWindow(dialog); }}),
              (std::vector<bool>{true, false, true, false, true}));
}

} // namespace
