// The real version query: Wine presents an NT platform, where the verification grants at once
// although a refusing password library lies beside the test program.

#include "shell/win32/password.h"
#include "shell/win32/platform_version.h"

#include <gtest/gtest.h>

TEST(PlatformPasswordTest, NtGrantsWithoutAskingThePasswordLibrary) {
    ASSERT_EQ(platformId(), static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_ANSWER", "0");
    SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_PARENT", nullptr);
    EXPECT_EQ(verifyPassword(nullptr), 1);
    EXPECT_EQ(GetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_PARENT", nullptr, 0), 0u);
}
