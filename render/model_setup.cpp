#include "render/gl.h"
#include "render/gl_error_check.h"
#include "render/model.h"

#include <cmath>

void Model::createTexture(const std::uint8_t* pixels, std::int32_t byteCount, std::int32_t envMap) {
    texturePixels = pixels;
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    // The largest square image the bytes hold: 256 for 196608.
    const GLsizei side = GLsizei(std::sqrt(double(byteCount > 0 ? byteCount / 3 : 0)));
    glTexImage2D(GL_TEXTURE_2D, 0, 3, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);

    if (envMap == 1) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    textured = true;
}

void Model::enableBlending() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    blended = true;
}

void Model::setPointSize(float size) {
    glPointSize(size);
}

void Model::setLineWidth(float width) {
    glLineWidth(width);
}

void Model::bindVertexArrays() {
    if (textured) {
        glEnable(GL_TEXTURE_2D);
    }
    // The only time the pointer is given: each frame rewrites workVertices in place.
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, workVertices.get());
    checkForGlError(ownerWindow, setupErrorCaption);
}
