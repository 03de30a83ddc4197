// The real version query: Wine presents an NT platform, where the verification grants at once
// although a refusing password library lies where the platform's own would.

#include "shell/win32/password.h"
#include "shell/win32/platform_version.h"
#include "tests/shell/win32/library_folders.h"

#include <gtest/gtest.h>

TEST(PlatformPasswordTest, NtGrantsWithoutAskingThePasswordLibrary) {
    ASSERT_EQ(platformId(), static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    const std::string library = systemFolder() + "PASSWORD.CPL";
    ASSERT_TRUE(CopyFileA((programFolder() + "PASSWORD.CPL").c_str(), library.c_str(), FALSE));
    SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_ANSWER", "0");
    SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_PARENT", nullptr);
    EXPECT_EQ(verifyPassword(nullptr), 1);
    EXPECT_EQ(GetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_PARENT", nullptr, 0), 0u);
    DeleteFileA(library.c_str());
}
