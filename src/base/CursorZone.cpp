#include "base/CursorZone.h"

#include <algorithm>

#include "base/Geometry.h"

namespace base {

namespace {
// The right and bottom bands are the frame's band; near the corner the grip and its white
// outline (one pixel more) resize diagonally, so the corner zone is larger than the black
// grip it contains.
constexpr int kEdge = kBandWidth;
constexpr int kCorner = kGripLength + 1;

// SC_MOVE / SC_SIZE plus the hit code, spelled out so base/ needs no <windows.h>.
constexpr unsigned kMoveCommand = 0xF012;        // SC_MOVE + 2: move with the mouse
constexpr unsigned kSizeRightCommand = 0xF002;   // SC_SIZE + WMSZ_RIGHT
constexpr unsigned kSizeBottomCommand = 0xF006;  // SC_SIZE + WMSZ_BOTTOM
constexpr unsigned kSizeCornerCommand = 0xF008;  // SC_SIZE + WMSZ_BOTTOMRIGHT
}  // namespace

CursorZone ChooseZone(bool exactlyCtrl, int x, int y, int width, int height) {
    // The order matters: CTRL wins over every edge, and the corner over both bands.
    if (exactlyCtrl) return CursorZone::Move;
    if (x >= width - kCorner && y >= height - kCorner) return CursorZone::BottomRight;
    if (y >= height - kEdge) return CursorZone::Bottom;
    if (x >= width - kEdge) return CursorZone::RightEdge;
    return CursorZone::None;
}

unsigned ZoneCommand(CursorZone zone) {
    switch (zone) {
    case CursorZone::Move:
        return kMoveCommand;
    case CursorZone::RightEdge:
        return kSizeRightCommand;
    case CursorZone::BottomRight:
        return kSizeCornerCommand;
    case CursorZone::Bottom:
        return kSizeBottomCommand;
    case CursorZone::None:
        break;
    }
    return 0;
}

IntRect FrameAfterArrow(const IntRect& frame, int dx, int dy, bool resize, bool coarse) {
    const int step = coarse ? 10 : 1;
    dx *= step;
    dy *= step;
    if (!resize) return IntRect{frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy};
    const int width = std::max(frame.Width() + dx, kSmallestFrame),
              height = std::max(frame.Height() + dy, kSmallestFrame);
    return IntRect{frame.left, frame.top, frame.left + width, frame.top + height};
}

}  // namespace base
