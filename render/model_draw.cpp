#include "render/draw_calls.h"
#include "render/gl.h"
#include "render/gl_error_check.h"
#include "render/model.h"

namespace {

GLenum glPrimitive(Primitive primitive) {
    switch (primitive) {
    case Primitive::Lines:
        return GL_LINES;
    case Primitive::Points:
        return GL_POINTS;
    case Primitive::Triangles:
        return GL_TRIANGLES;
    }
    return GL_POINTS;
}

void drawElements(const std::uint32_t* faces, const DrawCall& call) {
    glDrawElements(glPrimitive(call.primitive), call.indexCount, GL_UNSIGNED_INT,
                   faces + call.firstIndex);
}

} // namespace

void Model::draw(std::int32_t renderMode) {
    const DrawCalls calls = drawCallsFor(renderMode, faceCount);

    // Without colour tracking this colour does not reach lit primitives.
    glColor4f(1.0f, 1.0f, 0.0f, 0.5f);
    glEnable(GL_TEXTURE_2D);
    if (textured) {
        glBindTexture(GL_TEXTURE_2D, textureId);
    }
    for (const DrawCall& call : calls) {
        if (call.textured) {
            drawElements(faces.get(), call);
        }
    }
    glDisable(GL_TEXTURE_2D);
    for (const DrawCall& call : calls) {
        if (!call.textured) {
            drawElements(faces.get(), call);
        }
    }
    checkForGlError(ownerWindow, drawErrorCaption);
}
