#include "base/FilterExtension.h"

namespace base {

namespace {
// Whatever the pattern's first character is, it goes: the patterns all begin with "*".
std::wstring WithoutFirstCharacter(std::wstring_view pattern) {
    if (pattern.size() <= 1) return {};
    return std::wstring(pattern.substr(1));
}
}  // namespace

std::wstring ExtensionFromFilter(std::wstring_view filter, int index) {
    if (index < 1) return {};
    // Entry k's pattern lies between the (2k-1)-th and the 2k-th bar, or runs from the
    // (2k-1)-th bar to the end (always so for the last entry, which has no closing bar).
    const long long opening = 2LL * index - 1;
    long long bars = 0;
    size_t start = std::wstring_view::npos;
    for (size_t i = 0; i < filter.size(); ++i) {
        if (filter[i] != L'|') continue;
        ++bars;
        if (bars == opening) {
            start = i + 1;
        } else if (bars == opening + 1) {
            return WithoutFirstCharacter(filter.substr(start, i - start));
        }
    }
    if (start == std::wstring_view::npos) return {};  // fewer entries than index
    return WithoutFirstCharacter(filter.substr(start));
}

std::wstring FilterForDialog(std::wstring_view barFilter) {
    std::wstring result(barFilter);
    for (wchar_t& c : result) {
        if (c == L'|') c = L'\0';
    }
    result.append(2, L'\0');
    return result;
}

}  // namespace base
