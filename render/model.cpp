#include "render/model.h"

Model::Model(std::int32_t vertices, std::int32_t triangles, WindowHandle owner)
    : ownerWindow(owner), workVertices(new MeshVertex[vertices]),
      restVertices(new MeshVertex[vertices]), faces(new std::uint32_t[3 * std::size_t(triangles)]),
      faceScratch(new FaceScratch[triangles]()), faceCount(triangles), vertexCount(vertices) {}

std::array<std::uint8_t, textureByteCount> textureBuffer{};
