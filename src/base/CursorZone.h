#pragma once

namespace base {

// What a mouse press on the frame will do; the frame keeps it in the program-wide cursor.
enum class CursorZone { None, Move, RightEdge, BottomRight, Bottom };

// The zone under the pointer at client position x, y of a frame of width x height.
// exactlyCtrl: CTRL is held and nothing else of CTRL, SHIFT, ALT and the mouse buttons.
CursorZone ChooseZone(bool exactlyCtrl, int x, int y, int width, int height);

// The WM_SYSCOMMAND wParam that starts the system's move or size loop for the zone;
// 0 for CursorZone::None (nothing is sent).
unsigned ZoneCommand(CursorZone zone);

}  // namespace base
