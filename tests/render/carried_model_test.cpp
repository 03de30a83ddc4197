#include "platform/resources.h"
#include "render/load_model.h"
#include "render/model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

TEST(CarriedModel, LoadsTheTubeWith5760FacesOverTheFirst2880Vertices) {
    loadModel();
    ASSERT_EQ(modelList.size(), 1u);
    Model* model = modelList[0];
    EXPECT_EQ(model->faceCount, 5760);
    EXPECT_EQ(model->vertexCount, 3466);
    const std::uint32_t* faces = model->faces.get();
    EXPECT_EQ(*std::max_element(faces, faces + 3 * 5760), 2879u);
    const ResourceBytes mesh = findResourceBytes(meshResourceId);
    EXPECT_EQ(std::memcmp(model->restVertices.get(), mesh.data + 8 + 12 * 5760, 32 * 3466), 0);
    const ResourceBytes texture = findResourceBytes(textureResourceId);
    EXPECT_EQ(std::memcmp(textureBuffer.data(), texture.data, 196608), 0);
    delete model;
    modelList.clear();
}

} // namespace
