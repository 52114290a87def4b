#pragma once
// A logical palette can be in use in one kind of DC at a time and has one owner, so the
// clipboard and the printer each get their own copy of a picture's palette.
#include <windows.h>

#include "framework/Gdi.h"

namespace capture {

// A new palette with the same entries; an empty owner for no palette. Throws
// fw::OutOfResources when the system cannot make it.
fw::PaletteHandle CopyPalette(HPALETTE palette);

}  // namespace capture
