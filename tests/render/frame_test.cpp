#include "platform/resources.h"
#include "render/frame.h"
#include "render/frame_state.h"
#include "render/gl.h"
#include "render/scene.h"
#include "tests/render/mesh_bytes.h"
#include "tests/render/render_fixture.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

using Matrix = std::array<GLfloat, 16>;

Matrix currentMatrix(GLenum which) {
    Matrix m;
    glGetFloatv(which, m.data());
    return m;
}

// The modelview a pass should leave: the camera step back and the turn after the increments.
Matrix expectedModelview(std::int32_t angleX, std::int32_t angleY) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -260.0f);
    glRotatef(float(angleX), 1.0f, 0.0f, 0.0f);
    glRotatef(float(angleY), 0.0f, 1.0f, 0.0f);
    const Matrix m = currentMatrix(GL_MODELVIEW_MATRIX);
    glPopMatrix();
    return m;
}

void expectMatrixNear(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-3) << "element " << i;
    }
}

// A ring of 16 vertices, enough to see the wave's phase in the positions.
TestMesh ringMesh() {
    TestMesh mesh;
    for (int j = 0; j < 16; ++j) {
        const double angle = j * 2.0 * 3.14159265358979 / 16;
        mesh.vertices.push_back(
            {{}, {}, {float(30 * std::cos(angle)), float(30 * std::sin(angle)), 0.0f}});
    }
    mesh.faces = {0, 1, 2, 2, 3, 4};
    return mesh;
}

class Frame : public RenderTest {
  protected:
    Model& setUpRing() {
        fakeResources[meshResourceId] = meshBytes(ringMesh());
        setupScene();
        EXPECT_EQ(modelList.size(), 1u);
        return *modelList.front();
    }

    // Where the wave with this phase puts vertex 0 of the ring: the radius times 2s.
    static double vertexZeroRadius(std::int32_t phase) {
        return 30.0 * 2.0 * (0.25 * std::sin(phase * 3.1415 / 180.0) + 5.0 / 9.0);
    }
};

TEST_F(Frame, WithNoModelsClearsSetsTheProjectionAndSwapsButLeavesTheTurn) {
    setFrameAngles({10, 20});
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    drawFrame();
    EXPECT_EQ(swapCount, 1);
    EXPECT_EQ(frameAngles().angleX, 10);
    EXPECT_EQ(frameAngles().angleY, 20);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLubyte pixel[4];
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[2], 255) << "cleared to the clear colour";
}

TEST_F(Frame, TheProjectionFollowsTheWindowsTrueAspect) {
    struct Case {
        std::int32_t width, height;
        double aspect;
    };
    const Case cases[] = {
        {1024, 768, 1024.0 / 768}, {1600, 768, 1600.0 / 768}, {768, 1024, 0.75},
        {300, 700, 300.0 / 700},   {640, 480, 4.0 / 3},
    };
    const double focal = 1.0 / std::tan(20.0 * 3.14159265358979 / 180.0);
    for (const Case& c : cases) {
        saverSettings.resolutionX = c.width;
        saverSettings.resolutionY = c.height;
        drawFrame();
        const Matrix projection = currentMatrix(GL_PROJECTION_MATRIX);
        EXPECT_NEAR(projection[5], focal, 1e-5) << c.width << "x" << c.height;
        EXPECT_NEAR(projection[5] / projection[0], c.aspect, 1e-5) << c.width << "x" << c.height;
        // Near 0.1 and far 1000.
        EXPECT_NEAR(projection[10], -(1000.0 + 0.1) / (1000.0 - 0.1), 1e-5);
        EXPECT_EQ(projection[11], -1.0f);
        GLint matrixMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_MODELVIEW);
    }
}

TEST_F(Frame, AZeroSideGetsNoPerspectiveButItsViewport) {
    const std::array<std::int32_t, 2> sizes[] = {{0, 600}, {800, 0}, {0, 0}};
    for (const auto& [width, height] : sizes) {
        saverSettings.resolutionX = width;
        saverSettings.resolutionY = height;
        drawFrame();
        Matrix identity{};
        identity[0] = identity[5] = identity[10] = identity[15] = 1.0f;
        EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), identity) << width << "x" << height;
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], width);
        EXPECT_EQ(viewport[3], height);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(Frame, TheFirstFrameWavesWithPhaseZeroAndTurnsByTwoAndOne) {
    Model& model = setUpRing();
    drawFrame();
    EXPECT_EQ(frameAngles().angleX, 2);
    EXPECT_EQ(frameAngles().angleY, 1);
    EXPECT_NEAR(model.workVertices[0].position[0], vertexZeroRadius(0), 1e-4);
    expectMatrixNear(currentMatrix(GL_MODELVIEW_MATRIX), expectedModelview(2, 1));
    // The light was placed after the step back and before the turn: fixed to the viewer.
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_EQ(std::vector<GLfloat>(light, light + 4), (std::vector<GLfloat>{0, 0, -170, 1}));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "switched on again after the draw";
    EXPECT_EQ(swapCount, 1);

    drawFrame();
    EXPECT_EQ(frameAngles().angleX, 4);
    EXPECT_EQ(frameAngles().angleY, 2);
    EXPECT_NEAR(model.workVertices[0].position[0], vertexZeroRadius(12), 1e-4);
    EXPECT_EQ(swapCount, 2);
}

TEST_F(Frame, TheTurnAndThePhaseWrapPast2To31) {
    Model& model = setUpRing();
    const std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
    const std::int32_t minInt = std::numeric_limits<std::int32_t>::min();
    struct Case {
        FrameAngles start;
        std::int32_t phase; // (angleY + angleX) × 4 modulo 2^32
        FrameAngles after;
    };
    const Case cases[] = {
        {{maxInt - 1, 0}, -8, {minInt, 1}},
        {{maxInt - 200, 100}, -404, {maxInt - 198, 101}},
        {{0x20000000, 0}, minInt, {0x20000002, 1}},
        {{minInt, maxInt}, -4, {minInt + 2, minInt}},
    };
    for (const Case& c : cases) {
        setFrameAngles(c.start);
        drawFrame();
        EXPECT_EQ(frameAngles().angleX, c.after.angleX) << c.start.angleX;
        EXPECT_EQ(frameAngles().angleY, c.after.angleY) << c.start.angleX;
        EXPECT_NEAR(model.workVertices[0].position[0], vertexZeroRadius(c.phase), 1e-4)
            << c.start.angleX;
        expectMatrixNear(currentMatrix(GL_MODELVIEW_MATRIX),
                         expectedModelview(c.after.angleX, c.after.angleY));
    }
}

TEST_F(Frame, AnErrorAsksOnceWhileTheBoxIsOpenAndAgainInTheNextFrame) {
    Model& model = setUpRing();
    model.ownerWindow = windowFromNumber(77);
    ASSERT_TRUE(askedQuestions.empty());
    saverSettings.resolutionX = -1; // glViewport rejects it in every frame
    int framesWhileOpen = 0;
    whileAsking = [&] {
        if (askedQuestions.size() > 1) {
            return; // stacked boxes: fail below rather than recurse without end
        }
        // Timer ticks go on drawing while the box is open.
        for (int tick = 0; tick < 3; ++tick) {
            ++framesWhileOpen;
            drawFrame();
        }
    };

    drawFrame();
    const AskedQuestion question{windowFromNumber(77), "Error beim Zeichnen des Objektes"};
    EXPECT_EQ(askedQuestions, std::vector<AskedQuestion>{question});
    EXPECT_EQ(framesWhileOpen, 3);
    EXPECT_EQ(swapCount, 4) << "the frames drawn meanwhile and the one that asked all swap";
    EXPECT_EQ(frameAngles().angleX, 8);

    whileAsking = nullptr;
    drawFrame();
    EXPECT_EQ(askedQuestions.size(), 2u) << "a lasting error asks again";
    saverSettings.resolutionX = 800;
    drawFrame();
    drawFrame();
    EXPECT_EQ(askedQuestions.size(), 2u) << "cleared errors ask no more";
}

TEST_F(Frame, RenderModesOutsideZeroToThreeDrawNothingAndAskNothing) {
    setUpRing();
    for (const std::int32_t mode : {5, -1, 4}) {
        saverSettings.renderMode = mode;
        drawFrame();
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << mode;
    }
    EXPECT_TRUE(askedQuestions.empty());
    EXPECT_EQ(swapCount, 3);
}

} // namespace
