// The native build carries the committed resource files byte for byte.
#include "platform/resources.h"

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

TEST(EmbeddedResourcesTest, CarryTheCommittedFiles) {
    for (const auto& [id, name] :
         {std::pair{meshResourceId, "mesh.bin"}, {textureResourceId, "texture.rgb"}}) {
        const ResourceBytes resource = findResourceBytes(id);
        const std::vector<std::uint8_t> committed = committedFile(name);
        ASSERT_FALSE(committed.empty()) << name;
        ASSERT_NE(resource.data, nullptr) << name;
        EXPECT_EQ(std::vector<std::uint8_t>(resource.data, resource.data + resource.size),
                  committed)
            << name;
    }
}

TEST(EmbeddedResourcesTest, UnknownIdsFindNothing) {
    for (int id : {0, -1, 125, 128, 2003}) {
        const ResourceBytes resource = findResourceBytes(id);
        EXPECT_EQ(resource.data, nullptr) << id;
        EXPECT_EQ(resource.size, 0u) << id;
    }
}

} // namespace
