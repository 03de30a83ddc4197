// The password hooks on the Windows 9x path, with a platform id that the test presents and
// stand-ins for the platform's libraries put where the platform's own live, the system folder.
// The stand-ins are built beside the test program, which is also the current folder; from there
// they must never be loaded.

#include "shell/win32/password.h"

#include "platform/mode_handlers.h"
#include "shell/win32/platform_version.h"
#include "tests/shell/win32/library_folders.h"

#include <gtest/gtest.h>

#include <string>

namespace {

DWORD presentedPlatformId = VER_PLATFORM_WIN32_WINDOWS;

} // namespace

DWORD platformId() {
    return presentedPlatformId;
}

namespace {

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
        SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_CHANGE", nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(programFolder().c_str()));
        // The platform's own MPR.DLL steps aside for the stand-in and comes back afterwards.
        ASSERT_TRUE(MoveFileExA(platformMpr.c_str(), platformMprAway.c_str(), 0));
        platformMprAside = true;
        install("PASSWORD.CPL", "PASSWORD.CPL");
        install("MPR.DLL", "MPR.DLL");
    }

    void TearDown() override {
        DeleteFileA((systemFolder() + "PASSWORD.CPL").c_str());
        putThePlatformsMprBack();
        EXPECT_NE(GetFileAttributesA(platformMpr.c_str()), INVALID_FILE_ATTRIBUTES)
            << "the platform's MPR.DLL is back";
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr) << "released after every call";
    }

    // Copies a stand-in built beside the test program into the system folder under the name.
    static void install(const char* standIn, const char* name) {
        ASSERT_TRUE(
            CopyFileA((programFolder() + standIn).c_str(), (systemFolder() + name).c_str(), FALSE))
            << standIn;
    }

    void putThePlatformsMprBack() {
        if (platformMprAside) {
            EXPECT_TRUE(MoveFileExA(platformMprAway.c_str(), platformMpr.c_str(),
                                    MOVEFILE_REPLACE_EXISTING));
            platformMprAside = false;
        }
    }

    static int verifyAnswering(const char* answer, HWND parent) {
        SetEnvironmentVariableA("QUILLMESH_TEST_PASSWORD_ANSWER", answer);
        return verifyPassword(parent);
    }

    const std::string platformMpr = systemFolder() + "MPR.DLL";
    const std::string platformMprAway = systemFolder() + "MPR.DLL.platform";
    bool platformMprAside = false;
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

TEST_F(PasswordTest, WithoutThePlatformsLibraryItGrantsAndLoadsNoneOfTheSameName) {
    DeleteFileA((systemFolder() + "PASSWORD.CPL").c_str());
    EXPECT_EQ(verifyAnswering("0", parent), 1);
    EXPECT_EQ(environment("QUILLMESH_TEST_PASSWORD_PARENT"), "")
        << "the refusing stand-in beside the program and in the current folder was asked";
}

TEST_F(PasswordTest, LibraryWithoutTheFunctionGrants) {
    install("password_cpl_misnamed.dll", "PASSWORD.CPL");
    EXPECT_EQ(verifyAnswering("0", parent), 1);
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

TEST_F(PasswordTest, ChangeLoadsNoMprOfTheSameNameBesideTheProgram) {
    putThePlatformsMprBack();
    changePassword(parent);
    EXPECT_EQ(environment("QUILLMESH_TEST_PASSWORD_CHANGE"), "");
}

} // namespace
