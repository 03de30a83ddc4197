// The text of the Linux settings file: any bytes split into "Name=value" lines, and any value
// text taken as a setting only when it is a plain decimal 32-bit integer.

#include "settings/posix/settings_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Worked out without the parser: an optional minus sign, at least one digit, nothing else, and a
// value that fits 32 bits.
std::optional<std::int32_t> expectedValue(std::string_view text) {
    const bool negative = text.starts_with('-');
    std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (const char digit : digits) {
        magnitude = magnitude * 10 + (digit - '0');
        if (magnitude > std::int64_t{1} << 31) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SettingsLines lines = parseSettingsLines(text);

    std::string rewritten;
    for (const auto& [name, value] : lines) {
        require(name.find_first_of("=\n") == std::string::npos);
        require(value.find('\n') == std::string::npos);
        require(expectedValue(value) == parseSettingValue(value));
        rewritten += name + "=" + value + "\n";
    }
    // What the store writes reads back as the same lines.
    require(parseSettingsLines(rewritten) == lines);

    // The whole input as one value, and a value the store writes.
    require(expectedValue(text) == parseSettingValue(text));
    if (size >= 4) {
        const auto number = static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                      static_cast<std::uint32_t>(data[3]) << 24);
        require(parseSettingValue(std::to_string(number)) == number);
    }
    return 0;
}
