#include "settings/saver_settings.h"

#include "settings/posix/settings_text.h"
#include "tests/temporary_config_home.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <ostream>
#include <string>

namespace {

bool sameSettings(const SaverSettings& a, const SaverSettings& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class SaverSettingsTest : public testing::Test {
  protected:
    void SetUp() override { saverSettings = {}; }

    void writeFile(const std::string& text) {
        std::filesystem::create_directories(home.settingsFile().parent_path());
        std::ofstream(home.settingsFile()) << text;
    }

    std::string storedText() const {
        std::ifstream file(home.settingsFile());
        return {std::istreambuf_iterator<char>(file), {}};
    }

    TemporaryConfigHome home;
};

constexpr const char* allElevenValues = "Resolution X=1024\nResolution Y=768\nBit Depth=24\n"
                                        "ZBuffer Depth=24\nAlpha Depth=0\nStencil Depth=8\n"
                                        "Rendermode=7\nTimer=1\nEnvMap=1\nDot Size=50\n"
                                        "Line Size=0\n";

TEST_F(SaverSettingsTest, DefaultsInRecordOrder) {
    const SaverSettings expected{800, 600, 16, 16, 8, 0, 0, 0, 0, 2, 8};
    EXPECT_TRUE(sameSettings(defaultSettings, expected));
}

TEST_F(SaverSettingsTest, ValuesAreReadAndWrittenWithDotSizeBeforeLineSize) {
    const char* expectedOrder[] = {"Resolution X", "Resolution Y",  "Bit Depth",  "ZBuffer Depth",
                                   "Alpha Depth",  "Stencil Depth", "Rendermode", "Timer",
                                   "EnvMap",       "Dot Size",      "Line Size"};
    ASSERT_EQ(storedSettings.size(), std::size(expectedOrder));
    for (std::size_t i = 0; i < storedSettings.size(); ++i) {
        EXPECT_STREQ(storedSettings[i].name, expectedOrder[i]);
    }
    SaverSettings marked{};
    marked.*storedSettings[9].field = 1;
    marked.*storedSettings[10].field = 2;
    EXPECT_EQ(marked.dotSize, 1);
    EXPECT_EQ(marked.lineSize, 2);
}

TEST_F(SaverSettingsTest, FirstRunWithoutStoreGivesTheDefaults) {
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, defaultSettings));
}

TEST_F(SaverSettingsTest, StoredValuesAreTakenUnchangedEvenOutOfRange) {
    writeFile(allElevenValues);
    readSettings();
    const SaverSettings expected{1024, 768, 24, 24, 0, 8, 7, 1, 1, 0, 50};
    EXPECT_TRUE(sameSettings(saverSettings, expected));
}

struct BrokenStore {
    const char* description;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const BrokenStore& b) {
    return out << b.description;
}

class AllOrNothingTest : public SaverSettingsTest,
                         public testing::WithParamInterface<BrokenStore> {};

TEST_P(AllOrNothingTest, AnyBadValueGivesAllDefaults) {
    writeFile(GetParam().text);
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, defaultSettings)) << GetParam().description;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, AllOrNothingTest,
    testing::Values(
        BrokenStore{"no Line Size", replaced(allElevenValues, "Line Size=0\n", "")},
        BrokenStore{"no Resolution X", replaced(allElevenValues, "Resolution X=1024\n", "")},
        BrokenStore{"text", replaced(allElevenValues, "Timer=1", "Timer=on")},
        BrokenStore{"trailing text", replaced(allElevenValues, "Timer=1", "Timer=1x")},
        BrokenStore{"empty", replaced(allElevenValues, "Timer=1", "Timer=")},
        BrokenStore{"beyond 32 bits", replaced(allElevenValues, "Timer=1", "Timer=4294967296")},
        BrokenStore{"empty file", ""}));

TEST_F(SaverSettingsTest, StoreAndLoadGiveBackEveryBit) {
    saverSettings = {INT_MIN, -1, 0, INT_MAX, -8, 255, 256, -100000, 1, 10, 20};
    const SaverSettings written = saverSettings;
    ASSERT_TRUE(writeSettings());
    saverSettings = {};
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, written));
}

// The program's --settings prints the same text as the store writes.
TEST_F(SaverSettingsTest, StoreWritesAllElevenInOrderAsTheyAreDescribed) {
    saverSettings = {1024, 768, 24, 24, 0, 8, 7, 1, 1, 0, 50};
    ASSERT_TRUE(writeSettings());
    EXPECT_EQ(storedText(), allElevenValues);
    EXPECT_EQ(describeSettings(saverSettings), allElevenValues);
}

TEST_F(SaverSettingsTest, FailedStoreIsReportedAndLeavesTheOldFile) {
    writeFile(allElevenValues);
    // A folder where the new file would be renamed to makes the store fail.
    std::filesystem::create_directories(home.settingsFile().string() + ".new");
    std::ofstream(home.settingsFile().string() + ".new/x") << "x";
    saverSettings = defaultSettings;
    EXPECT_FALSE(writeSettings());
    EXPECT_EQ(storedText(), allElevenValues);
}

TEST_F(SaverSettingsTest, StoreWithoutAWritableFolderIsReported) {
    std::ofstream(home.path() / "quillmesh") << "a file where the folder should be";
    saverSettings = defaultSettings;
    EXPECT_FALSE(writeSettings());
}

} // namespace
