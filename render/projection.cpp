#include "render/projection.h"

#include "render/gl.h"

std::optional<double> aspectRatio(std::int32_t width, std::int32_t height) {
    if (width == 0 || height == 0) {
        return std::nullopt;
    }
    return double(width) / double(height);
}

void setProjection(std::int32_t width, std::int32_t height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (const std::optional<double> aspect = aspectRatio(width, height)) {
        gluPerspective(40.0, *aspect, 0.1, 1000.0);
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
