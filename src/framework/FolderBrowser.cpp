#include "framework/FolderBrowser.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "base/FileName.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {

// The shell functions used here, loaded with shell32 on first use.
struct Shell {
    decltype(::SHBrowseForFolderW)* browse =
        SystemFunction<decltype(::SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    decltype(::SHGetPathFromIDListEx)* pathOf =
        SystemFunction<decltype(::SHGetPathFromIDListEx)>(L"shell32.dll", "SHGetPathFromIDListEx");
    decltype(::SHBindToParent)* bindToParent =
        SystemFunction<decltype(::SHBindToParent)>(L"shell32.dll", "SHBindToParent");
    decltype(::ILClone)* clone = SystemFunction<decltype(::ILClone)>(L"shell32.dll", "ILClone");
    decltype(::ILRemoveLastID)* removeLast =
        SystemFunction<decltype(::ILRemoveLastID)>(L"shell32.dll", "ILRemoveLastID");
    decltype(::ILFree)* freeList = SystemFunction<decltype(::ILFree)>(L"shell32.dll", "ILFree");
    decltype(::StrRetToStrW)* strRetToStr = SystemFunction<decltype(::StrRetToStrW)>(L"shlwapi.dll", "StrRetToStrW");
    decltype(::CoTaskMemFree)* taskMemFree = SystemFunction<decltype(::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
};

const Shell& TheShell() {
    static const Shell shell;
    return shell;
}

// The path the shell itself gives; "" when the item has none.
std::wstring ShellPath(PCIDLIST_ABSOLUTE item) {
    std::vector<wchar_t> path(base::kLongestPath, L'\0');
    if (!TheShell().pathOf(item, path.data(), DWORD(path.size()), GPFIDL_DEFAULT)) return std::wstring();
    path.back() = L'\0';
    return path.data();
}

// The file-system name of the item within its parent folder; "" when it has none.
std::wstring NameInFolder(PCIDLIST_ABSOLUTE item) {
    const Shell& shell = TheShell();
    IShellFolder* parent = nullptr;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(shell.bindToParent(item, __uuidof(IShellFolder), reinterpret_cast<void**>(&parent), &child)))
        return std::wstring();
    std::wstring name;
    STRRET ret{};
    if (SUCCEEDED(parent->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &ret))) {
        wchar_t* text = nullptr;
        if (SUCCEEDED(shell.strRetToStr(&ret, child, &text)) && text) {
            name = text;
            shell.taskMemFree(text);
        }
    }
    parent->Release();
    return name;
}
}  // namespace

std::function<std::wstring(const std::wstring& title, UINT flags)> folderBrowserHook;

std::wstring FolderPathOf(PCIDLIST_ABSOLUTE folder) {
    RequireOle();
    const std::wstring given = ShellPath(folder);
    // A path shorter than the classic limit is whole. Some shells (Wine's) cut a longer one at
    // MAX_PATH - 1 characters: it is put together again from the folder's own name and its
    // parents' names, up to the first parent whose path is short enough to be given whole.
    if (given.size() < MAX_PATH - 1) return given;
    const Shell& shell = TheShell();
    PIDLIST_ABSOLUTE list = shell.clone(folder);
    if (!list) return given;
    std::vector<std::wstring> names;  // the folder's first, then its parents'
    std::wstring path;
    while (true) {
        std::wstring name = NameInFolder(list);
        if (name.empty() || !shell.removeLast(list) || list->mkid.cb == 0) break;
        names.push_back(std::move(name));
        const std::wstring parentPath = ShellPath(list);
        if (parentPath.empty()) break;
        if (parentPath.size() < MAX_PATH - 1) {
            path = parentPath;
            break;
        }
    }
    shell.freeList(list);
    if (path.empty()) return given;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (path.back() != L'\\') path += L'\\';
        path += *name;
    }
    return path;
}

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, UINT flags) {
    if (folderBrowserHook) return folderBrowserHook(title, flags);
    // The display name is one item's name (the system's limit holds for it); the path may be
    // longer than the classic limit where the system allows long paths.
    wchar_t displayName[MAX_PATH + 1] = L"";
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // start at the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    RequireOle();
    PIDLIST_ABSOLUTE list = TheShell().browse(&info);
    if (!list) return std::wstring();
    std::wstring path = FolderPathOf(list);
    TheShell().freeList(list);
    return path;
}

}  // namespace fw
