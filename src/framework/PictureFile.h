#pragma once
// A bitmap file's picture, read for showing, and its drawing at any size.
#include <windows.h>

#include <string>

#include "framework/Gdi.h"

namespace fw {

// The picture of a bitmap file and its size; an empty owner (size 0 x 0) when the file is
// not a readable picture here. A file whose contents are elsewhere (offline, a cloud drive's
// placeholder) is not read: reading would fetch it from its slow or offline store.
BitmapHandle LoadPictureFile(const std::wstring& path, SIZE& size);

// Draws a picture of `size` into `target` of `dc`, smoothed when it is scaled.
void DrawPicture(HDC dc, HBITMAP picture, SIZE size, const RECT& target);

}  // namespace fw
