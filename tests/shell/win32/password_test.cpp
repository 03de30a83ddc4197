// The password hooks on the Windows 9x path, with a password library of the test's own beside the
// test program and a platform id that the test presents.

#include "shell/win32/password.h"

#include "platform/mode_handlers.h"
#include "shell/win32/platform_version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

DWORD presentedPlatformId = VER_PLATFORM_WIN32_WINDOWS;

} // namespace

DWORD platformId() {
    return presentedPlatformId;
}

namespace {

std::string besideTheProgram(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of('\\') + 1) + name;
}

std::string environment(const char* name) {
    char value[64] = "";
    GetEnvironmentVariableA(name, value, sizeof value);
    return value;
}

class PasswordTest : public testing::Test {
  protected:
    void SetUp() override {
        presentedPlatformId = VER_PLATFORM_WIN32_WINDOWS;
        SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_PARENT", nullptr);
        ASSERT_EQ(GetFileAttributesA(library.c_str()) != INVALID_FILE_ATTRIBUTES, true)
            << library << " is built beside the test program";
    }

    void TearDown() override {
        // Put the library back if a test moved it away.
        if (GetFileAttributesA(movedAway.c_str()) != INVALID_FILE_ATTRIBUTES) {
            MoveFileExA(movedAway.c_str(), library.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr) << "released after every call";
    }

    static int verifyAnswering(const char* answer, HWND parent) {
        SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_ANSWER", answer);
        return verifyPassword(parent);
    }

    void moveLibraryAway() {
        ASSERT_TRUE(MoveFileExA(library.c_str(), movedAway.c_str(), MOVEFILE_REPLACE_EXISTING));
    }

    const std::string library = besideTheProgram("PASSWORD.CPL");
    const std::string movedAway = besideTheProgram("PASSWORD.CPL.away");
    const HWND parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
};

TEST_F(PasswordTest, ReturnsWhatTheServiceAnswersForTheGivenParent) {
    EXPECT_EQ(verifyAnswering("1", parent), 1);
    EXPECT_EQ(environment("QUILLMESH_TEST_PASSWORD_PARENT"), "4660");
    EXPECT_EQ(verifyAnswering("0", parent), 0);
    EXPECT_EQ(verifyAnswering("7", parent), 7) << "the result is passed on unchanged";
}

TEST_F(PasswordTest, NtGrantsWithoutLoadingTheLibrary) {
    presentedPlatformId = VER_PLATFORM_WIN32_NT;
    EXPECT_EQ(verifyAnswering("0", parent), 1);
    EXPECT_EQ(environment("QUILLMESH_TEST_PASSWORD_PARENT"), "");
}

TEST_F(PasswordTest, MissingLibraryGrants) {
    moveLibraryAway();
    EXPECT_EQ(verifyAnswering("0", parent), 1);
}

TEST_F(PasswordTest, LibraryWithoutTheFunctionGrants) {
    moveLibraryAway();
    ASSERT_TRUE(
        CopyFileA(besideTheProgram("password_cpl_misnamed.dll").c_str(), library.c_str(), FALSE));
    EXPECT_EQ(verifyAnswering("0", parent), 1);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    DeleteFileA(library.c_str());
}

TEST_F(PasswordTest, ChangeAsksTheServiceOnEveryPlatformAndReleasesItsLibrary) {
    for (DWORD id : {VER_PLATFORM_WIN32_WINDOWS, VER_PLATFORM_WIN32_NT}) {
        presentedPlatformId = id;
        SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_CHANGE", nullptr);
        changePassword(parent);
        EXPECT_EQ(environment("QUILLMESH_TEST_PASSWORD_CHANGE"), "SCRSAVE 4660 0 0");
        changePassword(nullptr);
        EXPECT_EQ(environment("QUILLMESH_TEST_PASSWORD_CHANGE"), "SCRSAVE 0 0 0");
        EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
    }
}

} // namespace
