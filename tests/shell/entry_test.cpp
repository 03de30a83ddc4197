#include "shell/entry.h"

#include "shell/run_mode.h"
#include "shell/saver_state.h"
#include "tests/shell/recording_platform.h"
#include "tests/temporary_config_home.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

WindowHandle window(long long number) {
    return reinterpret_cast<WindowHandle>(number);
}

struct Dispatch {
    const char* line;
    RunMode mode;
    std::vector<RecordedCall> calls;
};

std::ostream& operator<<(std::ostream& out, const Dispatch& d) {
    return out << '[' << d.line << ']';
}

class EntryTest : public testing::TestWithParam<Dispatch> {
  protected:
    void SetUp() override {
        recordedCalls.clear();
        reportedForegroundWindow = window(0x4242);
        reportedPreviewHost = window(0x5151);
        saverSettings = {};
        settingsSeenByHandler = {};
    }
    TemporaryConfigHome configHome; // no settings file: the defaults
};

TEST_P(EntryTest, ReachesTheHandlerOfTheModeWithTheGivenWindow) {
    const Dispatch& d = GetParam();
    EXPECT_EQ(runEntry(d.line), 0);
    EXPECT_EQ(runMode, d.mode);
    EXPECT_EQ(recordedCalls, d.calls);
    EXPECT_EQ(saverState, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EntryTest,
    testing::Values(Dispatch{"q.scr", RunMode::Configure, {{"configDialog", nullptr}}},
                    Dispatch{"q.scr /c", RunMode::Configure, {{"configDialog", window(0x4242)}}},
                    Dispatch{"q.scr /c:1234", RunMode::Configure, {{"configDialog", window(1234)}}},
                    Dispatch{
                        "q.scr /a 77", RunMode::ChangePassword, {{"changePassword", window(77)}}},
                    Dispatch{"q.scr /a", RunMode::ChangePassword, {{"changePassword", nullptr}}},
                    Dispatch{"q.scr /s 99", RunMode::Saver, {{"displayLoop", nullptr}}},
                    Dispatch{"q.scr /p 1234", RunMode::Preview, {{"displayLoop", window(1234)}}},
                    // A negative number widens by sign extension, as 64-bit Windows widens handles.
                    Dispatch{"q.scr /p -2", RunMode::Preview, {{"displayLoop", window(-2)}}},
                    Dispatch{"q.scr /p scrprev",
                             RunMode::Preview,
                             {{"findPreviewHost", nullptr}, {"displayLoop", window(0x5151)}}},
                    Dispatch{"q.scr /p Scrprev", RunMode::Preview, {{"displayLoop", nullptr}}},
                    Dispatch{"q.scr /x", RunMode::NoMode, {}},
                    Dispatch{"q.scr 1234", RunMode::NoMode, {}}));

TEST_F(EntryTest, ReadsTheSettingsBeforeAnyHandlerRuns) {
    runEntry("q.scr /s");
    EXPECT_EQ(std::memcmp(&settingsSeenByHandler, &defaultSettings, sizeof defaultSettings), 0);
}

TEST_F(EntryTest, ReadsTheSettingsAlsoWhenNoHandlerRuns) {
    runEntry("q.scr /x");
    EXPECT_EQ(std::memcmp(&saverSettings, &defaultSettings, sizeof defaultSettings), 0);
}

} // namespace
