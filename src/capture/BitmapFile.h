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
// full beside it, under a name no longer than its own. So a failed save never destroys an
// earlier file of that name and leaves nothing behind, part-written or temporary. Raises
// fw::FileError:
//   "Cannot create file <path>"  the file cannot be made there (missing folder, no rights,
//                                a name no file can have: ":" past the drive, <>"|?*, control
//                                characters, a device name such as CON or COM1; a folder, a
//                                read-only or a locked file in the way), and nothing is
//                                written anywhere;
//   "Stream write error"         writing failed part-way (disk full).
// fw::OutOfResources when the pixels cannot be read out of the bitmap.
void SaveBitmapFile(fw::Bitmap& bitmap, const std::wstring& path);

}  // namespace capture
