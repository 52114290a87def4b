#pragma once

#include "base/Geometry.h"

namespace base {

// Frame `index` of a sheet of frames cols wide, numbered left to right, then top to bottom.
// cols below 1 is taken as 1, an index below 0 as 0.
IntRect FrameRect(int index, int cols, int frameW, int frameH);

// Where a frame goes in the control's client area: the whole area when stretching, else the
// frame at its own size, centred with the division truncated toward zero (an odd leftover
// goes to the right and bottom; a frame larger than the control is cut on all sides).
IntRect DestRect(bool stretch, int clientW, int clientH, int frameW, int frameH);

// The size of one frame of a sheet of cols x rows frames. Pixels beyond whole frames are
// never shown. An empty sheet gives 1 x 1; cols or rows below 1 are taken as 1; a sheet
// narrower (lower) than its frame count still gives frames at least 1 px wide (high).
void FrameSize(int sheetW, int sheetH, int cols, int rows, int& fw, int& fh);

// A picture of width x height shown in `box`: centred, scaled down to fit with its proportions
// kept (the tighter side sets the scale, the other follows rounded halves away from zero, at
// least one pixel), never enlarged. An empty picture or box gives an empty rectangle at the
// box's corner.
IntRect FitPicture(int width, int height, const IntRect& box);

}  // namespace base
