#include "settings/saver_settings.h"

#include "platform/settings_key.h"
#include "tests/win32_registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool sameSettings(const SaverSettings& a, const SaverSettings& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// 1024x768, 24 bits, "Rendermode" 7, "Dot Size" 50, "Line Size" 0: every value differs from its
// default.
void presetAllEleven() {
    const std::vector<std::pair<std::string, std::string>> values{
        {"Resolution X", "1024"}, {"Resolution Y", "768"}, {"Bit Depth", "24"},
        {"ZBuffer Depth", "24"},  {"Alpha Depth", "0"},    {"Stencil Depth", "8"},
        {"Rendermode", "7"},      {"Timer", "1"},          {"EnvMap", "1"},
        {"Dot Size", "50"},       {"Line Size", "0"}};
    for (const auto& [name, data] : values) {
        ASSERT_EQ(addValue(productKey, name, "REG_DWORD", data), 0) << name;
    }
}

constexpr SaverSettings presetSettings{1024, 768, 24, 24, 0, 8, 7, 1, 1, 0, 50};

class RegistryTest : public testing::Test {
  protected:
    void SetUp() override {
        deleteKey(productKey);
        saverSettings = {};
    }
    void TearDown() override { deleteKey(productKey); }
};

TEST_F(RegistryTest, NoKeyGivesTheDefaults) {
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, defaultSettings));
}

TEST_F(RegistryTest, ElevenDwordsAreTakenUnchanged) {
    presetAllEleven();
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, presetSettings));
}

TEST_F(RegistryTest, FourBytesOfAnotherTypeAreALittleEndianInteger) {
    presetAllEleven();
    ASSERT_EQ(addValue(productKey, "Dot Size", "REG_BINARY", "0102a0ff"), 0);
    readSettings();
    SaverSettings expected = presetSettings;
    expected.dotSize = static_cast<std::int32_t>(0xffa00201u);
    EXPECT_TRUE(sameSettings(saverSettings, expected));
}

TEST_F(RegistryTest, NegativeDwordsComeBackNegative) {
    presetAllEleven();
    ASSERT_EQ(addValue(productKey, "Resolution X", "REG_DWORD", "4294967295"), 0);
    ASSERT_EQ(addValue(productKey, "Line Size", "REG_DWORD", "2147483648"), 0);
    readSettings();
    EXPECT_EQ(saverSettings.resolutionX, -1);
    EXPECT_EQ(saverSettings.lineSize, INT_MIN);
}

struct BadValue {
    const char* name;
    const char* type; // nullptr: the value is deleted
    const char* data;
};

std::ostream& operator<<(std::ostream& out, const BadValue& v) {
    return out << v.name << ' ' << (v.type != nullptr ? v.type : "missing");
}

class RegistryAllOrNothingTest : public RegistryTest,
                                 public testing::WithParamInterface<BadValue> {};

TEST_P(RegistryAllOrNothingTest, OneBadValueGivesAllDefaults) {
    presetAllEleven();
    const BadValue& bad = GetParam();
    if (bad.type == nullptr) {
        ASSERT_EQ(reg("delete \"" + productKey + "\" /v \"" + bad.name + "\" /f"), 0);
    } else {
        ASSERT_EQ(addValue(productKey, bad.name, bad.type, bad.data), 0);
    }
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, defaultSettings));
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryAllOrNothingTest,
                         testing::Values(BadValue{"Line Size", nullptr, nullptr},
                                         BadValue{"Resolution X", nullptr, nullptr},
                                         BadValue{"Timer", "REG_SZ", "\"a long string value\""},
                                         BadValue{"EnvMap", "REG_BINARY", "0102030405"},
                                         // Shorter than four bytes: refused rather than half read.
                                         BadValue{"Dot Size", "REG_BINARY", "0102"},
                                         BadValue{"Rendermode", "REG_BINARY", "01"}));

TEST_F(RegistryTest, StoreWritesElevenDwordsThatLoadBitForBit) {
    saverSettings = {INT_MIN, -1, 0, INT_MAX, -8, 255, 256, -100000, 1, 10, 20};
    const SaverSettings written = saverSettings;
    ASSERT_TRUE(writeSettings());

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Halvorn\\Brisco's Quillmesh", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    DWORD valueCount = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                     nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(valueCount, 11u);
    for (const StoredSetting& setting : storedSettings) {
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        ASSERT_EQ(RegQueryValueExA(key, setting.name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(&data), &size),
                  ERROR_SUCCESS)
            << setting.name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << setting.name;
        EXPECT_EQ(static_cast<std::int32_t>(data), written.*setting.field) << setting.name;
    }
    RegCloseKey(key);

    saverSettings = {};
    readSettings();
    EXPECT_TRUE(sameSettings(saverSettings, written));
}

TEST_F(RegistryTest, PlatformKeyIsOnlyEverRead) {
    EXPECT_EQ(openKeyForReading(SettingsKeyName::PlatformScreenSaver) != nullptr,
              reg("query \"" + platformKey + "\"") == 0);
}

} // namespace
