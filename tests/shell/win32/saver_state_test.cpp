#include "shell/saver_state.h"

#include "tests/win32_registry.h"

#include <gtest/gtest.h>

namespace {

class PlatformValuesTest : public testing::Test {
  protected:
    void SetUp() override { deleteKey(platformKey); }
    void TearDown() override { deleteKey(platformKey); }

    SaverState readState() {
        SaverState state;
        state.readPlatformValues();
        return state;
    }
};

TEST_F(PlatformValuesTest, NoKeyGivesFifteenSecondsAndFiftyPixels) {
    const SaverState state = readState();
    EXPECT_EQ(state.passwordDelay, 15);
    EXPECT_EQ(state.mouseThreshold, 50);
    EXPECT_FALSE(state.checkingPassword);
}

TEST_F(PlatformValuesTest, EachValueFallsBackOnItsOwn) {
    ASSERT_EQ(addValue(platformKey, "Mouse Threshold", "REG_DWORD", "7"), 0);
    SaverState state = readState();
    EXPECT_EQ(state.passwordDelay, 15);
    EXPECT_EQ(state.mouseThreshold, 7);

    ASSERT_EQ(addValue(platformKey, "Password Delay", "REG_DWORD", "4294967295"), 0);
    state = readState();
    EXPECT_EQ(state.passwordDelay, -1);
    EXPECT_EQ(state.mouseThreshold, 7);
}

TEST_F(PlatformValuesTest, FourBytesOfAnyTypeCountAndOtherLengthsFallBack) {
    ASSERT_EQ(addValue(platformKey, "Password Delay", "REG_BINARY", "3c000000"), 0);
    ASSERT_EQ(addValue(platformKey, "Mouse Threshold", "REG_BINARY", "0a00"), 0);
    SaverState state = readState();
    EXPECT_EQ(state.passwordDelay, 60);
    EXPECT_EQ(state.mouseThreshold, 50);

    ASSERT_EQ(addValue(platformKey, "Password Delay", "REG_SZ", "\"longer than four\""), 0);
    state = readState();
    EXPECT_EQ(state.passwordDelay, 15);
}

} // namespace
