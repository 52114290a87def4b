#include "base/TypedPath.h"

namespace base {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

bool HasDrive(std::wstring_view path) { return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':'; }

// "\\?\" or "\\.\": the long and the device forms.
bool HasLongPrefix(std::wstring_view path) {
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
           IsSeparator(path[3]);
}

// Where the part that begins at `from` ends: at the next separator or at the end.
std::size_t PartEnd(std::wstring_view path, std::size_t from) {
    while (from < path.size() && !IsSeparator(path[from])) ++from;
    return from;
}

// "server\share" from `from` on: the end of the share's name.
std::size_t ShareEnd(std::wstring_view path, std::size_t from) {
    const std::size_t server = PartEnd(path, from);
    return server == path.size() ? server : PartEnd(path, server + 1);
}

// The drive letter of a folder "C:\..." or "\\?\C:\...", 0 when it has none.
wchar_t DriveOf(std::wstring_view folder) {
    if (HasLongPrefix(folder)) folder.remove_prefix(4);
    return HasDrive(folder) ? Upper(folder[0]) : 0;
}

std::wstring_view Trimmed(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring Joined(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && !IsSeparator(path.back())) path += L'\\';
    return path.append(name);
}

}  // namespace

std::wstring_view RootOf(std::wstring_view folder) {
    if (HasLongPrefix(folder)) {
        const std::wstring_view rest = folder.substr(4);
        if (HasDrive(rest)) return folder.substr(0, 6);
        if (rest.size() >= 4 && Upper(rest[0]) == L'U' && Upper(rest[1]) == L'N' && Upper(rest[2]) == L'C' &&
            IsSeparator(rest[3]))
            return folder.substr(0, ShareEnd(folder, 8));
        return {};
    }
    if (folder.size() >= 3 && IsSeparator(folder[0]) && IsSeparator(folder[1]) && !IsSeparator(folder[2]))
        return folder.substr(0, ShareEnd(folder, 2));
    return HasDrive(folder) ? folder.substr(0, 2) : std::wstring_view();
}

std::wstring PathOfTypedName(std::wstring_view typed, std::wstring_view folder) {
    std::wstring_view name = Trimmed(typed);
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"' &&
        name.substr(1, name.size() - 2).find(L'"') == std::wstring_view::npos)
        name = Trimmed(name.substr(1, name.size() - 2));
    if (name.empty()) return {};
    // "\\server\share\..." and "\\?\...": a full path of its own.
    if (name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1])) return std::wstring(name);
    if (IsSeparator(name[0])) {
        const std::wstring_view root = RootOf(folder);
        return root.empty() ? std::wstring(name) : std::wstring(root).append(name);
    }
    if (HasDrive(name)) {
        if (name.size() >= 3 && IsSeparator(name[2])) return std::wstring(name);
        // "C:a.bmp": in the current folder of drive C:, which is the dialog's folder when the
        // dialog shows a folder of C:.
        return DriveOf(folder) == Upper(name[0]) ? Joined(folder, name.substr(2)) : std::wstring(name);
    }
    return Joined(folder, name);
}

}  // namespace base
