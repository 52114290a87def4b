#pragma once
// The system libraries that only a few commands use: the file dialog (comdlg32), the folder
// browser and the shell (shell32), COM (ole32) and the print spooler (winspool). They are
// loaded from the system folder the first time a command needs them, so that starting the
// program, and its memory while it waits, do not pay for them.
#include <windows.h>

namespace fw {

// The address of `function` in the system library `library` (a file name such as
// L"shell32.dll"), which is loaded on first use and kept. Throws fw::Error
// "Cannot load <library>" when the library or the function cannot be had.
FARPROC SystemProc(const wchar_t* library, const char* function);

// As SystemProc, but null when the library or the function is not there (a function that
// only later versions of Windows have).
FARPROC OptionalSystemProc(const wchar_t* library, const char* function);

// SystemProc typed as the function it is: SystemFunction<decltype(::ShellExecuteW)>(...).
template <typename F>
F* SystemFunction(const wchar_t* library, const char* function) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(SystemProc(library, function)));
}

template <typename F>
F* OptionalSystemFunction(const wchar_t* library, const char* function) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(OptionalSystemProc(library, function)));
}

// From here on a library named without a path is looked for in the system folder only, not
// beside the program or in the current folder, where a planted one would run
// (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32: Windows 8 on, and Windows 7
// with KB2533623; elsewhere nothing changes). Called first thing at start.
void SearchSystemFolderForLibraries();

// True when the program runs under Wine, whose ntdll exports wine_get_version (Windows' has
// no such export). For the few places where Wine's way differs from what Windows documents.
bool RunningUnderWine();

// COM on the calling (GUI) thread, as the shell's dialogs and ShellExecute want it: set up
// once, the first time one of them is used.
void RequireOle();

}  // namespace fw
