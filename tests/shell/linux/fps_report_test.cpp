#include "shell/linux/fps_report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
const PaceClock::time_point start{seconds(100)};

std::string writtenTo(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(FpsReport, CountsFramesAcrossAPauseThatTheRateLeavesOut) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    FpsReport report(out, start);
    report.hiddenIs(Hidden::NotViewable, start); // before the first frame: nothing to pause
    report.hiddenIs(Hidden::No, start);
    for (int frame = 0; frame < 3; ++frame) {
        report.frameDrawn(start + milliseconds(10 * frame));
    }
    report.hiddenIs(Hidden::Covered, start + milliseconds(100));
    report.hiddenIs(Hidden::NotViewable, start + milliseconds(200)); // still paused
    const auto resumed = start + seconds(10);
    report.hiddenIs(Hidden::No, resumed);
    for (int frame = 1; frame < 30; ++frame) {
        report.frameDrawn(resumed + milliseconds(33 * frame));
    }
    report.frameDrawn(resumed + seconds(1));
    EXPECT_EQ(writtenTo(out), "quillmesh: first frame drawn\n"
                              "quillmesh: paused after 3 frames: the window is covered\n"
                              "quillmesh: resumed after 3 frames\n"
                              "quillmesh: 30.0 fps\n");
    std::fclose(out);
}

} // namespace
