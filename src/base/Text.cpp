#include "base/Text.h"

namespace base {

size_t NextCharacter(std::wstring_view text, size_t at) {
    const bool pair = at + 1 < text.size() && IsLeadSurrogate(text[at]) && IsTrailSurrogate(text[at + 1]);
    return at + (pair ? 2 : 1);
}

std::wstring WithFullStop(std::wstring msg) {
    if (!msg.empty() && msg.back() > L'.') msg += L'.';
    return msg;
}

std::wstring_view ShortHint(std::wstring_view hint) { return hint.substr(0, hint.find(L'|')); }

std::wstring_view LongHint(std::wstring_view hint) {
    const size_t bar = hint.find(L'|');
    return bar == std::wstring_view::npos ? hint : hint.substr(bar + 1);
}

std::vector<std::wstring> WrapToWidth(std::wstring_view text, const std::function<int(std::wstring_view)>& textWidth,
                                      int limit) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        // The longest run of whole characters from `start` that fits, at least one.
        size_t end = NextCharacter(text, start);
        while (end < text.size()) {
            const size_t further = NextCharacter(text, end);
            if (textWidth(text.substr(start, further - start)) > limit) break;
            end = further;
        }
        if (end < text.size()) {
            const size_t brk = text.substr(start, end - start).find_last_of(L" \\/");
            if (brk != std::wstring_view::npos) end = start + brk + 1;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::wstring AccessKeyFree(std::wstring_view caption) {
    std::wstring result;
    result.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        // A mark shows the character after it as it stands: "&&" one "&", "&C" the "C"; a
        // trailing single "&" shows nothing.
        if (caption[i] == L'&') {
            if (i + 1 < caption.size()) result += caption[++i];
            continue;
        }
        result += caption[i];
    }
    return result;
}

wchar_t AccessKey(std::wstring_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        const wchar_t next = caption[++i];  // skip the pair either way
        if (next == L'&') continue;
        if (next >= L'a' && next <= L'z') return static_cast<wchar_t>(next - L'a' + L'A');
        return next;
    }
    return 0;
}

}  // namespace base
