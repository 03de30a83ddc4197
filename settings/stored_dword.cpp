#include "settings/stored_dword.h"

std::optional<std::int32_t> storedDword(const unsigned char* data, std::size_t size) {
    if (size != 4) {
        return std::nullopt;
    }
    const std::uint32_t bits =
        static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
        static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    return static_cast<std::int32_t>(bits);
}
