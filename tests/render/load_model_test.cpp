#include "platform/resources.h"
#include "render/load_model.h"
#include "render/model.h"
#include "tests/render/fake_resources.h"
#include "tests/render/mesh_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

class LoadModel : public testing::Test {
  protected:
    void SetUp() override {
        fakeResources.clear();
        textureBuffer.fill(0x55);
        renderWindow = windowFromNumber(0x1234);
    }
    void TearDown() override {
        for (Model* model : modelList) {
            delete model;
        }
        modelList.clear();
        renderWindow = nullptr;
    }
};

TestMesh smallMesh() {
    TestMesh mesh;
    mesh.faces = {0, 1, 2, 2, 3, 4};
    for (int i = 0; i < 5; ++i) {
        mesh.vertices.push_back(
            {{0.1f * i, 0.2f}, {0.0f, 0.0f, 0.9f}, {float(i), float(i * i), -3.5f}});
    }
    return mesh;
}

std::vector<std::uint8_t> rampTexture(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = std::uint8_t(i * 7 + 3);
    }
    return bytes;
}

TEST_F(LoadModel, CopiesTheFacesAndVerticesIntoANewModelAtTheEndOfTheList) {
    const TestMesh mesh = smallMesh();
    fakeResources[meshResourceId] = meshBytes(mesh);
    fakeResources[textureResourceId] = rampTexture(196608);
    modelList.push_back(new Model(0, 0, nullptr));

    loadModel();

    ASSERT_EQ(modelList.size(), 2u);
    const Model& model = *modelList.back();
    EXPECT_EQ(model.faceCount, 2);
    EXPECT_EQ(model.vertexCount, 5);
    EXPECT_EQ(model.ownerWindow, renderWindow);
    EXPECT_FALSE(model.textured);
    EXPECT_FALSE(model.blended);
    EXPECT_TRUE(std::equal(mesh.faces.begin(), mesh.faces.end(), model.faces.get()));
    EXPECT_EQ(std::memcmp(model.workVertices.get(), mesh.vertices.data(), 5 * 32), 0);
    EXPECT_EQ(std::memcmp(model.restVertices.get(), mesh.vertices.data(), 5 * 32), 0);
    const auto* scratch = reinterpret_cast<const std::uint8_t*>(model.faceScratch.get());
    EXPECT_TRUE(std::all_of(scratch, scratch + 2 * 12, [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::equal(textureBuffer.begin(), textureBuffer.end(),
                           fakeResources[textureResourceId].begin()));
}

TEST_F(LoadModel, EmptyMeshStillAddsAModel) {
    fakeResources[meshResourceId] = meshBytes({});
    ASSERT_EQ(fakeResources[meshResourceId].size(), 8u);
    loadModel();
    ASSERT_EQ(modelList.size(), 1u);
    EXPECT_EQ(modelList[0]->faceCount, 0);
    EXPECT_EQ(modelList[0]->vertexCount, 0);
}

TEST_F(LoadModel, AMeshShorterThanItsCountsClaimLoadsNoModel) {
    const std::vector<std::uint8_t> whole = meshBytes(smallMesh());
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool loads;
    };
    std::vector<std::uint8_t> hugeCounts = whole;
    hugeCounts[3] = 0x80; // face count 2^31 + 2
    std::vector<std::uint8_t> tooManyVertices = whole;
    tooManyVertices[7] = 0x10; // vertex count 2^28 + 5
    const Case cases[] = {
        {"whole", whole, true},
        {"with bytes to spare",
         [&] {
             auto b = whole;
             b.resize(b.size() + 10);
             return b;
         }(),
         true},
        {"one byte short", {whole.begin(), whole.end() - 1}, false},
        {"faces only", {whole.begin(), whole.begin() + 8 + 24}, false},
        {"header cut", {whole.begin(), whole.begin() + 7}, false},
        {"empty", {}, false},
        {"face count beyond 2^31", hugeCounts, false},
        {"vertex count beyond the bytes", tooManyVertices, false},
    };
    for (const Case& c : cases) {
        fakeResources[meshResourceId] = c.bytes;
        const std::size_t before = modelList.size();
        loadModel();
        EXPECT_EQ(modelList.size(), before + (c.loads ? 1 : 0)) << c.what;
    }
    fakeResources.erase(meshResourceId);
    loadModel();
    EXPECT_EQ(modelList.size(), 2u) << "no mesh at all";
}

TEST_F(LoadModel, TheTextureBufferTakesExactly196608BytesAndBlackWhereTheImageIsShort) {
    fakeResources[meshResourceId] = meshBytes(smallMesh());
    const std::size_t sizes[] = {196608, 196608 + 500, 100, 0};
    for (const std::size_t size : sizes) {
        fakeResources[textureResourceId] = rampTexture(size);
        textureBuffer.fill(0x55);
        loadModel();
        const auto& image = fakeResources[textureResourceId];
        for (std::size_t i = 0; i < textureBuffer.size(); ++i) {
            const std::uint8_t expected = i < image.size() ? image[i] : 0;
            ASSERT_EQ(textureBuffer[i], expected) << size << " bytes, byte " << i;
        }
    }
    fakeResources.erase(textureResourceId);
    textureBuffer.fill(0x55);
    loadModel();
    EXPECT_TRUE(std::all_of(textureBuffer.begin(), textureBuffer.end(), [](std::uint8_t b) {
        return b == 0;
    })) << "no texture at all";
}

} // namespace
