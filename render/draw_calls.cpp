#include "render/draw_calls.h"

#include "render/render_styles.h"

DrawCalls drawCallsFor(std::int32_t renderMode, std::int32_t faceCount) {
    const RenderStyle* style = findRenderStyle(renderMode);
    return style != nullptr ? style->drawCalls(faceCount) : DrawCalls{};
}
