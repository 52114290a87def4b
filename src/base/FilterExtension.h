#pragma once

#include <string>
#include <string_view>

namespace base {

// The file types of the save-picture dialog: description|pattern pairs, all joined by "|".
inline constexpr std::wstring_view kPictureFilter =
    L"Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|Compuserve GIF (*.gif)|*.gif|"
    L"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";

// The extension that file type `index` (1-based, as the dialog reports it) appends: the
// entry's pattern without its first character, "*.bmp" -> ".bmp". An index below 1 or past
// the last entry, and a pattern of one character or none, give "".
std::wstring ExtensionFromFilter(std::wstring_view filter, int index);

// The bar-separated filter in the form the common dialog reads: every "|" becomes a NUL and
// the list ends in two NULs. Both closing NULs are part of the returned string (counted by
// size()), so copying size() characters keeps the list terminated.
std::wstring FilterForDialog(std::wstring_view barFilter);

}  // namespace base
