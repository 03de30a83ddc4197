// The .ico layout: a 6-byte header, a 16-byte directory entry per image, then each image as a
// BITMAPINFOHEADER, its colour rows bottom-up in blue, green, red, alpha, and a 1-bit mask whose
// rows are padded to 32 bits (all clear: the alpha bytes decide).
#include "tools/icon/icon_file.h"

namespace {

constexpr int fileHeaderSize = 6;
constexpr int directoryEntrySize = 16;
constexpr int bitmapHeaderSize = 40;

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::uint32_t maskBytes(int size) {
    return static_cast<std::uint32_t>((size + 31) / 32 * 4 * size);
}

std::uint32_t imageBytes(const IconImage& image) {
    return bitmapHeaderSize + 4u * image.size * image.size + maskBytes(image.size);
}

} // namespace

std::vector<std::uint8_t> encodeIconFile(const std::vector<IconImage>& images) {
    std::vector<std::uint8_t> out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<unsigned>(images.size()));

    std::uint32_t offset = fileHeaderSize + directoryEntrySize * images.size();
    for (const IconImage& image : images) {
        out.push_back(static_cast<std::uint8_t>(image.size)); // 256 would be written as 0
        out.push_back(static_cast<std::uint8_t>(image.size));
        out.push_back(0); // no palette
        out.push_back(0); // reserved
        put16(out, 1);    // planes
        put16(out, 32);   // bits per pixel
        put32(out, imageBytes(image));
        put32(out, offset);
        offset += imageBytes(image);
    }

    for (const IconImage& image : images) {
        int size = image.size;
        put32(out, bitmapHeaderSize);
        put32(out, static_cast<std::uint32_t>(size));
        put32(out, static_cast<std::uint32_t>(2 * size)); // colour rows and mask rows
        put16(out, 1);
        put16(out, 32);
        put32(out, 0); // BI_RGB
        put32(out, imageBytes(image) - bitmapHeaderSize);
        put32(out, 0);
        put32(out, 0);
        put32(out, 0);
        put32(out, 0);
        for (int row = size - 1; row >= 0; --row) {
            for (int column = 0; column < size; ++column) {
                const std::uint8_t* pixel = &image.rgba[4 * (row * size + column)];
                out.insert(out.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
            }
        }
        out.insert(out.end(), maskBytes(size), 0);
    }
    return out;
}

std::vector<std::uint8_t> generateIconFile() {
    return encodeIconFile({drawTubeIcon(16), drawTubeIcon(32), drawTubeIcon(48)});
}
