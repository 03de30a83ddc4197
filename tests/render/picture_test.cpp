#include "render/frame.h"
#include "render/scene.h"
#include "shell/headless/frame_pixels.h"
#include "shell/headless/png_writer.h"
#include "tests/render/render_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Pixels = std::vector<std::uint8_t>;

struct Region {
    int left, bottom, right, top; // right and top exclusive
};

// RGB at (x, y), y counted from the bottom as glReadPixels gives it.
const std::uint8_t* texel(const Pixels& pixels, int width, int x, int y) {
    return pixels.data() + (std::size_t(y) * width + x) * 3;
}

// Lit by the orange light: red leads, green follows, hardly any blue.
int orangePixels(const Pixels& pixels, int width, Region region) {
    int count = 0;
    for (int y = region.bottom; y < region.top; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            const std::uint8_t* rgb = texel(pixels, width, x, y);
            count += rgb[0] >= 64 && rgb[0] >= rgb[1] && rgb[2] * 2 <= rgb[0];
        }
    }
    return count;
}

int nonBlackPixels(const Pixels& pixels, int width, Region region) {
    int count = 0;
    for (int y = region.bottom; y < region.top; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            const std::uint8_t* rgb = texel(pixels, width, x, y);
            count += rgb[0] + rgb[1] + rgb[2] > 0;
        }
    }
    return count;
}

int differingPixels(const Pixels& a, const Pixels& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size(); i += 3) {
        bool differs = false;
        for (std::size_t c = 0; c < 3; ++c) {
            differs |= std::abs(int(a[i + c]) - int(b[i + c])) > 16;
        }
        count += differs;
    }
    return count;
}

// The carried mesh and texture, as the program draws them.
class Picture : public RenderTest {
  protected:
    static constexpr int width = contextWidth;
    static constexpr int height = contextHeight;

    // Sets the scene up afresh, draws the frames and keeps the last one, also as a PNG in the
    // build tree for a person to look at. The test's swap does not swap, so the pixels read
    // afterwards are those the frame drew.
    Pixels draw(const std::string& name, std::int32_t renderMode, std::int32_t envMap = 0,
                int frames = 1) {
        TearDown();
        SetUp();
        saverSettings.resolutionX = width;
        saverSettings.resolutionY = height;
        saverSettings.renderMode = renderMode;
        saverSettings.envMap = envMap;
        setupScene();
        for (int frame = 0; frame < frames; ++frame) {
            drawFrame();
        }
        Pixels pixels = readFramePixels(width, height);
        std::filesystem::create_directories(QUILLMESH_PICTURE_DIR);
        EXPECT_TRUE(writeRgbPng(QUILLMESH_PICTURE_DIR "/" + name + ".png", width, height, pixels));
        EXPECT_TRUE(askedQuestions.empty()) << name;
        return pixels;
    }

    static constexpr Region middle{width / 8, height / 8, width * 7 / 8, height * 7 / 8};
    static constexpr Region corners[] = {{0, 0, 40, 40},
                                         {width - 40, 0, width, 40},
                                         {0, height - 40, 40, height},
                                         {width - 40, height - 40, width, height}};
    static constexpr Region whole{0, 0, width, height};
};

TEST_F(Picture, EveryRenderModeDrawsAnOrangeTubeInTheMiddleAndLeavesTheCornersBlack) {
    const struct {
        const char* name;
        std::int32_t mode;
        int minimumOrange;
    } modes[] = {{"wireframe", 0, 5000},
                 {"dotted", 1, 5000},
                 {"texture_mapping", 2, 20000},
                 {"all_of_them", 3, 5000}};
    for (const auto& mode : modes) {
        const Pixels pixels = draw(mode.name, mode.mode);
        EXPECT_GE(orangePixels(pixels, width, middle), mode.minimumOrange) << mode.name;
        for (const Region& corner : corners) {
            EXPECT_EQ(nonBlackPixels(pixels, width, corner), 0)
                << mode.name << ", corner at " << corner.left << ", " << corner.bottom;
        }
    }
}

TEST_F(Picture, AnUnknownRenderModeLeavesThePictureBlack) {
    EXPECT_EQ(nonBlackPixels(draw("rendermode_5", 5), width, whole), 0);
}

TEST_F(Picture, SphereMappingChangesTheTexturedPicture) {
    const Pixels ownCoordinates = draw("texture_mapping", 2, 0);
    const Pixels sphereMapped = draw("texture_mapping_envmap", 2, 1);
    EXPECT_GE(orangePixels(sphereMapped, width, middle), 20000);
    EXPECT_GE(differingPixels(ownCoordinates, sphereMapped), 5000);
}

TEST_F(Picture, TheSecondFrameDiffersFromTheFirst) {
    for (const std::int32_t mode : {0, 2}) {
        const std::string name = "mode_" + std::to_string(mode);
        const Pixels first = draw(name + "_frame_1", mode, 0, 1);
        const Pixels second = draw(name + "_frame_2", mode, 0, 2);
        EXPECT_GE(differingPixels(first, second), 500) << name;
    }
}

} // namespace
