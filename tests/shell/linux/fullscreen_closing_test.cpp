#include "shell/linux/fullscreen_closing.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Step = std::function<void(FullScreenClosing&)>;

Step pointerAt(std::int32_t x, std::int32_t y) {
    return [=](FullScreenClosing& closing) { closing.pointerAt({x, y}); };
}
const Step key = [](FullScreenClosing& closing) { closing.keyPressed(); };
const Step button = [](FullScreenClosing& closing) { closing.buttonPressed(); };
const Step focusIn = [](FullScreenClosing& closing) { closing.focusGained(); };
const Step focusOut = [](FullScreenClosing& closing) { closing.focusLost(); };

struct Events {
    std::string name;
    std::vector<Step> steps;
    bool closed;
};

// The travel rule itself is the closing rules' own (tested there); here, what it is measured from.
TEST(FullScreenClosing, EndsOnInputAndOnFocusLostOnceGained) {
    const Events runs[] = {
        {"nothing", {}, false},
        {"a key", {key}, true},
        {"a button", {button}, true},
        {"travel of the threshold from the first position",
         {pointerAt(10, 10), pointerAt(60, 60)},
         false},
        {"one pixel more", {pointerAt(10, 10), pointerAt(60, 60), pointerAt(61, 10)}, true},
        {"the first position is no travel, however far", {pointerAt(5000, 5000)}, false},
        {"focus lost before it came", {focusOut, focusIn}, false},
        {"focus lost after it came", {focusIn, focusOut}, true},
    };
    for (const Events& run : runs) {
        FullScreenClosing closing(50);
        for (const Step& step : run.steps) {
            step(closing);
        }
        EXPECT_EQ(closing.closed(), run.closed) << run.name;
    }
}

} // namespace
