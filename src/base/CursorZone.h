#pragma once

#include "base/Geometry.h"

namespace base {

// What a mouse press on the frame will do; the frame keeps it in the program-wide cursor.
enum class CursorZone { None, Move, RightEdge, BottomRight, Bottom };

// The zone under the pointer at client position x, y of a frame of width x height.
// exactlyCtrl: CTRL is held and nothing else of CTRL, SHIFT, ALT and the mouse buttons.
CursorZone ChooseZone(bool exactlyCtrl, int x, int y, int width, int height);

// The WM_SYSCOMMAND wParam that starts the system's move or size loop for the zone;
// 0 for CursorZone::None (nothing is sent).
unsigned ZoneCommand(CursorZone zone);

// The frame after an arrow key, the keyboard's way to place it: moved by dx, dy pixels, or
// with `resize` its right and bottom edges moved (as the drags do), never below the smallest
// frame of 15 x 15; `coarse` (CTRL held) makes each step 10 pixels.
IntRect FrameAfterArrow(const IntRect& frame, int dx, int dy, bool resize, bool coarse);

}  // namespace base
