// The window procedure on real windows and the real message queue. The clock, the password
// service and the frame pacing are the test's own, so that the close decision can be driven
// exactly.

#include "shell/win32/saver_window.h"

#include "shell/run_mode.h"
#include "shell/saver_state.h"
#include "shell/win32/frame_pacing.h"
#include "shell/win32/password.h"
#include "shell/win32/tick_count.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>

namespace {

std::uint32_t clockTick = 0;
int framesAskedFor = 0;
int displayPowerNotices = 0;

struct PasswordService {
    int answer = 1;
    int calls = 0;
    HWND parent = nullptr;
    bool checkingSeen = false;
    HCURSOR cursorSeen = nullptr;
    std::function<void(HWND)> meanwhile; // what the dialog's own message loop delivers
};
PasswordService passwordService;

} // namespace

std::uint32_t currentTickCount() {
    return clockTick;
}

void requestFrame() {
    ++framesAskedFor;
}

void noteDisplayPower(const POWERBROADCAST_SETTING&) {
    ++displayPowerNotices;
}

int verifyPassword(HWND window) {
    ++passwordService.calls;
    passwordService.parent = window;
    passwordService.checkingSeen = saverState->checkingPassword;
    passwordService.cursorSeen = GetCursor();
    if (passwordService.meanwhile) {
        passwordService.meanwhile(window);
    }
    return passwordService.answer;
}

namespace {

constexpr char testClassName[] = "SaverWindowTest";
constexpr POINT startPoint{400, 300};

HCURSOR arrowCursor() {
    return LoadCursorA(nullptr, IDC_ARROW);
}

class SaverWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = saverWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = testClassName;
        RegisterClassA(&windowClass);
    }

    void SetUp() override {
        state.passwordDelay = 15;
        state.mouseThreshold = 50;
        saverState = &state;
        clockTick = 5000;
        framesAskedFor = 0;
        displayPowerNotices = 0;
        passwordService = {};
        SetCursorPos(startPoint.x, startPoint.y);
        handleQueue();
    }

    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        handleQueue();
        saverState = nullptr;
    }

    // A hidden window, so that no real input or activation reaches it.
    void create(RunMode mode) {
        runMode = mode;
        window = CreateWindowExA(0, testClassName, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }

    void stopFrameTimer() { KillTimer(window, 0); }

    // Dispatches what is queued, as the display loop would; true when a quit message came.
    bool handleQueue() {
        bool quit = false;
        MSG message;
        for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (message.message == WM_QUIT) {
                quit = true;
            } else {
                DispatchMessageA(&message);
            }
        }
        return quit;
    }

    // Takes the queued close requests off the queue without handling them.
    int takeQueuedCloses() {
        int closes = 0;
        MSG message;
        while (PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
            ++closes;
        }
        return closes;
    }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window, message, wParam, lParam);
    }

    SaverState state;
    HWND window = nullptr;
};

TEST_F(SaverWindowTest, CreationTakesTheWindowCursorTickAndStartsTheTimerInEveryMode) {
    for (RunMode mode : {RunMode::Saver, RunMode::Preview}) {
        state = {};
        clockTick = 0xABCD1234;
        create(mode);
        EXPECT_EQ(state.window, window);
        EXPECT_EQ(state.startCursor.x, startPoint.x);
        EXPECT_EQ(state.startCursor.y, startPoint.y);
        EXPECT_EQ(state.startTick, 0xABCD1234u);
        EXPECT_NE(state.timerId, 0u);

        // The real 1 ms timer asks for frames.
        framesAskedFor = 0;
        const DWORD until = GetTickCount() + 200;
        while (framesAskedFor == 0 && GetTickCount() < until) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            handleQueue();
        }
        EXPECT_GT(framesAskedFor, 0);

        DestroyWindow(window);
        EXPECT_EQ(state.timerId, 0u);
        EXPECT_TRUE(handleQueue()) << "WM_DESTROY posts the quit message";
    }
}

TEST_F(SaverWindowTest, EveryTimerMessageAsksForAFrameWhateverTheModeOrCheck) {
    create(RunMode::Preview);
    stopFrameTimer();
    send(WM_TIMER, 77);
    runMode = RunMode::Saver;
    state.checkingPassword = true;
    send(WM_TIMER, 0);
    EXPECT_EQ(framesAskedFor, 2);
}

// Only a power setting's change carries a setting; the other power events carry none.
TEST_F(SaverWindowTest, PowerSettingChangesGoToTheFramePacing) {
    create(RunMode::Saver);
    POWERBROADCAST_SETTING setting{};
    send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
    send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(displayPowerNotices, 1);
}

struct InputRow {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool closesSaver;
};

std::ostream& operator<<(std::ostream& out, const InputRow& row) {
    return out << row.name;
}

class InputTest : public SaverWindowTest, public testing::WithParamInterface<InputRow> {};

TEST_P(InputTest, RequestsACloseInSaverModeOnlyAndNotDuringAPasswordCheck) {
    const InputRow& row = GetParam();
    create(RunMode::Saver);
    stopFrameTimer();
    send(row.message, row.wParam);
    EXPECT_EQ(state.closeRequested, row.closesSaver);
    EXPECT_EQ(takeQueuedCloses(), row.closesSaver ? 1 : 0);

    state.closeRequested = false;
    state.checkingPassword = true;
    send(row.message, row.wParam);
    EXPECT_FALSE(state.closeRequested);
    EXPECT_EQ(takeQueuedCloses(), 0);

    state.checkingPassword = false;
    runMode = RunMode::Preview;
    send(row.message, row.wParam);
    EXPECT_FALSE(state.closeRequested);
    EXPECT_EQ(takeQueuedCloses(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    MessageTable, InputTest,
    testing::Values(InputRow{"KeyDown", WM_KEYDOWN, 'A', true},
                    InputRow{"LeftButton", WM_LBUTTONDOWN, MK_LBUTTON, true},
                    InputRow{"RightButton", WM_RBUTTONDOWN, MK_RBUTTON, true},
                    InputRow{"MiddleButton", WM_MBUTTONDOWN, MK_MBUTTON, true},
                    InputRow{"Deactivate", WM_ACTIVATE, WA_INACTIVE, true},
                    InputRow{"DeactivateMinimized", WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), true},
                    InputRow{"AppDeactivate", WM_ACTIVATEAPP, FALSE, true},
                    InputRow{"AppActivate", WM_ACTIVATEAPP, TRUE, false},
                    InputRow{"NcDeactivate", WM_NCACTIVATE, FALSE, true},
                    InputRow{"NcActivate", WM_NCACTIVATE, TRUE, false},
                    InputRow{"SystemKey", WM_SYSKEYDOWN, VK_F10, false},
                    InputRow{"ButtonUp", WM_LBUTTONUP, 0, false}),
    [](const testing::TestParamInfo<InputRow>& row) { return row.param.name; });

TEST_F(SaverWindowTest, ActivationTakenByAModalBoxOfTheSaverDoesNotClose) {
    create(RunMode::Saver);
    stopFrameTimer();
    EnableWindow(window, FALSE); // as a modal message box owned by the window does
    send(WM_NCACTIVATE, FALSE);
    send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_FALSE(state.closeRequested);
    EnableWindow(window, TRUE);
    send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_TRUE(state.closeRequested);
}

TEST_F(SaverWindowTest, RunModeIsReadOnEveryMessage) {
    create(RunMode::Preview);
    stopFrameTimer();
    runMode = RunMode::Saver;
    send(WM_KEYDOWN, 'A');
    EXPECT_TRUE(state.closeRequested);
}

struct TravelRow {
    const char* name;
    int dx;
    int dy;
    std::int32_t threshold;
    bool closes;
};

std::ostream& operator<<(std::ostream& out, const TravelRow& row) {
    return out << row.name;
}

class TravelTest : public SaverWindowTest, public testing::WithParamInterface<TravelRow> {};

TEST_P(TravelTest, ClosesOnTravelStrictlyBeyondTheThresholdPerAxis) {
    const TravelRow& row = GetParam();
    state.mouseThreshold = row.threshold;
    create(RunMode::Saver);
    stopFrameTimer();
    SetCursorPos(startPoint.x + row.dx, startPoint.y + row.dy);
    // The message's own coordinates are not what counts.
    send(WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    EXPECT_EQ(state.closeRequested, row.closes);
    EXPECT_EQ(takeQueuedCloses(), row.closes ? 1 : 0);
}

// The rule's own cases are in the closing rules' tests; these show that the window measures
// from the start cursor, with the stored threshold.
INSTANTIATE_TEST_SUITE_P(Thresholds, TravelTest,
                         testing::Values(TravelRow{"ExactlyTheThresholdRight", 50, 0, 50, false},
                                         TravelRow{"OnePixelMoreUp", 0, -51, 50, true},
                                         TravelRow{"NegativeThresholdNoTravel", 0, 0, -1, true}),
                         [](const testing::TestParamInfo<TravelRow>& row) {
                             return row.param.name;
                         });

TEST_F(SaverWindowTest, TravelIsIgnoredInPreviewAndDuringAPasswordCheck) {
    create(RunMode::Preview);
    stopFrameTimer();
    SetCursorPos(startPoint.x + 200, startPoint.y);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(state.closeRequested);
    runMode = RunMode::Saver;
    state.checkingPassword = true;
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(state.closeRequested);
    EXPECT_EQ(takeQueuedCloses(), 0);
}

TEST_F(SaverWindowTest, CursorIsHiddenWhileTheSaverRunsAndAnArrowOtherwise) {
    struct Row {
        RunMode mode;
        bool checking;
        bool hidden;
    };
    create(RunMode::Saver);
    stopFrameTimer();
    for (const Row& row : {Row{RunMode::Saver, false, true}, Row{RunMode::Saver, true, false},
                           Row{RunMode::Preview, false, false}, Row{RunMode::Preview, true, false},
                           Row{RunMode::Saver, false, true}}) {
        runMode = row.mode;
        state.checkingPassword = row.checking;
        // As the platform sends it for the mouse, and as the password check sends it.
        for (LPARAM hitTest : {MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), LPARAM{0}}) {
            SetCursor(row.hidden ? arrowCursor() : nullptr);
            EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), hitTest), TRUE);
            EXPECT_EQ(GetCursor(), row.hidden ? nullptr : arrowCursor())
                << "mode " << static_cast<int>(row.mode) << ", checking " << row.checking
                << ", hit test " << hitTest;
        }
    }
}

// Compared as whole values: the default procedure takes SC_CLOSE | 3 as a close all the same.
TEST_F(SaverWindowTest, SaverSwallowsExactlyTheScreenSaveAndCloseSystemCommands) {
    struct Row {
        const char* name;
        WPARAM command;
        bool swallowed;
    };
    for (const Row& row :
         {Row{"SC_SCREENSAVE", SC_SCREENSAVE, true}, Row{"SC_CLOSE", SC_CLOSE, true},
          Row{"SC_CLOSE | 3", SC_CLOSE | 3, false}, Row{"SC_MINIMIZE", SC_MINIMIZE, false}}) {
        create(RunMode::Saver);
        stopFrameTimer();
        state.closeRequested = true; // a close that got through would destroy the window at once
        const LRESULT result = send(WM_SYSCOMMAND, row.command);
        handleQueue();
        const bool reachedTheDefaultProcedure = !IsWindow(window) || IsIconic(window);
        EXPECT_EQ(reachedTheDefaultProcedure, !row.swallowed) << row.name;
        if (row.swallowed) {
            EXPECT_EQ(result, 0) << row.name;
        }
        DestroyWindow(window);
        handleQueue();
    }

    create(RunMode::Preview);
    send(WM_SYSCOMMAND, SC_CLOSE);
    handleQueue();
    EXPECT_FALSE(IsWindow(window)) << "in Preview the default procedure closes the window";
}

TEST_F(SaverWindowTest, CloseFromOutsideBeforeTheSaverAskedIsIgnored) {
    create(RunMode::Saver);
    stopFrameTimer();
    EXPECT_EQ(send(WM_CLOSE), 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    handleQueue();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(passwordService.calls, 0);

    // Once the saver has asked, any close is decided like its own.
    state.closeRequested = true;
    send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, CloseInPreviewReachesTheDefaultProcedure) {
    create(RunMode::Preview);
    send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(handleQueue());
    EXPECT_EQ(passwordService.calls, 0);
}

struct DelayRow {
    const char* name;
    std::int32_t passwordDelay;
    std::uint32_t startTick;
    std::uint32_t closeTick;
    bool asksForPassword;
};

std::ostream& operator<<(std::ostream& out, const DelayRow& row) {
    return out << row.name;
}

class PasswordDelayTest : public SaverWindowTest, public testing::WithParamInterface<DelayRow> {};

TEST_P(PasswordDelayTest, ClosesAtOnceWithinTheDelayAndAsksAfterIt) {
    const DelayRow& row = GetParam();
    state.passwordDelay = row.passwordDelay;
    clockTick = row.startTick;
    create(RunMode::Saver);
    stopFrameTimer();
    send(WM_KEYDOWN, 'A');
    clockTick = row.closeTick;
    const bool quit = handleQueue();
    EXPECT_EQ(passwordService.calls, row.asksForPassword ? 1 : 0);
    EXPECT_FALSE(IsWindow(window)) << "the password service grants";
    EXPECT_TRUE(quit);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, PasswordDelayTest,
    testing::Values(DelayRow{"Immediately", 15, 5000, 5000, false},
                    DelayRow{"AtTheLimit", 15, 5000, 20000, false},
                    DelayRow{"OneTickAfter", 15, 5000, 20001, true},
                    DelayRow{"ZeroDelaySameTick", 0, 5000, 5000, false},
                    DelayRow{"ZeroDelayNextTick", 0, 5000, 5001, true},
                    DelayRow{"MinusOneNearlyFiftyDays", -1, 5000, 5000u + 4294966296u, false},
                    DelayRow{"MinusOneBeyondItsLimit", -1, 5000, 5000u + 4294966297u, true},
                    DelayRow{"WrapWithinTheDelay", 15, 0xFFFFF000u, 0x100u, false},
                    DelayRow{"WrapBeyondTheDelay", 15, 0xFFFFF000u, 0xFFFFF000u + 15001u, true}),
    [](const testing::TestParamInfo<DelayRow>& row) { return row.param.name; });

TEST_F(SaverWindowTest, PasswordCheckShowsTheArrowAndAGrantClosesTheWindow) {
    create(RunMode::Saver);
    stopFrameTimer();
    send(WM_KEYDOWN, 'A');
    clockTick += 15001;
    handleQueue();
    ASSERT_EQ(passwordService.calls, 1);
    EXPECT_EQ(passwordService.parent, window);
    EXPECT_TRUE(passwordService.checkingSeen);
    EXPECT_EQ(passwordService.cursorSeen, arrowCursor());
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, RefusalKeepsTheSaverRunningFromWhereTheCursorNowIs) {
    create(RunMode::Saver);
    stopFrameTimer();
    const std::uint32_t startTick = state.startTick;
    passwordService.answer = 0;
    passwordService.meanwhile = [](HWND) { SetCursorPos(100, 120); };
    send(WM_LBUTTONDOWN);
    clockTick += 60000;
    handleQueue();

    ASSERT_EQ(passwordService.calls, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(state.checkingPassword);
    EXPECT_EQ(GetCursor(), nullptr) << "hidden again";
    EXPECT_EQ(state.startCursor.x, 100);
    EXPECT_EQ(state.startCursor.y, 120);
    EXPECT_EQ(state.startTick, startTick);

    // Travel now counts from there, and every later close asks again.
    SetCursorPos(150, 170);
    send(WM_MOUSEMOVE);
    EXPECT_EQ(takeQueuedCloses(), 0);
    passwordService.answer = 1;
    send(WM_KEYDOWN, 'B');
    handleQueue();
    EXPECT_EQ(passwordService.calls, 2);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, InputDuringThePasswordDialogIsHarmlessAndFramesGoOn) {
    create(RunMode::Saver);
    stopFrameTimer();
    passwordService.answer = 0;
    passwordService.meanwhile = [](HWND dialogParent) {
        SendMessageA(dialogParent, WM_ACTIVATE, WA_INACTIVE, 0);
        SendMessageA(dialogParent, WM_KEYDOWN, 'A', 0);
        SetCursorPos(startPoint.x + 300, startPoint.y);
        SendMessageA(dialogParent, WM_MOUSEMOVE, 0, 0);
        SendMessageA(dialogParent, WM_CLOSE, 0, 0);
        SendMessageA(dialogParent, WM_TIMER, 0, 0);
    };
    send(WM_KEYDOWN, 'A');
    clockTick += 60000;
    handleQueue();
    EXPECT_EQ(passwordService.calls, 1) << "no close was queued or decided during the check";
    EXPECT_EQ(framesAskedFor, 1);
    EXPECT_TRUE(IsWindow(window));
}

} // namespace
