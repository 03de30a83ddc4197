// What each render style puts in the picture, told apart by where it covers: thin lines, large
// points and filled triangles over a mesh of two faces whose six vertices lie apart.

#include "platform/resources.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/scene.h"
#include "shell/headless/frame_pixels.h"
#include "tests/render/mesh_bytes.h"
#include "tests/render/render_fixture.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// Two faces side by side, facing the viewer, each vertex its own; index i is vertex i.
TestMesh twoFaces() {
    const float corners[6][2] = {{-60, -40}, {-20, -40}, {-40, 0}, {20, -40}, {60, -40}, {40, 0}};
    TestMesh mesh;
    for (std::uint32_t i = 0; i < 6; ++i) {
        mesh.faces.push_back(i);
        mesh.vertices.push_back({{0.5f, 0.5f}, {0, 0, 1}, {corners[i][0], corners[i][1], 0}});
    }
    return mesh;
}

struct WindowPoint {
    double x, y;
};

class RenderStyle : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        fakeResources[meshResourceId] = meshBytes(twoFaces());
        fakeResources[textureResourceId] = textureBytes([](int, int) {
            return std::array{255, 255, 255};
        });
        saverSettings.lineSize = 1;
        saverSettings.dotSize = 20;
    }

    // Draws one frame and finds where its (deformed, turned) vertices landed in the window. A
    // depth test would let nothing through, so the picture shows that the model is drawn without.
    void drawOneFrame(std::int32_t renderMode) {
        saverSettings.renderMode = renderMode;
        setupScene();
        glDepthFunc(GL_NEVER);
        drawFrame();
        pixels = readFramePixels(contextWidth, contextHeight);
        GLdouble modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        vertices.clear();
        for (int i = 0; i < 6; ++i) {
            const float* p = modelList.front()->workVertices[i].position;
            GLdouble x, y, z;
            gluProject(p[0], p[1], p[2], modelview, projection, viewport, &x, &y, &z);
            vertices.push_back({x, y});
        }
    }

    bool covered(WindowPoint point) const {
        const std::size_t at = (std::size_t(point.y) * contextWidth + std::size_t(point.x)) * 3;
        return pixels[at] + pixels[at + 1] + pixels[at + 2] > 60;
    }

    // Six pixels above a vertex: inside a 20-pixel point there, off any one-pixel line.
    bool pointAt(int vertex) const { return covered({vertices[vertex].x, vertices[vertex].y + 6}); }

    // Within a pixel of the middle of the line: where a one-pixel line lands is the rasteriser's.
    bool lineBetween(int a, int b) const {
        const WindowPoint middle{(vertices[a].x + vertices[b].x) / 2,
                                 (vertices[a].y + vertices[b].y) / 2};
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (covered({middle.x + dx, middle.y + dy})) {
                    return true;
                }
            }
        }
        return false;
    }

    bool faceFilled(int first) const {
        return covered({(vertices[first].x + vertices[first + 1].x + vertices[first + 2].x) / 3,
                        (vertices[first].y + vertices[first + 1].y + vertices[first + 2].y) / 3});
    }

    std::vector<std::uint8_t> pixels;
    std::vector<WindowPoint> vertices;
};

TEST_F(RenderStyle, EachStyleDrawsItsOwnPrimitiveWithTheDepthTestOff) {
    // Lines over indices 0-1 and 4-5 run along a face's edge, where a filled face covers them too.
    constexpr std::optional<bool> alongAFilledEdge;
    struct Row {
        std::int32_t renderMode;
        std::array<bool, 6> points;
        std::array<std::optional<bool>, 3> lines; // over indices 0-1, 2-3, 4-5
        std::array<bool, 2> faces;
    };
    const Row rows[] = {
        {0, {}, {true, true, true}, {}},
        {1, {true, true, true, true, true, true}, {false, false, false}, {}},
        {2, {}, {alongAFilledEdge, false, alongAFilledEdge}, {true, true}},
        // Lines over the first 2 x 2 indices, points over 2 indices from the face boundary at 3.
        {3, {false, false, false, true, true, false}, {true, true, false}, {}},
    };
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        drawOneFrame(row.renderMode);
        const std::string style = "render style " + std::to_string(row.renderMode);
        for (int vertex = 0; vertex < 6; ++vertex) {
            EXPECT_EQ(pointAt(vertex), row.points[vertex]) << style << ", point at " << vertex;
        }
        for (int line = 0; line < 3; ++line) {
            if (row.lines[line].has_value()) {
                EXPECT_EQ(lineBetween(2 * line, 2 * line + 1), *row.lines[line])
                    << style << ", line " << 2 * line << "-" << 2 * line + 1;
            }
        }
        for (int face = 0; face < 2; ++face) {
            EXPECT_EQ(faceFilled(3 * face), row.faces[face]) << style << ", face " << face;
        }
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << style << ": on again after the draw";
    }
}

} // namespace
