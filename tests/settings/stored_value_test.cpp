#include "settings/posix/settings_text.h"
#include "settings/stored_dword.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace {

TEST(StoredDwordTest, OnlyExactlyFourBytesAreASetting) {
    const unsigned char bytes[5] = {0x01, 0x02, 0xa0, 0xff, 0x7f};
    EXPECT_EQ(storedDword(bytes, 4), static_cast<std::int32_t>(0xffa00201u));
    for (std::size_t size : {0u, 1u, 2u, 3u, 5u}) {
        EXPECT_EQ(storedDword(bytes, size), std::nullopt) << size << " bytes";
    }
}

struct ValueCase {
    std::string text;
    std::optional<std::int32_t> value;
};

TEST(SettingsTextTest, ValuesArePlainDecimal32BitIntegers) {
    const ValueCase cases[] = {
        {"0", 0},
        {"-1", -1},
        {"0050", 50},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"+1", {}},
        {"", {}},
        {"-", {}},
        {" 1", {}},
        {"1 ", {}},
        {"1\r", {}},
        {"0x10", {}},
    };
    for (const ValueCase& c : cases) {
        EXPECT_EQ(parseSettingValue(c.text), c.value) << '[' << c.text << ']';
    }
}

TEST(SettingsTextTest, LinesSplitAtTheFirstEqualsAndSkipTheRest) {
    const SettingsLines expected{{"Dot Size", "8"}, {"A", "b=c"}, {"", "1"}, {"Last", "2"}};
    EXPECT_EQ(parseSettingsLines("Dot Size=8\nno equals\n\nA=b=c\n=1\nLast=2"), expected);
    EXPECT_EQ(parseSettingsLines(std::string("X=1\0\n", 5)),
              (SettingsLines{{"X", std::string("1\0", 2)}}));
}

} // namespace
