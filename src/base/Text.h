#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// UTF-16: a character beyond the Basic Multilingual Plane is a lead unit and a trail unit.
constexpr bool IsLeadSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsTrailSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// Where the character that begins at `at` ends: after its two units for a pair, else one.
size_t NextCharacter(std::wstring_view text, size_t at);

// The error display's rule: a message whose last character sorts after "." (by its code)
// gets a full stop; one ending in ".", "!", ")" or a blank, and an empty one, stays as it is.
std::wstring WithFullStop(std::wstring msg);

// Hints are "short|long": the tooltip shows the part before the first "|", the status bar
// the part after it. A hint without "|" serves as both.
std::wstring_view ShortHint(std::wstring_view hint);
std::wstring_view LongHint(std::wstring_view hint);

// The lines of a text shown where no line may be wider than `limit` (textWidth measures a
// text in pixels): each line as long as fits, broken after its last blank, "\" or "/" that
// fits and, where there is none, after the last character that fits; a character of two
// UTF-16 units stays whole, and a line holds at least one character however wide it is.
std::vector<std::wstring> WrapToWidth(std::wstring_view text, const std::function<int(std::wstring_view)>& textWidth,
                                      int limit);

// A caption as shown, without its access-key marks: a single "&" goes, "&&" becomes "&".
std::wstring AccessKeyFree(std::wstring_view caption);

// The character after the first single "&" of a caption, ASCII letters upper-cased to match
// the virtual-key codes; 0 when the caption has no access key. Other characters come back as
// they stand, for the caller to fold with the system's own case rules.
wchar_t AccessKey(std::wstring_view caption);

}  // namespace base
