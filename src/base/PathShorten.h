#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace base {

// Drops the first folder name of a directory text and marks the cut with "...\":
// "\a\b\" -> "\...\b\", "\...\b\" -> "\...\", "\" -> "". A text that (less a leading "\")
// begins with "." loses its first 4 characters first, taken to be the "...\" of an earlier
// cut, so a folder whose name begins with a dot goes the same way. Characters are code points:
// one beyond the Basic Multilingual Plane (two UTF-16 units) is never split.
void CutFirstFolder(std::wstring& dir);

// The path shortened until textWidth(result) <= limit: leading folders are replaced by
// "...\" one at a time, then the drive goes, then "...\", leaving the last name alone, which
// is returned however wide it is. textWidth measures a text in pixels in the display font.
std::wstring ShortenPath(std::wstring_view path, const std::function<int(std::wstring_view)>& textWidth, int limit);

}  // namespace base
