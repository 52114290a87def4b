#pragma once
// A saved bitmap file read back as another program reads it: its two headers, its colour
// table, its rows and, at 24 and 32 bits per pixel, its pixels.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace capture_test {

struct BmpFile {
    // "BM", a 40-byte info header, a positive size and every row inside the file.
    bool valid = false;
    size_t fileSize = 0;        // bytes on disk
    uint32_t declaredSize = 0;  // bfSize
    uint32_t offBits = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    int width = 0, height = 0, bitsPerPixel = 0;  // height > 0: bottom row first
    std::vector<RGBQUAD> colors;                  // the colour table
    std::vector<uint8_t> bytes;                   // the whole file

    // The bytes of row y (0 the top row), padding included.
    std::vector<uint8_t> Row(int y) const;
    // 0x00RRGGBB, rows top first; empty unless an uncompressed 24- or 32-bit picture.
    std::vector<uint32_t> pixels;
};

BmpFile ReadBmp(const std::wstring& path);

// A valid bitmap file whose header tells its size on disk.
bool IsBmp(const std::wstring& path);

}  // namespace capture_test
