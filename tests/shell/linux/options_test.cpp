#include "shell/linux/options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace {

ParsedOptions parse(std::initializer_list<const char*> words) {
    std::vector<const char*> arguments{"quillmesh"};
    arguments.insert(arguments.end(), words);
    return parseOptions(arguments);
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

struct BadLine {
    std::vector<std::string> words;
    std::string mustName; // the option (or word) the message names
    std::string mustShow; // the accepted range or form
};

std::ostream& operator<<(std::ostream& out, const BadLine& line) {
    return out << '[' << joined(line.words) << ']';
}

class BadOptionTest : public testing::TestWithParam<BadLine> {};

TEST_P(BadOptionTest, IsRefusedWithAMessageNamingTheOptionAndItsRange) {
    std::vector<const char*> arguments{"quillmesh"};
    for (const std::string& word : GetParam().words) {
        arguments.push_back(word.c_str());
    }
    const ParsedOptions parsed = parseOptions(arguments);
    EXPECT_NE(parsed.error.find(GetParam().mustName), std::string::npos) << parsed.error;
    EXPECT_NE(parsed.error.find(GetParam().mustShow), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadOptionTest,
    testing::Values(
        BadLine{{"--dot-size", "0"}, "--dot-size", "1 to 20"},
        BadLine{{"--dot-size", "21"}, "--dot-size", "1 to 20"},
        BadLine{{"--dot-size", "8x"}, "--dot-size", "'8x'"},
        BadLine{{"--dot-size="}, "--dot-size", "1 to 20"},
        BadLine{{"--line-size", "11"}, "--line-size", "1 to 10"},
        BadLine{{"--line-size", "-1"}, "--line-size", "1 to 10"},
        BadLine{{"--width", "0"}, "--width", "1 to 16384"},
        BadLine{{"--height", "99999999999"}, "--height", "1 to 16384"},
        BadLine{{"--rendermode", "4"}, "--rendermode", "wireframe, dotted, texture, all or 0 to 3"},
        BadLine{{"--rendermode", "Wireframe"}, "--rendermode", "0 to 3"},
        BadLine{{"--max-fps", "-1"}, "--max-fps", "0 to 1000"},
        BadLine{{"--mouse-threshold", "abc"}, "--mouse-threshold", "0 to 100000"},
        BadLine{{"--frame", "0", "--snapshot", "a.png"}, "--frame", "1 to 100000"},
        BadLine{{"--snapshot", "a.png", "--size", "640"}, "--size", "WIDTHxHEIGHT"},
        BadLine{{"--snapshot", "a.png", "--size", "0x480"}, "--size", "1 to 16384"},
        BadLine{{"--snapshot", ""}, "--snapshot", "PNG file"},
        BadLine{{"--window-id", "0"}, "--window-id", "0x hexadecimal"},
        BadLine{{"--window-id", "0xZZ"}, "--window-id", "'0xZZ'"},
        BadLine{{"-window-id", "0x40000000"}, "--window-id", "X window id"},
        BadLine{{"--dot-size"}, "'--dot-size'", "needs a value"},
        BadLine{{"--sparkle"}, "'--sparkle'", "unknown option"},
        BadLine{{"-x"}, "'-x'", "unknown option"},
        BadLine{{"-rootx"}, "'-rootx'", "unknown option"},
        BadLine{{"extra"}, "'extra'", "unexpected argument"},
        BadLine{{"--fullscreen", "--root"}, "--fullscreen", "--root cannot be combined"},
        BadLine{{"--window-id", "5", "--snapshot", "a.png"}, "--window-id", "cannot be combined"},
        BadLine{{"--frame", "3"}, "--frame", "only with --snapshot"},
        BadLine{{"--x11", "--wayland"}, "--x11 and --wayland", "cannot be combined"},
        BadLine{{"--wayland", "-root"}, "--root", "X11 only"},
        BadLine{{"--window-id", "5", "--wayland"}, "--window-id", "X11 only"},
        BadLine{{"--size", "10x10"}, "--size", "only with --snapshot"}));

TEST(OptionsTest, NoArgumentsMeanAWindowWithDefaults) {
    const ParsedOptions parsed = parse({});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.target, DisplayTarget::OwnWindow);
    EXPECT_EQ(parsed.options.mouseThreshold, 50);
    EXPECT_EQ(parsed.options.maxFps, 60);
    EXPECT_FALSE(parsed.options.overrides.renderMode || parsed.options.overrides.envMap ||
                 parsed.options.overrides.dotSize || parsed.options.overrides.lineSize ||
                 parsed.options.overrides.width || parsed.options.overrides.height);
}

struct Target {
    std::vector<std::string> words;
    DisplayTarget target;
    unsigned long windowId;
};

std::ostream& operator<<(std::ostream& out, const Target& t) {
    return out << '[' << joined(t.words) << ']';
}

class TargetTest : public testing::TestWithParam<Target> {};

TEST_P(TargetTest, ChoosesWhereToDraw) {
    std::vector<const char*> arguments{"quillmesh"};
    for (const std::string& word : GetParam().words) {
        arguments.push_back(word.c_str());
    }
    const ParsedOptions parsed = parseOptions(arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.target, GetParam().target);
    EXPECT_EQ(parsed.options.windowId, GetParam().windowId);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TargetTest,
    testing::Values(Target{{"--fullscreen"}, DisplayTarget::FullScreen, 0},
                    Target{{"--root"}, DisplayTarget::RootWindow, 0},
                    Target{{"-root"}, DisplayTarget::RootWindow, 0},
                    Target{{"--root", "--root"}, DisplayTarget::RootWindow, 0},
                    Target{{"--window-id", "0x2a00007"}, DisplayTarget::GivenWindow, 0x2a00007},
                    Target{{"--window-id=4194311"}, DisplayTarget::GivenWindow, 4194311},
                    Target{{"-window-id", "0X1F"}, DisplayTarget::GivenWindow, 0x1f},
                    Target{{"--snapshot", "out.png"}, DisplayTarget::Snapshot, 0}));

TEST(OptionsTest, ChoosesTheWindowSystem) {
    struct Case {
        std::initializer_list<const char*> words;
        const char* waylandDisplay;
        WindowSystem system;
    };
    const Case cases[] = {
        {{}, nullptr, WindowSystem::X11},
        {{}, "", WindowSystem::X11},
        {{}, "wayland-1", WindowSystem::Wayland},
        {{"--fullscreen"}, "wayland-1", WindowSystem::Wayland},
        {{"--x11"}, "wayland-1", WindowSystem::X11},
        {{"--wayland"}, nullptr, WindowSystem::Wayland},
        {{"--wayland", "--wayland"}, nullptr, WindowSystem::Wayland},
        // XScreenSaver's hacks draw into its X window, in a Wayland session too.
        {{"--root"}, "wayland-1", WindowSystem::X11},
        {{"--window-id", "0x1f"}, "wayland-1", WindowSystem::X11},
    };
    for (const Case& given : cases) {
        const ParsedOptions parsed = parse(given.words);
        ASSERT_EQ(parsed.error, "");
        EXPECT_EQ(chooseWindowSystem(parsed.options, given.waylandDisplay), given.system)
            << (given.waylandDisplay ? given.waylandDisplay : "unset") << ", " << given.words.size()
            << " words";
    }
}

TEST(OptionsTest, RenderModeTakesNamesAndNumbers) {
    const std::pair<const char*, int> cases[] = {{"wireframe", 0}, {"dotted", 1}, {"texture", 2},
                                                 {"all", 3},       {"0", 0},      {"3", 3}};
    for (const auto& [given, mode] : cases) {
        const ParsedOptions parsed = parse({"--rendermode", given});
        ASSERT_EQ(parsed.error, "") << given;
        EXPECT_EQ(parsed.options.overrides.renderMode, mode) << given;
    }
}

TEST(OptionsTest, SnapshotTakesFrameAndSize) {
    const ParsedOptions parsed =
        parse({"--snapshot", "out.png", "--frame", "30", "--size", "320x200"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.snapshotPath, "out.png");
    EXPECT_EQ(parsed.options.snapshotFrame, 30);
    ASSERT_TRUE(parsed.options.snapshotSize);
    EXPECT_EQ(parsed.options.snapshotSize->width, 320);
    EXPECT_EQ(parsed.options.snapshotSize->height, 200);
}

TEST(OptionsTest, RunningAndStoringSwitches) {
    const ParsedOptions parsed = parse(
        {"--max-fps", "0", "--fps", "--mouse-threshold", "0", "--save", "--settings", "--help"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.maxFps, 0);
    EXPECT_EQ(parsed.options.mouseThreshold, 0);
    EXPECT_TRUE(parsed.options.showFps);
    EXPECT_TRUE(parsed.options.saveSettings);
    EXPECT_TRUE(parsed.options.printSettings);
    EXPECT_TRUE(parsed.options.showHelp);
}

TEST(OptionsTest, ParsingTwiceGivesTheSameResult) {
    // getopt keeps state between calls; each parse must start afresh.
    for (int round = 0; round < 2; ++round) {
        const ParsedOptions parsed = parse({"--dot-size", "5", "--fullscreen"});
        ASSERT_EQ(parsed.error, "") << round;
        EXPECT_EQ(parsed.options.overrides.dotSize, 5) << round;
        EXPECT_EQ(parsed.options.target, DisplayTarget::FullScreen) << round;
    }
}

TEST(OptionsTest, OverridesReplaceOnlyWhatWasGiven) {
    SaverSettings settings{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const ParsedOptions parsed = parse({"--rendermode", "dotted", "--envmap", "--dot-size", "20",
                                        "--line-size", "1", "--width", "640", "--height", "480"});
    ASSERT_EQ(parsed.error, "");
    applyOverrides(parsed.options.overrides, settings);
    const SaverSettings expected{640, 480, 3, 4, 5, 6, 1, 8, 1, 1, 20};
    for (const StoredSetting& setting : storedSettings) {
        EXPECT_EQ(settings.*setting.field, expected.*setting.field) << setting.name;
    }

    // A stored value outside the options' ranges stays as stored when no option is given.
    SaverSettings stored{0, -5, 16, 16, 8, 0, 7, 0, 2, 0, 50};
    const SaverSettings before = stored;
    applyOverrides(parse({}).options.overrides, stored);
    for (const StoredSetting& setting : storedSettings) {
        EXPECT_EQ(stored.*setting.field, before.*setting.field) << setting.name;
    }

    SaverSettings lit{defaultSettings};
    lit.envMap = 1;
    applyOverrides(parse({"--no-envmap"}).options.overrides, lit);
    EXPECT_EQ(lit.envMap, 0);
}

TEST(OptionsTest, HelpListsEveryOption) {
    const std::string help = helpText();
    for (const char* name :
         {"--fullscreen", "--root",   "--window-id", "--snapshot",        "--frame",     "--size",
          "--rendermode", "--envmap", "--no-envmap", "--dot-size",        "--line-size", "--width",
          "--height",     "--save",   "--settings",  "--mouse-threshold", "--max-fps",   "--fps",
          "--help",       "--x11",    "--wayland"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
}

TEST(OptionsTest, WindowIdsFromTheEnvironment) {
    EXPECT_EQ(parseWindowId("0x1c00005"), 0x1c00005ul);
    EXPECT_EQ(parseWindowId("29360133"), 29360133ul);
    EXPECT_EQ(parseWindowId(""), std::nullopt);
    EXPECT_EQ(parseWindowId("0x"), std::nullopt);
    EXPECT_EQ(parseWindowId("12 "), std::nullopt);
    EXPECT_EQ(parseWindowId("-3"), std::nullopt);
}

} // namespace
