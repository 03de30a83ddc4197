// The Windows program finds the mesh and texture as RCDATA 126 and 127 of its own module, with the
// same bytes as the committed files (compiled into this test as arrays for comparison).
#include "platform/resources.h"
#include "resources/embedded_bytes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

TEST(ModuleResourcesTest, FindsTheMeshAndTextureWithTheCommittedBytes) {
    const ResourceBytes mesh = findResourceBytes(meshResourceId);
    ASSERT_NE(mesh.data, nullptr);
    ASSERT_EQ(mesh.size, 180040u);
    ASSERT_EQ(mesh.size, embeddedMeshSize);
    EXPECT_EQ(std::memcmp(mesh.data, embeddedMesh, mesh.size), 0);

    const ResourceBytes texture = findResourceBytes(textureResourceId);
    ASSERT_NE(texture.data, nullptr);
    ASSERT_EQ(texture.size, 196608u);
    ASSERT_EQ(texture.size, embeddedTextureSize);
    EXPECT_EQ(std::memcmp(texture.data, embeddedTexture, texture.size), 0);
}

TEST(ModuleResourcesTest, UnknownIdsFindNothing) {
    for (int id : {1, 125, 128, 2003}) {
        const ResourceBytes resource = findResourceBytes(id);
        EXPECT_EQ(resource.data, nullptr) << id;
        EXPECT_EQ(resource.size, 0u) << id;
    }
}

// The shipped saver carries the same two resources.
TEST(ModuleResourcesTest, SaverCarriesTheMeshAndTexture) {
    HMODULE saver = LoadLibraryExA(QUILLMESH_SCR, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr);
    struct Expected {
        int id;
        const std::uint8_t* bytes;
        std::size_t size;
    };
    for (const Expected& expected :
         {Expected{meshResourceId, embeddedMesh, embeddedMeshSize},
          Expected{textureResourceId, embeddedTexture, embeddedTextureSize}}) {
        HRSRC info = FindResourceA(saver, MAKEINTRESOURCEA(expected.id), RT_RCDATA);
        ASSERT_NE(info, nullptr) << expected.id;
        ASSERT_EQ(SizeofResource(saver, info), expected.size) << expected.id;
        const void* bytes = LockResource(LoadResource(saver, info));
        ASSERT_NE(bytes, nullptr) << expected.id;
        EXPECT_EQ(std::memcmp(bytes, expected.bytes, expected.size), 0) << expected.id;
    }
    FreeLibrary(saver);
}

} // namespace
