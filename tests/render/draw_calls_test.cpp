#include "render/draw_calls.h"

#include "render/render_styles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Case {
    std::int32_t renderMode;
    std::int32_t faceCount;
    std::vector<DrawCall> expected;
};

constexpr auto lines = Primitive::Lines;
constexpr auto points = Primitive::Points;
constexpr auto triangles = Primitive::Triangles;

TEST(DrawCalls, EachRenderModeDrawsItsPrimitivesOverItsIndexRange) {
    const Case cases[] = {
        {0, 1, {{lines, 0, 3, false}}},
        {0, 2, {{lines, 0, 6, false}}},
        {0, 5760, {{lines, 0, 17280, false}}},
        {1, 1, {{points, 0, 3, false}}},
        {1, 2, {{points, 0, 6, false}}},
        {1, 5760, {{points, 0, 17280, false}}},
        {2, 1, {{triangles, 0, 3, true}}},
        {2, 2, {{triangles, 0, 6, true}}},
        {2, 5760, {{triangles, 0, 17280, true}}},
        // Lines over the first two thirds, points from the face boundary below them.
        {3, 1, {{lines, 0, 2, false}, {points, 0, 1, false}}},
        {3, 2, {{lines, 0, 4, false}, {points, 3, 2, false}}},
        {3, 5760, {{lines, 0, 11520, false}, {points, 11520, 5760, false}}},
        {3, 0, {{lines, 0, 0, false}, {points, 0, 0, false}}},
        {4, 5760, {}},
        {5, 5760, {}},
        {-1, 5760, {}},
    };
    for (const Case& c : cases) {
        const DrawCalls calls = drawCallsFor(c.renderMode, c.faceCount);
        EXPECT_EQ(std::vector<DrawCall>(calls.begin(), calls.end()), c.expected)
            << "render mode " << c.renderMode << ", " << c.faceCount << " faces";
    }
}

TEST(DrawCalls, IndexRangesStayWithinTheFaceArray) {
    for (std::int32_t faceCount = 0; faceCount < 50; ++faceCount) {
        for (const RenderStyle& style : renderStyles) {
            for (const DrawCall& call : drawCallsFor(style.value, faceCount)) {
                EXPECT_GE(call.firstIndex, 0);
                EXPECT_LE(call.firstIndex + call.indexCount, 3 * faceCount)
                    << style.label << ", " << faceCount << " faces";
            }
        }
    }
}

} // namespace
