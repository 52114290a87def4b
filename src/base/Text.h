#pragma once

#include <string>
#include <string_view>

namespace base {

// The error display's rule: a message whose last character sorts after "." (by its code)
// gets a full stop; one ending in ".", "!", ")" or a blank, and an empty one, stays as it is.
std::wstring WithFullStop(std::wstring msg);

// Hints are "short|long": the tooltip shows the part before the first "|", the status bar
// the part after it. A hint without "|" serves as both.
std::wstring_view ShortHint(std::wstring_view hint);
std::wstring_view LongHint(std::wstring_view hint);

// A caption as shown, without its access-key marks: a single "&" goes, "&&" becomes "&".
std::wstring AccessKeyFree(std::wstring_view caption);

// The character after the first single "&" of a caption, ASCII letters upper-cased to match
// the virtual-key codes; 0 when the caption has no access key. Other characters come back as
// they stand, for the caller to fold with the system's own case rules.
wchar_t AccessKey(std::wstring_view caption);

}  // namespace base
