#include "shell/linux/picture_monitor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const ScreenArea screen{0, 0, 1600, 600};
const ScreenArea left{0, 0, 800, 600};
const ScreenArea right{800, 0, 800, 600};

struct Layout {
    std::string name;
    std::vector<Monitor> monitors;
    ScreenArea picture;
};

TEST(PictureArea, ThePrimaryMonitorElseTheFirstElseTheScreen) {
    const Layout layouts[] = {
        {"no monitor reported", {}, screen},
        {"one monitor", {{left, false}}, left},
        {"the primary one, wherever it stands", {{left, false}, {right, true}}, right},
        {"without a primary, the first", {{right, false}, {left, false}}, right},
        {"an empty primary does not count", {{{0, 0, 0, 600}, true}, {right, false}}, right},
        {"nor an empty first", {{{0, 0, 800, 0}, false}, {right, false}}, right},
        {"only empty ones: the screen", {{{0, 0, 0, 0}, true}}, screen},
    };
    for (const Layout& layout : layouts) {
        EXPECT_EQ(pictureArea(layout.monitors, screen), layout.picture) << layout.name;
    }
}

} // namespace
