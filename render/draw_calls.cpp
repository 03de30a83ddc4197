#include "render/draw_calls.h"

DrawCalls drawCallsFor(std::int32_t renderMode, std::int32_t faceCount) {
    const std::int32_t allIndices = 3 * faceCount;
    switch (renderMode) {
    case 0:
        return {{{{Primitive::Lines, 0, allIndices, false}}}, 1};
    case 1:
        return {{{{Primitive::Points, 0, allIndices, false}}}, 1};
    case 2:
        return {{{{Primitive::Triangles, 0, allIndices, true}}}, 1};
    case 3:
        // Lines over the first two thirds of the indices, then points from the face boundary
        // nearest below that.
        return {{{{Primitive::Lines, 0, 2 * faceCount, false},
                  {Primitive::Points, 3 * (2 * faceCount / 3), faceCount, false}}},
                2};
    default:
        return {};
    }
}
