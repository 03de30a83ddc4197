#include "platform/resources.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/scene.h"
#include "tests/render/mesh_bytes.h"
#include "tests/render/render_fixture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

namespace {

std::vector<GLfloat> lightValue(GLenum parameter) {
    std::vector<GLfloat> value(4);
    glGetLightfv(GL_LIGHT0, parameter, value.data());
    return value;
}

TestMesh triangleMesh() {
    return {{0, 1, 2},
            {{{0, 0}, {0, 0, 1}, {0, 0, 0}},
             {{1, 0}, {0, 0, 1}, {10, 0, 0}},
             {{0, 1}, {0, 0, 1}, {0, 10, 0}}}};
}

class Scene : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        fakeResources[meshResourceId] = meshBytes(triangleMesh());
        fakeResources[textureResourceId] = textureBytes([](int x, int y) {
            return std::array{x, y, (x + y) / 2};
        });
    }
};

TEST_F(Scene, FixesTheRunsStateAndPreparesTheModel) {
    setupScene();
    EXPECT_TRUE(askedQuestions.empty());
    ASSERT_EQ(modelList.size(), 1u);
    const Model& model = *modelList[0];

    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), std::vector<GLfloat>(4, 0.0f));
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_SMOOTH);
    for (const GLenum capability : {GL_NORMALIZE, GL_DEPTH_TEST, GL_CULL_FACE, GL_POINT_SMOOTH,
                                    GL_LIGHTING, GL_LIGHT0, GL_BLEND, GL_TEXTURE_2D}) {
        EXPECT_TRUE(glIsEnabled(capability)) << std::hex << capability;
    }
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));

    EXPECT_EQ(lightValue(GL_DIFFUSE), (std::vector<GLfloat>{1.0f, 0.6f, 0.0f, 0.5f}));
    EXPECT_EQ(lightValue(GL_SPECULAR), (std::vector<GLfloat>{1.0f, 0.5f, 0.0f, 0.5f}));
    EXPECT_EQ(lightValue(GL_AMBIENT), (std::vector<GLfloat>{0.7f, 0.3f, 0.0f, 0.5f}));
    EXPECT_EQ(lightValue(GL_POSITION), (std::vector<GLfloat>{0.0f, 0.0f, 90.0f, 1.0f}));

    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(model.blended);

    GLfloat pointSize = 0, lineWidth = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    EXPECT_EQ(pointSize, 8.0f);
    EXPECT_EQ(lineWidth, 2.0f);

    // The texture object: bound, linear, repeating, 256 × 256 from textureBuffer.
    EXPECT_TRUE(model.textured);
    EXPECT_EQ(model.texturePixels, textureBuffer.data());
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), model.textureId);
    EXPECT_NE(model.textureId, 0u);
    const std::pair<GLenum, GLint> parameters[] = {{GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                                                   {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                                   {GL_TEXTURE_WRAP_S, GL_REPEAT},
                                                   {GL_TEXTURE_WRAP_T, GL_REPEAT}};
    for (const auto& [parameter, expected] : parameters) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        EXPECT_EQ(value, expected) << std::hex << parameter;
    }
    GLint side = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
    EXPECT_EQ(side, 256);
    std::vector<GLubyte> image(196608);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(image, fakeResources[textureResourceId]);

    // The arrays point into workVertices, records 32 bytes apart; no colours.
    for (const GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY}) {
        EXPECT_TRUE(glIsEnabled(array)) << std::hex << array;
    }
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    const std::pair<GLenum, const void*> pointers[] = {
        {GL_TEXTURE_COORD_ARRAY_POINTER, model.workVertices[0].texCoord},
        {GL_NORMAL_ARRAY_POINTER, model.workVertices[0].normal},
        {GL_VERTEX_ARRAY_POINTER, model.workVertices[0].position}};
    for (const auto& [name, expected] : pointers) {
        void* pointer = nullptr;
        glGetPointerv(name, &pointer);
        EXPECT_EQ(pointer, expected) << std::hex << name;
    }
    GLint stride = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &stride);
    EXPECT_TRUE(stride == 0 || stride == 32) << stride;

    // The three lists exist and are distinct.
    for (const std::uint32_t list : {greenMaterialList, blueMaterialList, sphereList}) {
        EXPECT_TRUE(glIsList(list)) << list;
    }
    EXPECT_NE(greenMaterialList, blueMaterialList);
    EXPECT_NE(blueMaterialList, sphereList);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

std::vector<GLfloat> frontMaterial(GLenum parameter) {
    std::vector<GLfloat> value(4);
    glGetMaterialfv(GL_FRONT, parameter, value.data());
    return value;
}

// Nothing calls the lists, but they hold what they were compiled with.
TEST_F(Scene, TheMaterialListsHoldTheirValues) {
    setupScene();
    struct Row {
        std::uint32_t list;
        std::vector<GLfloat> diffuse, specular, ambient;
    };
    const Row rows[] = {
        {greenMaterialList,
         {0.3f, 0.7f, 0.0f, 0.5f},
         {0.3f, 1.0f, 0.0f, 0.5f},
         {0.3f, 0.5f, 0.0f, 0.5f}},
        {blueMaterialList,
         {0.0f, 0.0f, 1.0f, 0.5f},
         {1.0f, 0.0f, 1.0f, 1.0f},
         {0.05f, 0.05f, 1.05f, 1.0f}},
    };
    for (const Row& row : rows) {
        glCallList(row.list);
        EXPECT_EQ(frontMaterial(GL_DIFFUSE), row.diffuse) << row.list;
        EXPECT_EQ(frontMaterial(GL_SPECULAR), row.specular) << row.list;
        EXPECT_EQ(frontMaterial(GL_AMBIENT), row.ambient) << row.list;
    }
}

// The sphere as OpenGL's feedback sees it, scaled to half size into a 2 × 2 viewport, where a
// window position less one is the point in model units: radius 1, and 15 slices by 15 stacks,
// which make 14 rings of 15 points and two poles, with texture coordinates over the whole image.
TEST_F(Scene, TheSphereListHoldsASphereOfRadiusOneWith15SlicesAnd15Stacks) {
    setupScene();
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, 2, 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(0.5f, 0.5f, 0.5f);
    std::vector<GLfloat> feedback(1 << 16);
    glFeedbackBuffer(GLsizei(feedback.size()), GL_3D_COLOR_TEXTURE, feedback.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(sphereList);
    const GLint used = glRenderMode(GL_RENDER);
    ASSERT_GT(used, 0);

    // Each vertex: x, y, z, then four of colour and four of texture coordinates.
    constexpr int vertexValues = 11;
    std::set<std::array<long, 3>> points;
    GLfloat minS = 1, maxS = 0;
    for (GLint at = 0; at < used;) {
        ASSERT_EQ(feedback[at], GLfloat(GL_POLYGON_TOKEN)) << at;
        const int count = int(feedback[at + 1]);
        at += 2;
        for (int v = 0; v < count; ++v, at += vertexValues) {
            const GLfloat x = feedback[at] - 1, y = feedback[at + 1] - 1,
                          z = 2 * feedback[at + 2] - 1;
            EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 0.5, 1e-4);
            points.insert({std::lround(x * 1e4), std::lround(y * 1e4), std::lround(z * 1e4)});
            const GLfloat s = feedback[at + 7];
            minS = std::min(minS, s);
            maxS = std::max(maxS, s);
        }
    }
    EXPECT_EQ(points.size(), 14u * 15u + 2u);
    EXPECT_NEAR(minS, 0.0f, 1e-5);
    EXPECT_NEAR(maxS, 1.0f, 1e-5);
}

TEST_F(Scene, SphereMappingOnlyWhenEnvMapIsExactlyOne) {
    for (const std::int32_t envMap : {0, 1, 2, -1}) {
        TearDown();
        SetUp();
        saverSettings.envMap = envMap;
        setupScene();
        EXPECT_EQ(bool(glIsEnabled(GL_TEXTURE_GEN_S)), envMap == 1) << envMap;
        EXPECT_EQ(bool(glIsEnabled(GL_TEXTURE_GEN_T)), envMap == 1) << envMap;
        if (envMap == 1) {
            GLint modeS = 0, modeT = 0;
            glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &modeS);
            glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &modeT);
            EXPECT_EQ(modeS, GL_SPHERE_MAP);
            EXPECT_EQ(modeT, GL_SPHERE_MAP);
        }
    }
}

TEST_F(Scene, PreviewSizesGiveOnePixelPointsAndLines) {
    saverSettings.dotSize = 1;
    saverSettings.lineSize = 1;
    setupScene();
    GLfloat pointSize = 0, lineWidth = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    EXPECT_EQ(pointSize, 1.0f);
    EXPECT_EQ(lineWidth, 1.0f);
}

TEST_F(Scene, ARejectedSizeAsksOnceAtSetupAndNoGoesOn) {
    renderWindow = windowFromNumber(0x42);
    saverSettings.dotSize = 0;
    setupScene();
    renderWindow = nullptr;
    EXPECT_EQ(askedQuestions,
              (std::vector<AskedQuestion>{
                  {windowFromNumber(0x42), "Error beim Initialisieren des Objektes"}}));
    // Setup ran to its end: the line width and arrays are in place.
    GLfloat lineWidth = 0;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    EXPECT_EQ(lineWidth, 2.0f);
    void* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, modelList.at(0)->workVertices[0].position);
    // The error was taken by that check, so the frames that follow ask nothing.
    drawFrame();
    EXPECT_EQ(askedQuestions.size(), 1u);
}

TEST_F(Scene, WithoutAMeshSetsUpTheContextAndPreparesNothing) {
    fakeResources.clear();
    setupScene();
    EXPECT_TRUE(modelList.empty());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    drawFrame();
    EXPECT_EQ(swapCount, 1);
}

} // namespace
