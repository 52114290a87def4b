#include "support/BmpFile.h"

#include "support/Files.h"

namespace capture_test {

namespace {

size_t Stride(const BmpFile& b) { return size_t((b.width * b.bitsPerPixel + 31) / 32 * 4); }

}  // namespace

std::vector<uint8_t> BmpFile::Row(int y) const {
    if (!valid || y < 0 || y >= height) return {};
    const size_t at = offBits + Stride(*this) * size_t(height - 1 - y);  // bottom row first
    return std::vector<uint8_t>(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + Stride(*this)));
}

BmpFile ReadBmp(const std::wstring& path) {
    BmpFile out;
    out.bytes = ReadFileBytes(path);
    const auto& b = out.bytes;
    out.fileSize = b.size();
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || U32(b, 14) != 40) return out;
    out.declaredSize = U32(b, 2);
    out.offBits = U32(b, 10);
    out.width = int(U32(b, 18));
    out.height = int(int32_t(U32(b, 22)));
    out.bitsPerPixel = U16(b, 28);
    out.compression = U32(b, 30);
    out.colorsUsed = U32(b, 46);
    if (out.width <= 0 || out.height <= 0 || out.bitsPerPixel <= 0) return out;
    const size_t entries = out.colorsUsed ? out.colorsUsed : out.bitsPerPixel <= 8 ? size_t(1) << out.bitsPerPixel : 0;
    if (54 + 4 * entries > out.offBits || out.offBits + Stride(out) * size_t(out.height) > b.size()) return out;
    for (size_t i = 0; i < entries; ++i)
        out.colors.push_back(RGBQUAD{b[54 + 4 * i], b[55 + 4 * i], b[56 + 4 * i], b[57 + 4 * i]});
    out.valid = true;
    if (out.compression != BI_RGB || (out.bitsPerPixel != 24 && out.bitsPerPixel != 32)) return out;
    for (int y = 0; y < out.height; ++y) {
        const std::vector<uint8_t> row = out.Row(y);
        for (int x = 0; x < out.width; ++x) {
            const size_t at = size_t(x) * size_t(out.bitsPerPixel / 8);
            out.pixels.push_back(uint32_t(row[at + 2]) << 16 | uint32_t(row[at + 1]) << 8 | row[at]);
        }
    }
    return out;
}

bool IsBmp(const std::wstring& path) {
    const BmpFile file = ReadBmp(path);
    return file.valid && file.declaredSize == file.fileSize;
}

}  // namespace capture_test
