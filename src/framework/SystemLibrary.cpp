#include "framework/SystemLibrary.h"

#include <string>

#include "framework/Error.h"

namespace fw {

namespace {

[[noreturn]] void ThrowCannotLoad(const wchar_t* library) { throw Error(FormatMessage1(L"Cannot load %s", library)); }

// Only ever from the system folder: a library of that name beside the program or in the
// current folder must not be the one that is run.
HMODULE LoadSystemLibrary(const wchar_t* library) {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) ThrowCannotLoad(library);
    const std::wstring path = std::wstring(folder, n) + L"\\" + library;
    HMODULE module = ::LoadLibraryW(path.c_str());  // kept for the life of the program
    if (!module) ThrowCannotLoad(library);
    return module;
}

}  // namespace

FARPROC SystemProc(const wchar_t* library, const char* function) {
    FARPROC proc = ::GetProcAddress(LoadSystemLibrary(library), function);
    if (!proc) ThrowCannotLoad(library);
    return proc;
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
