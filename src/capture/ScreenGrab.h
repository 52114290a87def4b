#pragma once
// The one capture operation of the program: the screen area inside the capture frame's red
// band, copied into a bitmap. The simple capture, the countdown and the series all use it.
#include "framework/Bitmap.h"

namespace capture {

// Copies the screen area inside a frame window at (left, top) of width x height into
// `bitmap`, which is made (width - 12) x (height - 12) and compatible with the screen: the
// frame's outer 6 px on every side are its band and are never in the picture. The area is
// taken as the screen shows it, without CAPTUREBLT (the see-through frame itself is layered
// and must not appear). Throws fw::OutOfResources when the bitmap cannot be made; the
// screen's DC is released either way.
void GrabScreen(fw::Bitmap& bitmap, int left, int top, int width, int height);

// The grab of every capture: into `spare`, which is then exchanged with `picture`, so the
// picture gets the new pixels without a copy and `spare` keeps the old bitmap for the next
// grab (of the same size it is used again as it is). When the grab fails, `picture` is left
// as it was.
void GrabScreenInto(fw::Bitmap& picture, fw::Bitmap& spare, int left, int top, int width, int height);

}  // namespace capture
