#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace base {

// One file of a capture series: folder + "\" + name + counter + extension, joined as they
// stand. Nothing is trimmed or checked: a drive root gives "C:\\screen0.bmp", an empty folder
// a name beginning with "\".
std::wstring SeriesFileName(std::wstring_view folder, std::wstring_view name, int counter, std::wstring_view extension);

// Milliseconds between captures for the interval list's item index (0 = "1 sec" ...
// 12 = "1 hour"). An index outside the list is clamped to its first or last item.
int SeriesIntervalMs(int index);

// Start text of a countdown for the countdown list's item index (0 = "3" ... 5 = "60").
// An index outside the list is clamped to its first or last item.
std::wstring_view CountdownStartText(int index);

// A count written back by the countdown, read as a decimal integer: an optional "-" or "+"
// and digits, nothing else (no blanks). Empty text, anything else, or a value that does not
// fit an int gives nullopt.
std::optional<int> ParseCount(std::wstring_view text);

}  // namespace base
