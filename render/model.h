#pragma once

#include "platform/window_handle.h"
#include "render/mesh_vertex.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Kept with every face and never used again.
struct FaceScratch {
    std::uint8_t bytes[12];
};

// One mesh in memory with the state of its texture.
class Model {
  public:
    // Note the order of the counts. workVertices, restVertices and faces are left for the caller
    // to fill; faceScratch is zero-filled.
    Model(std::int32_t vertexCount, std::int32_t faceCount, WindowHandle ownerWindow);

    // Scene setup (model_setup.cpp).
    void createTexture(const std::uint8_t* pixels, std::int32_t byteCount, std::int32_t envMap);
    void enableBlending();
    void setPointSize(float size);
    void setLineWidth(float width);
    void bindVertexArrays();

    // Each frame (surface_wave.cpp, model_draw.cpp).
    void applySurfaceWave(std::int32_t phase);
    void draw(std::int32_t renderMode);

    std::uint32_t textureId = 0;                 // set with the texture object
    const std::uint8_t* texturePixels = nullptr; // not owned
    bool textured = false;
    bool blended = false;
    WindowHandle ownerWindow;
    std::unique_ptr<MeshVertex[]> workVertices;
    std::unique_ptr<MeshVertex[]> restVertices;
    std::unique_ptr<std::uint32_t[]> faces; // three vertex indices a face
    std::unique_ptr<FaceScratch[]> faceScratch;
    std::int32_t faceCount;
    std::int32_t vertexCount;
};

// Every model the renderer draws, in drawing order. Models are never released.
using ModelList = std::vector<Model*>;
inline ModelList modelList;

// The texture image: 256 rows of 256 RGB texels, row t = 0 first. Defined once in model.cpp, not
// inline: MinGW writes an inline variable's zeros into the program file.
inline constexpr std::int32_t textureByteCount = 196608;
extern std::array<std::uint8_t, textureByteCount> textureBuffer;
