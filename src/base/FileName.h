#pragma once
// What a Windows file name can hold, and the name a replacement is written under beside its
// target: pure text, the file system is not asked.
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// The longest path the system takes, in UTF-16 units with its closing NUL ("\\?\" paths; a
// buffer of this size holds any path a dialog or the shell can give).
inline constexpr std::size_t kLongestPath = 32768;

// True when a file can be made under this path: none of its parts (between "\" or "/", after
// a drive "C:" or a "\\?\" or "\\.\" prefix) holds a control character or one of <>:"|?*,
// none is a device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with any extension
// and in any case), and the last part names a file (not empty, not "." or "..", not only dots
// and blanks). Empty parts (two separators in a row) pass: the file system takes them as one.
// A ":" anywhere else would make a stream of another file; a device name would open the device.
bool IsCreatableFilePath(std::wstring_view path);

// Where the last part of a path begins: after its last separator, or after a drive "C:" that
// has none; 0 when the path is a bare name.
std::size_t FileNameStart(std::wstring_view path);

// The name, for attempt 0, 1, 2 ..., that a file replacing `name` is written under beside it
// before it takes the name: never longer than `name`, so that it fits wherever the name fits
// (path and part limits alike), its last characters a mark beginning with "~"
// ("shot0.bmp" -> "shot0.~00", "shot0.~01", ...), and a creatable name whenever `name` is one.
// Attempts give different names up to 1296 of them (36 for a name of two characters, 37 for
// one). `name` is the last part of a path, not empty.
std::wstring ReplacementName(std::wstring_view name, unsigned attempt);

}  // namespace base
