#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The one rule for a stored value's raw data: exactly four bytes, whatever type the store reports,
// read as a little-endian 32-bit integer. Longer or shorter data is no setting at all, so no byte
// that was never written is ever read.
std::optional<std::int32_t> storedDword(const unsigned char* data, std::size_t size);
