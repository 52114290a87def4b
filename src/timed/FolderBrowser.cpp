#include "timed/FolderBrowser.h"

#include <shlobj.h>

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
    PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info);
    if (!list) return std::wstring();
    bool ok = ::SHGetPathFromIDListW(list, path) != FALSE;
    ::CoTaskMemFree(list);
    return ok ? std::wstring(path) : std::wstring();
}

}  // namespace timed
