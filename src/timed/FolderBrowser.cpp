#include "timed/FolderBrowser.h"

#include <shlobj.h>

#include <vector>

#include "framework/SystemLibrary.h"

namespace timed {

namespace {
// The longest path the file system takes, in characters.
constexpr size_t kLongPathChars = 32768;
}  // namespace

std::function<std::wstring(const std::wstring& title, UINT flags)> folderBrowserHook;

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, UINT flags) {
    if (folderBrowserHook) return folderBrowserHook(title, flags);
    // The display name is one item's name (the system's limit holds for it); the path may be
    // longer than the classic limit where the system allows long paths.
    wchar_t displayName[MAX_PATH + 1] = L"";
    std::vector<wchar_t> path(kLongPathChars, L'\0');
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // start at the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    static auto* browse = fw::SystemFunction<decltype(::SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    static auto* pathOf =
        fw::SystemFunction<decltype(::SHGetPathFromIDListEx)>(L"shell32.dll", "SHGetPathFromIDListEx");
    static auto* freeList = fw::SystemFunction<decltype(::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    fw::RequireOle();
    PIDLIST_ABSOLUTE list = browse(&info);
    if (!list) return std::wstring();
    bool ok = pathOf(list, path.data(), DWORD(path.size()), GPFIDL_DEFAULT) != FALSE;
    freeList(list);
    return ok ? std::wstring(path.data()) : std::wstring();
}

}  // namespace timed
