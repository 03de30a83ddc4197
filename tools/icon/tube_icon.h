#pragma once

#include <cstdint>
#include <vector>

// A square picture for the program's icon, top row first, four bytes a pixel: red, green, blue,
// alpha.
struct IconImage {
    int size = 0;
    std::vector<std::uint8_t> rgba;
};

// The saver's tube, a trefoil knot seen from above, shaded orange to yellow on opaque black.
IconImage drawTubeIcon(int size);
