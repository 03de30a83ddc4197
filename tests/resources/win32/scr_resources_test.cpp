// The built quillmesh.scr, opened as a data file the way Explorer and the screen-saver list open
// it: the manifest, the version strings, icon group 100 and the display name.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class ScrResources : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        module = LoadLibraryExA(QUILLMESH_SCR, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    void SetUp() override { ASSERT_NE(module, nullptr) << QUILLMESH_SCR; }

    static std::string resourceBytes(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(module, name, type);
        if (found == nullptr) {
            return {};
        }
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }

    static HMODULE module;
};

HMODULE ScrResources::module = nullptr;

BOOL CALLBACK countName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(ScrResources, HasOneManifestForSystemDpiAwarenessClassicControlsAndWindows7Modes) {
    int manifests = 0;
    EnumResourceNamesA(module, RT_MANIFEST, countName, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, 1);

    std::string manifest = resourceBytes(RT_MANIFEST, MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    const char* expected[] = {
        ">true</dpiAware>", "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
    };
    for (const char* text : expected) {
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
    }
    // A program that declares Windows 8 or later gets no display mode under 32 bits per pixel.
    const char* refusingModesUnder32Bits[] = {
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
    };
    for (const char* id : refusingModesUnder32Bits) {
        EXPECT_EQ(manifest.find(id), std::string::npos) << id;
    }
    EXPECT_EQ(manifest.find("supportedOS"), manifest.rfind("supportedOS")) << "one system only";
    std::string version = "version=\"" + std::to_string(QUILLMESH_VERSION_MAJOR) + "." +
                          std::to_string(QUILLMESH_VERSION_MINOR) + ".0.0\"";
    EXPECT_NE(manifest.find(version), std::string::npos) << version;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

class ScrVersion : public testing::Test {
  protected:
    void SetUp() override {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(QUILLMESH_SCR, &ignored);
        ASSERT_GT(size, 0u);
        info.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(QUILLMESH_SCR, 0, size, info.data()));
    }

    void* query(const std::string& path, UINT* length) {
        void* value = nullptr;
        if (!VerQueryValueA(info.data(), path.c_str(), &value, length)) {
            return nullptr;
        }
        return value;
    }

    std::vector<char> info;
};

TEST_F(ScrVersion, FixedInfoCarriesTheProjectVersion) {
    UINT length = 0;
    auto* fixed = static_cast<VS_FIXEDFILEINFO*>(query("\\", &length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD major = QUILLMESH_VERSION_MAJOR, minor = QUILLMESH_VERSION_MINOR;
    EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, major << 16 | minor);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(ScrVersion, StringsAreFoundThroughTheTranslationTable) {
    // Explorer looks the strings up under the language and code page the table names.
    UINT length = 0;
    auto* translation = static_cast<WORD*>(query("\\VarFileInfo\\Translation", &length));
    ASSERT_NE(translation, nullptr);
    ASSERT_GE(length, 4u);
    char block[64];
    wsprintfA(block, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);

    struct Expected {
        const char* name;
        const char* value;
    };
    const Expected strings[] = {
        {"ProductName", "Quillmesh"},
        {"FileDescription", "Quillmesh screen saver"},
        {"OriginalFilename", "quillmesh.scr"},
        {"FileVersion", QUILLMESH_VERSION_TEXT},
        {"ProductVersion", QUILLMESH_VERSION_TEXT},
    };
    for (const Expected& expected : strings) {
        auto* value = static_cast<const char*>(query(std::string(block) + expected.name, &length));
        ASSERT_NE(value, nullptr) << expected.name;
        EXPECT_STREQ(value, expected.value) << expected.name;
    }
}

std::vector<std::uint8_t> committedIcon() {
    std::ifstream in(QUILLMESH_COMMITTED_ICON, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The icon group lists each image by resource id; the images are the committed file's, in order.
TEST_F(ScrResources, IconGroup100HoldsTheCommittedImagesAt16_32And48Pixels) {
    std::string group = resourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEA(100));
    ASSERT_GE(group.size(), 6u);
    const auto* bytes = reinterpret_cast<const BYTE*>(group.data());
    ASSERT_EQ(bytes[4], 3);
    ASSERT_EQ(group.size(), 6u + 3 * 14);

    std::vector<std::uint8_t> file = committedIcon();
    ASSERT_GE(file.size(), 6u + 3 * 16);
    const int sizes[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sizes[i]);
        const BYTE* entry = bytes + 6 + 14 * i;
        EXPECT_EQ(entry[0], sizes[i]);
        EXPECT_EQ(entry[1], sizes[i]);
        WORD bitCount = 0, id = 0;
        std::memcpy(&bitCount, entry + 6, 2);
        std::memcpy(&id, entry + 12, 2);
        EXPECT_EQ(bitCount, 32);

        std::string image = resourceBytes(RT_ICON, MAKEINTRESOURCEA(id));
        ASSERT_FALSE(image.empty());
        DWORD fileBytes = 0, fileOffset = 0;
        std::memcpy(&fileBytes, &file[6 + 16 * i + 8], 4);
        std::memcpy(&fileOffset, &file[6 + 16 * i + 12], 4);
        ASSERT_LE(fileOffset + fileBytes, file.size());
        EXPECT_TRUE(image ==
                    std::string(file.begin() + fileOffset, file.begin() + fileOffset + fileBytes));

        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                              static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                              sizes[i], sizes[i], LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr);
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

TEST_F(ScrResources, String1IsTheDisplayName) {
    char name[64] = {};
    EXPECT_EQ(LoadStringA(module, 1, name, sizeof name), 9);
    EXPECT_STREQ(name, "Quillmesh");
}

} // namespace
