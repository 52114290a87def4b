#include "framework/SystemLibrary.h"

#include <string>

#include "framework/Error.h"

namespace fw {

namespace {

[[noreturn]] void ThrowCannotLoad(const wchar_t* library) { throw Error(FormatMessage1(L"Cannot load %s", library)); }

// Only ever from the system folder: a library of that name beside the program or in the
// current folder must not be the one that is run. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* library) {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + library;
    return ::LoadLibraryW(path.c_str());  // kept for the life of the program
}

}  // namespace

FARPROC OptionalSystemProc(const wchar_t* library, const char* function) {
    HMODULE module = LoadSystemLibrary(library);
    return module ? ::GetProcAddress(module, function) : nullptr;
}

FARPROC SystemProc(const wchar_t* library, const char* function) {
    FARPROC proc = OptionalSystemProc(library, function);
    if (!proc) ThrowCannotLoad(library);
    return proc;
}

void SearchSystemFolderForLibraries() {
    using SetDefaultDllDirectoriesFn = BOOL WINAPI(DWORD);
    auto* setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn*>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
}

bool RunningUnderWine() {
    static const bool wine = [] {
        HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");  // in every process, never unloaded
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    }();
    return wine;
}

void RequireOle() {
    static bool done = false;
    if (done) return;
    using OleInitializeFn = HRESULT WINAPI(LPVOID);
    const HRESULT hr = SystemFunction<OleInitializeFn>(L"ole32.dll", "OleInitialize")(nullptr);
    // S_FALSE: COM was already set up on this thread; either way it stays up until the end.
    done = SUCCEEDED(hr);
}

}  // namespace fw
