#include "base/BmpLayout.h"

#include <algorithm>

namespace base {

namespace {
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgbQuadSize = 4;

// Writes little-endian integers at increasing offsets of a fixed buffer.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::array<uint8_t, kBmpHeadersSize>& out) : out_(out) {}

    void Put16(uint32_t value) { PutBytes(value, 2); }
    void Put32(uint32_t value) { PutBytes(value, 4); }

private:
    void PutBytes(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) out_[offset_++] = static_cast<uint8_t>(value >> (8 * i));
    }

    std::array<uint8_t, kBmpHeadersSize>& out_;
    size_t offset_ = 0;
};
}  // namespace

BmpLayout ComputeBmpLayout(int width, int height, int bitsPerPixel) {
    BmpLayout layout;
    layout.width = std::max(width, 0);
    layout.height = std::max(height, 0);
    layout.bitsPerPixel = bitsPerPixel;
    // Every row is padded to whole 32-bit words; 64-bit so a wide row cannot overflow.
    const int64_t rowBits = int64_t{layout.width} * std::max(bitsPerPixel, 0);
    layout.rowStride = static_cast<uint32_t>((rowBits + 31) / 32 * 4);
    layout.imageSize = layout.rowStride * static_cast<uint32_t>(layout.height);
    // Palette depths (1, 4, 8) carry a full colour table; deeper pictures carry none.
    layout.colorTableEntries = (bitsPerPixel >= 1 && bitsPerPixel <= 8) ? (1u << bitsPerPixel) : 0u;
    layout.headerSize = kInfoHeaderSize + kRgbQuadSize * layout.colorTableEntries;
    layout.offBits = kFileHeaderSize + layout.headerSize;
    layout.fileSize = layout.offBits + layout.imageSize;
    return layout;
}

std::array<uint8_t, kBmpHeadersSize> EncodeBmpHeaders(const BmpLayout& layout) {
    std::array<uint8_t, kBmpHeadersSize> bytes{};
    LittleEndianWriter w(bytes);
    // BITMAPFILEHEADER
    w.Put16(0x4D42);  // "BM"
    w.Put32(layout.fileSize);
    w.Put16(0);  // bfReserved1
    w.Put16(0);  // bfReserved2
    w.Put32(layout.offBits);
    // BITMAPINFOHEADER
    w.Put32(kInfoHeaderSize);
    w.Put32(static_cast<uint32_t>(layout.width));
    w.Put32(static_cast<uint32_t>(layout.height));  // positive: bottom row first
    w.Put16(1);                                     // planes
    w.Put16(static_cast<uint32_t>(layout.bitsPerPixel));
    w.Put32(0);  // BI_RGB
    w.Put32(layout.imageSize);
    w.Put32(0);                         // biXPelsPerMeter
    w.Put32(0);                         // biYPelsPerMeter
    w.Put32(layout.colorTableEntries);  // biClrUsed: 0 above 8 bpp
    w.Put32(0);                         // biClrImportant
    return bytes;
}

}  // namespace base
