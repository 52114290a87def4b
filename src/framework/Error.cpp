#include "framework/Error.h"

#include <windows.h>

namespace fw {

Error::Error(std::wstring message) : std::runtime_error(Utf8(message)), message_(std::move(message)) {}

OutOfResources::OutOfResources() : Error(L"Out of system resources") {}

std::wstring FormatMessage1(std::wstring_view pattern, std::wstring_view arg) {
    std::wstring out(pattern);
    if (auto pos = out.find(L"%s"); pos != std::wstring::npos) out.replace(pos, 2, arg);
    return out;
}

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

}  // namespace fw
