#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace base {

// Sizes and offsets of a Windows bitmap file (BI_RGB, bottom-up rows) for one picture.
struct BmpLayout {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    uint32_t rowStride = 0;          // bytes per row, padded to a multiple of 4
    uint32_t imageSize = 0;          // rowStride * height
    uint32_t colorTableEntries = 0;  // 1 << bpp at 8 bpp or fewer, else 0
    uint32_t headerSize = 0;         // 40 + 4 * colorTableEntries
    uint32_t offBits = 0;            // 14 + headerSize: where the pixel rows begin
    uint32_t fileSize = 0;           // offBits + imageSize: nothing follows the rows
};

// The layout for a picture of the given size and depth. A width or height below 0 is taken
// as 0 (an empty image).
BmpLayout ComputeBmpLayout(int width, int height, int bitsPerPixel);

inline constexpr std::size_t kBmpHeadersSize = 54;  // file header (14) + information header (40)

// The 14-byte file header and the 40-byte BITMAPINFOHEADER, little-endian, byte by byte so
// the result does not depend on the compiler's structure packing or the host's byte order.
// The colour table, when there is one, follows these 54 bytes in the file.
std::array<uint8_t, kBmpHeadersSize> EncodeBmpHeaders(const BmpLayout& layout);

}  // namespace base
