#include "base/FileName.h"

#include "base/Text.h"

namespace base {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

bool SameLetters(std::wstring_view text, std::wstring_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Upper(text[i]) != upper[i]) return false;
    return true;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 (Windows counts the superscripts 1, 2 and 3 as digits
// too), whatever follows the first dot and with blanks before it.
bool IsDeviceName(std::wstring_view part) {
    std::wstring_view stem = part.substr(0, part.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (SameLetters(stem, device)) return true;
    if (stem.size() != 4) return false;
    const wchar_t digit = stem[3];
    const bool isDigit =
        (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
    return isDigit && (SameLetters(stem.substr(0, 3), L"COM") || SameLetters(stem.substr(0, 3), L"LPT"));
}

bool HoldsOnlyNameCharacters(std::wstring_view part) {
    for (wchar_t c : part)
        if (c < 32 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return false;
    return true;
}

// The path without its drive or its "\\?\", "\\.\" (and "UNC\") prefix.
std::wstring_view WithoutRoot(std::wstring_view path) {
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
        IsSeparator(path[3])) {
        path.remove_prefix(4);
        if (path.size() >= 4 && SameLetters(path.substr(0, 3), L"UNC") && IsSeparator(path[3])) path.remove_prefix(4);
    }
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':') path.remove_prefix(2);
    return path;
}

constexpr std::wstring_view kMarks = L"0123456789abcdefghijklmnopqrstuvwxyz";

}  // namespace

bool IsCreatableFilePath(std::wstring_view path) {
    std::wstring_view rest = WithoutRoot(path);
    std::wstring_view last;
    while (true) {
        std::size_t end = 0;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        const std::wstring_view part = rest.substr(0, end);
        if (!part.empty() && part != L"." && part != L".." && (!HoldsOnlyNameCharacters(part) || IsDeviceName(part)))
            return false;
        if (end == rest.size()) {
            last = part;
            break;
        }
        rest.remove_prefix(end + 1);
    }
    // Windows drops trailing dots and blanks of the last part: nothing may be all that is left.
    return last.find_first_not_of(L". ") != std::wstring_view::npos;
}

std::size_t FileNameStart(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring_view::npos) return slash + 1;
    return (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':') ? 2 : 0;
}

std::wstring ReplacementName(std::wstring_view name, unsigned attempt) {
    std::wstring mark;
    if (name.size() >= 3) {
        mark = {L'~', kMarks[(attempt / kMarks.size()) % kMarks.size()], kMarks[attempt % kMarks.size()]};
    } else if (name.size() == 2) {
        mark = {L'~', kMarks[attempt % kMarks.size()]};
    } else {
        mark = {(attempt % (kMarks.size() + 1)) == 0 ? L'~' : kMarks[attempt % (kMarks.size() + 1) - 1]};
    }
    std::wstring_view kept = name.substr(0, name.size() >= mark.size() ? name.size() - mark.size() : 0);
    // A character of two UTF-16 units is kept whole or not at all.
    if (!kept.empty() && IsLeadSurrogate(kept.back())) kept.remove_suffix(1);
    return std::wstring(kept) + mark;
}

}  // namespace base
