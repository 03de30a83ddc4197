#pragma once

#include <cstdint>
#include <vector>

// The current colour buffer as tightly packed RGB bytes, bottom row first (as glReadPixels gives
// them). Read it before the swap.
std::vector<std::uint8_t> readFramePixels(int width, int height);
