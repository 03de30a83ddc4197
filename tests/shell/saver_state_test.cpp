#include "shell/saver_state.h"

#include "tests/shell/recording_platform.h"
#include "tests/temporary_config_home.h"

#include <gtest/gtest.h>

namespace {

WindowHandle saverWindow() {
    return reinterpret_cast<WindowHandle>(0x1234);
}

class SaverStateTest : public testing::Test {
  protected:
    void SetUp() override {
        recordedCalls.clear();
        state.window = saverWindow();
    }
    SaverState state;
};

TEST_F(SaverStateTest, StartsWithoutWindowTimerOrCloseRequest) {
    const SaverState fresh;
    EXPECT_EQ(fresh.window, nullptr);
    EXPECT_EQ(fresh.timerId, 0u);
    EXPECT_FALSE(fresh.closeRequested);
}

TEST_F(SaverStateTest, PlatformValuesDefaultWhereThereIsNoPlatformKey) {
    TemporaryConfigHome home;
    state.passwordDelay = 3;
    state.mouseThreshold = 4;
    state.checkingPassword = true;
    state.readPlatformValues();
    EXPECT_EQ(state.passwordDelay, 15);
    EXPECT_EQ(state.mouseThreshold, 50);
    EXPECT_FALSE(state.checkingPassword);
}

TEST_F(SaverStateTest, EveryCloseRequestQueuesItsOwnClose) {
    state.requestClose();
    EXPECT_TRUE(state.closeRequested);
    state.requestClose();
    EXPECT_TRUE(state.closeRequested);
    const std::vector<RecordedCall> expected{{"postClose", saverWindow()},
                                             {"postClose", saverWindow()}};
    EXPECT_EQ(recordedCalls, expected);
}

TEST_F(SaverStateTest, PasswordCheckSetsTheCursorAndRetakesTheStartCursor) {
    state.startCursor = {10, 20};
    state.startTick = 777;
    reportedCursor = {300, 400};

    state.beginPasswordCheck();
    EXPECT_TRUE(state.checkingPassword);
    EXPECT_EQ(state.startCursor.x, 10);

    state.endPasswordCheck();
    EXPECT_FALSE(state.checkingPassword);
    EXPECT_EQ(state.startCursor.x, 300);
    EXPECT_EQ(state.startCursor.y, 400);
    EXPECT_EQ(state.startTick, 777u);
    const std::vector<RecordedCall> expected{{"setCursor", saverWindow()},
                                             {"setCursor", saverWindow()}};
    EXPECT_EQ(recordedCalls, expected);
}

} // namespace
