#include "base/Series.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace base {

namespace {
constexpr std::array<int, 13> kIntervalsMs = {
    1000,    2000,   3000,   5000,   10000,  25000,    // seconds
    60000,   120000, 180000, 300000, 600000, 1800000,  // minutes
    3600000,                                           // one hour
};

constexpr std::array<std::wstring_view, 6> kCountdownTexts = {L"3", L"5", L"10", L"20", L"30", L"60"};

template <class Table>
const auto& ClampedEntry(const Table& table, int index) {
    const int last = static_cast<int>(table.size()) - 1;
    return table[static_cast<size_t>(std::clamp(index, 0, last))];
}
}  // namespace

std::wstring SeriesFileName(std::wstring_view folder, std::wstring_view name, int counter,
                            std::wstring_view extension) {
    std::wstring result(folder);
    result += L'\\';
    result += name;
    result += std::to_wstring(counter);
    result += extension;
    return result;
}

int SeriesIntervalMs(int index) { return ClampedEntry(kIntervalsMs, index); }

std::wstring_view CountdownStartText(int index) { return ClampedEntry(kCountdownTexts, index); }

std::optional<int> ParseCount(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        // One past INT_MAX is still fine for "-2147483648"; stop before the sum can overflow.
        if (value > int64_t{INT_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace base
