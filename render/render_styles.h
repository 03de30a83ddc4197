#pragma once

#include "render/draw_calls.h"

#include <array>
#include <cstdint>
#include <string_view>

// The values of "Rendermode" and what each draws; any other value draws nothing. A new style is
// one row here (and, on Windows, one radio button in the dialog template).
struct RenderStyle {
    std::int32_t value;
    std::string_view optionName; // as the Linux program's --rendermode spells it
    std::string_view label;      // as the dialog shows it
    // faceCount is at most 2^31 / 3, as loadModel ensures.
    DrawCalls (*drawCalls)(std::int32_t faceCount);
};

inline constexpr std::array<RenderStyle, 4> renderStyles{{
    {0, "wireframe", "Wireframe",
     [](std::int32_t faces) {
         return DrawCalls{{{{Primitive::Lines, 0, 3 * faces, false}}}, 1};
     }},
    {1, "dotted", "Dotted",
     [](std::int32_t faces) {
         return DrawCalls{{{{Primitive::Points, 0, 3 * faces, false}}}, 1};
     }},
    {2, "texture", "Texture Mapping",
     [](std::int32_t faces) {
         return DrawCalls{{{{Primitive::Triangles, 0, 3 * faces, true}}}, 1};
     }},
    // Lines over the first two thirds of the indices, then points from the face boundary nearest
    // below that.
    {3, "all", "All of them",
     [](std::int32_t faces) {
         return DrawCalls{{{{Primitive::Lines, 0, 2 * faces, false},
                            {Primitive::Points, 3 * (2 * faces / 3), faces, false}}},
                          2};
     }},
}};

// The row of a "Rendermode" value; null for a value that draws nothing.
constexpr const RenderStyle* findRenderStyle(std::int32_t value) {
    for (const RenderStyle& style : renderStyles) {
        if (style.value == value) {
            return &style;
        }
    }
    return nullptr;
}
