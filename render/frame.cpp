#include "render/frame.h"

#include "platform/render_output.h"
#include "render/frame_state.h"
#include "render/gl.h"
#include "render/light.h"
#include "render/model.h"
#include "render/projection.h"
#include "settings/saver_settings.h"

namespace {

// Kept unsigned so that the turn wraps without overflow; handed out as signed.
std::uint32_t angleX = 0;
std::uint32_t angleY = 0;

} // namespace

FrameAngles frameAngles() {
    return {std::int32_t(angleX), std::int32_t(angleY)};
}

void setFrameAngles(FrameAngles angles) {
    angleX = std::uint32_t(angles.angleX);
    angleY = std::uint32_t(angles.angleY);
}

void drawFrame() {
    setProjection(saverSettings.resolutionX, saverSettings.resolutionY);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    for (Model* model : modelList) {
        // The wave runs 12 vertices a frame, from the turn before this pass.
        model->applySurfaceWave(std::int32_t((angleY + angleX) * 4u));
        angleX += 2u;
        angleY += 1u;

        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -260.0f);
        glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        glRotatef(float(std::int32_t(angleX)), 1.0f, 0.0f, 0.0f);
        glRotatef(float(std::int32_t(angleY)), 0.0f, 1.0f, 0.0f);

        // The primitives land in face order; the depth buffer plays no part.
        glDisable(GL_DEPTH_TEST);
        model->draw(saverSettings.renderMode);
        glEnable(GL_DEPTH_TEST);
    }
    swapFrameBuffers();
}
