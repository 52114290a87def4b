#pragma once
// The shell's folder browser: a modal dialog that returns the chosen folder's full path.
#include <windows.h>

#include <shtypes.h>

#include <functional>
#include <string>

namespace fw {

// Shows the browser (title, BIF_ flags) owned by `owner`; returns the folder's path, or ""
// when the user cancels or the choice has no file-system path.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, UINT flags);

// The full file-system path of a folder of the shell's namespace, also where it is longer
// than the classic limit of MAX_PATH characters; "" when the folder has no such path.
std::wstring FolderPathOf(PCIDLIST_ABSOLUTE folder);

// Replaces the modal dialog (tests): receives the title and flags, returns the answer.
extern std::function<std::wstring(const std::wstring& title, UINT flags)> folderBrowserHook;

}  // namespace fw
