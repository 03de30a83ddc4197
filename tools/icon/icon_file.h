#pragma once

#include "tools/icon/tube_icon.h"

#include <cstdint>
#include <vector>

// The bytes of a Windows .ico file holding the images as 32-bit bitmaps, in the given order.
std::vector<std::uint8_t> encodeIconFile(const std::vector<IconImage>& images);

// The program's icon file: the tube at 16, 32 and 48 pixels.
std::vector<std::uint8_t> generateIconFile();
