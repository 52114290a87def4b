#pragma once
// What a name typed (or pasted) into a file dialog's name box means, in the folder the dialog
// shows: pure text, the file system is not asked.
#include <string>
#include <string_view>

namespace base {

// The path that the name `typed` stands for in the folder `folder` (a full path: "C:\Shots",
// "\\server\share\dir", "\\?\C:\dir" or "\\?\UNC\server\share\dir"):
//  - blanks around it go, and so do the double quotes around a pasted path ("Copy as path"
//    puts them there);
//  - a full path ("C:\a.bmp", "\\server\share\a.bmp", "\\?\...") stands for itself;
//  - "\a.bmp" is at the root of the folder's drive or share ("C:\a.bmp",
//    "\\server\share\a.bmp");
//  - "C:a.bmp" is in the folder when the folder is on drive C:, otherwise it stays as it is
//    (the drive's own current folder then decides, which only the system knows);
//  - any other name is in the folder.
// Dots ("." and "..") are left for the system's full-path routine.
std::wstring PathOfTypedName(std::wstring_view typed, std::wstring_view folder);

// The root that a name beginning with "\" is taken from in `folder`: "C:" for "C:\dir",
// "\\server\share" for "\\server\share\dir", "\\?\C:" and "\\?\UNC\server\share" for the
// long forms; empty when the folder has none of these forms.
std::wstring_view RootOf(std::wstring_view folder);

}  // namespace base
