#pragma once
// The picture the capture frame must show, pixel by pixel: the one description of it that the
// Windows tests (FrameTests.cpp) and the end-to-end tests (winprobe framepicture, read by
// tests/e2e/tools/frame_pixels.py) both check against. Plain C++: no <windows.h>.
//
// A frame of w x h pixels shows a red band 6 pixels wide along its edges, a black grip over
// its bottom-right corner (an L of 15 x 6 and 6 x 15 pixels), a white light line along the
// grip's inner edges and a grey shadow line along its outer ones; the rest is the key colour,
// which the screen does not show (the window is see-through there).
namespace frame_picture {

enum class Part { Inside, Band, Grip, Light, Shadow };

struct PartLook {
    Part part;
    char letter;  // in winprobe's listing
    unsigned char red, green, blue;
    const char* name;
};

inline constexpr PartLook kParts[] = {
    {Part::Inside, '.', 0, 128, 0, "see-through inside"},  // the key colour
    {Part::Band, 'R', 255, 0, 0, "red band"},
    {Part::Grip, 'B', 0, 0, 0, "black grip"},
    {Part::Light, 'W', 255, 255, 255, "white line"},
    {Part::Shadow, 'G', 128, 128, 128, "grey line"},
};

inline constexpr const PartLook& LookOf(Part part) { return kParts[int(part)]; }

constexpr int kBand = 6;

inline constexpr Part PartAt(int x, int y, int w, int h) {
    const bool shadow = (x == w - 1 && y >= h - 16) || (y == h - 1 && x >= w - 16);
    if (shadow) return Part::Shadow;
    const bool light = (x == w - 16 && y >= h - 6) || (y == h - 16 && x >= w - 6);
    if (light) return Part::Light;
    const bool grip = (x >= w - 15 && y >= h - 6) || (x >= w - 6 && y >= h - 15);
    if (grip) return Part::Grip;
    const bool band = x < kBand || y < kBand || x >= w - kBand || y >= h - kBand;
    return band ? Part::Band : Part::Inside;
}

}  // namespace frame_picture
