#include "tools/icon/icon_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> committedIcon() {
    std::ifstream in(QUILLMESH_COMMITTED_ICON, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned read16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

std::uint32_t read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return read16(bytes, at) | static_cast<std::uint32_t>(read16(bytes, at + 2)) << 16;
}

TEST(IconFile, CommittedIconIsTheGeneratorsOutput) {
    std::vector<std::uint8_t> committed = committedIcon();
    ASSERT_FALSE(committed.empty()) << QUILLMESH_COMMITTED_ICON;
    EXPECT_TRUE(committed == generateIconFile())
        << "rewrite it with: cmake --build <native build> --target icon";
}

TEST(IconFile, HoldsTheThreeSizesAsTightlyPacked32BitImages) {
    std::vector<std::uint8_t> icon = committedIcon();
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(read16(icon, 0), 0u);
    EXPECT_EQ(read16(icon, 2), 1u);
    ASSERT_EQ(read16(icon, 4), 3u);

    std::size_t expectedOffset = 6 + 3 * 16;
    const unsigned sizes[] = {16, 32, 48};
    // Mask rows are padded to 32 bits: 48 pixels take 8 bytes, not 6.
    const unsigned maskRowBytes[] = {4, 4, 8};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sizes[i]);
        std::size_t entry = 6 + 16 * i;
        unsigned size = sizes[i];
        EXPECT_EQ(icon.at(entry), size);
        EXPECT_EQ(icon.at(entry + 1), size);
        EXPECT_EQ(read16(icon, entry + 4), 1u);
        EXPECT_EQ(read16(icon, entry + 6), 32u);
        std::uint32_t bytes = read32(icon, entry + 8);
        std::uint32_t offset = read32(icon, entry + 12);
        EXPECT_EQ(offset, expectedOffset);
        EXPECT_EQ(bytes, 40 + 4 * size * size + maskRowBytes[i] * size);

        EXPECT_EQ(read32(icon, offset), 40u);
        EXPECT_EQ(read32(icon, offset + 4), size);
        EXPECT_EQ(read32(icon, offset + 8), 2 * size);
        EXPECT_EQ(read16(icon, offset + 14), 32u);
        expectedOffset = offset + bytes;
    }
    EXPECT_EQ(expectedOffset, icon.size());
}

TEST(IconFile, WritesRowsBottomUpInBlueGreenRedAlphaOrder) {
    IconImage image{2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}};
    std::vector<std::uint8_t> icon = encodeIconFile({image});
    std::size_t pixels = 6 + 16 + 40;
    std::vector<std::uint8_t> rows(icon.begin() + pixels, icon.begin() + pixels + 16);
    EXPECT_EQ(rows,
              (std::vector<std::uint8_t>{11, 10, 9, 12, 15, 14, 13, 16, 3, 2, 1, 4, 7, 6, 5, 8}));
    ASSERT_EQ(icon.size(), pixels + 16 + 2 * 4);
    for (std::size_t at = pixels + 16; at < icon.size(); ++at) {
        EXPECT_EQ(icon[at], 0) << "mask byte " << at;
    }
}

class TubePicture : public testing::TestWithParam<int> {};

TEST_P(TubePicture, IsAnOrangeToYellowTubeOnOpaqueBlack) {
    int size = GetParam();
    IconImage image = drawTubeIcon(size);
    ASSERT_EQ(image.rgba.size(), static_cast<std::size_t>(4 * size * size));
    int tube = 0;
    for (int i = 0; i < size * size; ++i) {
        const std::uint8_t* p = &image.rgba[4 * i];
        ASSERT_EQ(p[3], 255) << "pixel " << i;
        // Warm colours only: red leads, blue trails.
        EXPECT_GE(p[0], p[1]) << "pixel " << i;
        EXPECT_GE(p[1], p[2]) << "pixel " << i;
        if (p[0] >= 128) {
            ++tube;
        }
    }
    for (int corner : {0, size - 1, size * (size - 1), size * size - 1}) {
        EXPECT_EQ(image.rgba[4 * corner] + image.rgba[4 * corner + 1] + image.rgba[4 * corner + 2],
                  0)
            << "corner " << corner;
    }
    // The knot fills a good part of the square but leaves black around and inside it.
    EXPECT_GT(tube, size * size / 5);
    EXPECT_LT(tube, size * size * 7 / 10);
}

INSTANTIATE_TEST_SUITE_P(IconSizes, TubePicture, testing::Values(16, 32, 48));

} // namespace
