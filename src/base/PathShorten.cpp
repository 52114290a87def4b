#include "base/PathShorten.h"

#include "base/Text.h"

namespace base {

namespace {
constexpr std::wstring_view kCutMark = L"...\\";
constexpr std::wstring_view kRootedCutMark = L"\\...\\";

// Where the text is `count` characters (code points) in, or its end: a character beyond the
// Basic Multilingual Plane is two UTF-16 units and counts once.
size_t CodePointsIn(std::wstring_view text, size_t count) {
    size_t at = 0;
    for (; count > 0 && at < text.size(); --count) at = NextCharacter(text, at);
    return at;
}
}  // namespace

void CutFirstFolder(std::wstring& dir) {
    if (dir == L"\\") {
        dir.clear();
        return;
    }
    const bool rooted = !dir.empty() && dir.front() == L'\\';
    if (rooted) dir.erase(0, 1);
    // Four characters, not "up to the next backslash": a dot-folder shorter than that takes
    // part of the next name with it (\.a\b\c\ -> \...\c\ in one cut). Characters, not
    // UTF-16 units, so that no character is cut in half.
    if (!dir.empty() && dir.front() == L'.') dir.erase(0, CodePointsIn(dir, kCutMark.size()));
    const size_t slash = dir.find(L'\\');
    if (slash == std::wstring::npos) {
        dir.clear();
    } else {
        dir.erase(0, slash + 1);
        dir.insert(0, kCutMark);
    }
    if (rooted) dir.insert(0, 1, L'\\');
}

std::wstring ShortenPath(std::wstring_view path, const std::function<int(std::wstring_view)>& textWidth, int limit) {
    // Directory (up to and including the last "\" or ":") and name (the rest).
    const size_t split = path.find_last_of(L"\\:");
    const size_t dirLength = (split == std::wstring_view::npos) ? 0 : split + 1;
    std::wstring dir(path.substr(0, dirLength));
    const std::wstring name(path.substr(dirLength));

    // A drive letter is kept apart so it survives the folder cuts and goes only afterwards.
    std::wstring drive;
    if (dir.size() >= 2 && dir[1] == L':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }

    std::wstring result(path);
    while ((!dir.empty() || !drive.empty()) && textWidth(result) > limit) {
        if (dir == kRootedCutMark) {
            // Only "...\" is left of the folders: drop the drive and the root with it.
            drive.clear();
            dir = kCutMark;
        } else if (dir.empty()) {
            drive.clear();
        } else {
            CutFirstFolder(dir);
        }
        result = drive + dir + name;
    }
    return result;
}

}  // namespace base
