// The committed resources are exactly what the generators make, so they can be remade at will.
#include "tools/mesh_generator.h"
#include "tools/texture_generator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> committedFile(const std::string& name) {
    std::ifstream file(std::string(QUILLMESH_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(GeneratorsTest, MeshGeneratorMakesTheCommittedMesh) {
    const std::vector<std::uint8_t> committed = committedFile("mesh.bin");
    ASSERT_EQ(committed.size(), 180040u);
    EXPECT_TRUE(generateMeshResource() == committed);
}

TEST(GeneratorsTest, TextureGeneratorMakesTheCommittedTexture) {
    const std::vector<std::uint8_t> committed = committedFile("texture.rgb");
    ASSERT_EQ(committed.size(), 196608u);
    EXPECT_TRUE(generateTextureResource() == committed);
}

} // namespace
