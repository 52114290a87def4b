#pragma once
// Printing a capture on the default printer: one page, no dialog, the picture stretched into
// a rectangle of printer pixels.
#include <windows.h>

#include "base/Geometry.h"
#include "framework/Bitmap.h"

namespace capture {

inline constexpr wchar_t kPrintTitle[] = L"Snapvane bitmap";

// Prints `bitmap` stretched into `rect` (printer pixels, right and bottom are coordinates)
// as a one-page job titled "Snapvane bitmap" on the program's printer, which is idle again
// afterwards. Raises fw::Error("There is no default printer currently selected") when there
// is none and fw::Error("Printing in progress") while a job of the program is being begun or
// spooled; a failure once the job has begun cancels it.
void PrintBitmap(fw::Bitmap& bitmap, const base::IntRect& rect);

// The stretch mode for drawing a picture of `bitmapBits` bits per pixel on a device of
// `deviceBits`: HALFTONE when the device has 8 bpp or fewer and fewer than the picture,
// which would otherwise lose its colours to the nearest few; COLORONCOLOR otherwise.
int StretchModeFor(int deviceBits, int bitmapBits);

// The drawing step of a print on any DC: the whole bitmap stretched to (left, top,
// right - left, bottom - top), the stretch mode by the rule above (with the brush origin
// reset after HALFTONE); the DC's mode is restored afterwards. The picture reaches the device
// as a device-independent bitmap of 32 bits per pixel (its palette, if any, turned into
// colours): a bitmap compatible with the screen belongs to the display, and a printer's
// driver may print one blank or black without a word. A device that takes a stretched DIB
// (RASTERCAPS has RC_STRETCHDIB) gets it with StretchDIBits; one that only takes a DIB at its
// size (RC_DIBTODEV) gets the picture stretched here first. Raises fw::Error "Printing failed"
// when the device takes neither or refuses the picture, fw::OutOfResources when the pixels
// cannot be read out of the bitmap. `rasterCaps` is the device's RASTERCAPS.
void DrawStretchedBitmap(HDC dc, fw::Bitmap& bitmap, const base::IntRect& rect, int rasterCaps);
void DrawStretchedBitmap(HDC dc, fw::Bitmap& bitmap, const base::IntRect& rect);

}  // namespace capture
