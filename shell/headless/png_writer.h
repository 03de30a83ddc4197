#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes tightly packed RGB bytes, bottom row first (as readFramePixels gives them), as an 8-bit
// RGB PNG with the top row first. False when the file cannot be written.
bool writeRgbPng(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& bottomUpPixels);
