#pragma once
// Copy of a capture to the clipboard, for other programs to paste.
#include <windows.h>

#include "framework/Bitmap.h"

namespace capture {

// Replaces the clipboard's content with a screen-compatible copy of `bitmap` (CF_BITMAP)
// and, when the bitmap carries one, a copy of its palette (CF_PALETTE). `owner` becomes the
// clipboard's owner. The bitmap itself is not changed. An empty bitmap empties the clipboard
// and offers nothing. Raises fw::Error("Cannot open clipboard") when another program holds
// the clipboard; the clipboard is then not changed.
void CopyBitmapToClipboard(fw::Bitmap& bitmap, HWND owner);

}  // namespace capture
