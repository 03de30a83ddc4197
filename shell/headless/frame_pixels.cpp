#include "shell/headless/frame_pixels.h"

#include <GL/gl.h>

std::vector<std::uint8_t> readFramePixels(int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
