#include "timed/FolderBrowser.h"

#include <shlobj.h>

#include "framework/SystemLibrary.h"

namespace timed {

std::function<std::wstring(const std::wstring& title, UINT flags)> folderBrowserHook;

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, UINT flags) {
    if (folderBrowserHook) return folderBrowserHook(title, flags);
    // One more than the system's path limit, in characters.
    wchar_t displayName[MAX_PATH + 1] = L"";
    wchar_t path[MAX_PATH + 1] = L"";
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // start at the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    static auto* browse = fw::SystemFunction<decltype(::SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    static auto* pathOf = fw::SystemFunction<decltype(::SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
    static auto* freeList = fw::SystemFunction<decltype(::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    fw::RequireOle();
    PIDLIST_ABSOLUTE list = browse(&info);
    if (!list) return std::wstring();
    bool ok = pathOf(list, path) != FALSE;
    freeList(list);
    return ok ? std::wstring(path) : std::wstring();
}

}  // namespace timed
