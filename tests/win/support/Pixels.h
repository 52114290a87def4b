#pragma once
// Pictures of known pixels and pixels read back: the test pattern, bitmaps and DIB sections
// made with known contents, what a bitmap or the screen holds, and a window on the screen
// that shows the pattern. Pixels are 0x00RRGGBB, rows top first.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Bitmap.h"

namespace capture_test {

// The test picture: every pixel differs from its neighbours, so a picture shifted by one
// pixel in any direction does not match.
uint32_t PatternPixel(int x, int y);

// The pattern's part at (x0, y0) of size w x h.
std::vector<uint32_t> PatternArea(int x0, int y0, int w, int h);

// Paints the pattern's part at (x0, y0) into dc at (0, 0).
void PaintPattern(HDC dc, int x0, int y0, int w, int h);

// A screen-compatible bitmap, as a grab makes, holding the pattern's part at (x0, y0).
void FillWithPattern(fw::Bitmap& bitmap, int w, int h, int x0 = 0, int y0 = 0);

// A DIB section of `bits` per pixel (bottom row first) with this colour table, and a logical
// palette of `palette` when it has entries, taken over by `into`; returns its pixel memory.
void* AdoptDib(fw::Bitmap& into, int width, int height, int bits, const std::vector<RGBQUAD>& table,
               const std::vector<PALETTEENTRY>& palette = {});

// The pixels of a bitmap (empty when they cannot be read).
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int w, int h);
std::vector<uint32_t> PixelsOf(fw::Bitmap& bitmap);

// The screen's pixels of a rectangle.
std::vector<uint32_t> ScreenPixels(int left, int top, int width, int height);

// "" when two pictures of the given width are equal; otherwise how many pixels differ and
// where, for a failure message that says more than two long lists.
std::string PixelDifferences(const std::vector<uint32_t>& got, const std::vector<uint32_t>& expected, int width);

// A borderless top-level window at a known place that paints the pattern (pattern pixel 0, 0
// in its top-left corner), shown without activation; topmost when asked, so that nothing else
// on the screen can cover it.
class PatternWindow {
public:
    enum class Layer { Ordinary, Topmost };
    PatternWindow(int left, int top, int width, int height, Layer layer = Layer::Ordinary);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_;
    int width_, height_;
};

}  // namespace capture_test
