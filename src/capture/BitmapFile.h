#pragma once
// The program's one picture writer: a Windows bitmap file (BI_RGB, bottom row first) at the
// bitmap's own colour depth, whatever extension the name carries. Save and every file of a
// capture series go through it.
#include <string>

#include "framework/Bitmap.h"

namespace capture {

// Writes `bitmap` to `path`; an empty bitmap writes nothing and raises nothing.
//
// A new name is written in place, made only if no file of that name exists and removed again
// if the write fails; an earlier file is replaced only once the new one has been written in
// full beside it. So a failed save never destroys an earlier file of that name and never
// leaves a part-written one behind. Raises fw::FileError:
//   "Cannot create file <path>"  the file cannot be made there (missing folder, no rights,
//                                invalid name, a folder or a locked file in the way);
//   "Stream write error"         writing failed part-way (disk full).
// fw::OutOfResources when the pixels cannot be read out of the bitmap.
void SaveBitmapFile(fw::Bitmap& bitmap, const std::wstring& path);

}  // namespace capture
