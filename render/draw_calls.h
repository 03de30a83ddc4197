#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What one render mode draws of a model: which primitives over which run of the face indices,
// and whether texturing is on for them.
enum class Primitive { Lines, Points, Triangles };

struct DrawCall {
    Primitive primitive;
    std::int32_t firstIndex; // counted in indices into the face array
    std::int32_t indexCount;
    bool textured;

    bool operator==(const DrawCall&) const = default;
};

struct DrawCalls {
    std::array<DrawCall, 2> calls{};
    std::size_t count = 0;

    const DrawCall* begin() const { return calls.data(); }
    const DrawCall* end() const { return calls.data() + count; }
};

// What the render style of that value draws (render_styles.h); nothing for any other value.
DrawCalls drawCallsFor(std::int32_t renderMode, std::int32_t faceCount);
