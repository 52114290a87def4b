// Framework services that the start-up and memory figures rest on: the shared fonts and the
// system libraries loaded on first use.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include "framework/Canvas.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"

TEST(FwSharedFont, OneFontPerDescriptionAndDpiWhateverTheColour) {
    fw::FontSpec georgia;
    georgia.name = L"Georgia";
    georgia.height = 11;
    georgia.charset = ANSI_CHARSET;
    fw::FontSpec red = georgia;
    red.color = fw::kRed;
    const HFONT font = fw::SharedFont(georgia);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(fw::SharedFont(georgia), font) << "the same description made a second font";
    EXPECT_EQ(fw::SharedFont(red), font) << "the colour is drawn with, it is not part of the font";

    fw::FontSpec bold = georgia;
    bold.bold = true;
    EXPECT_NE(fw::SharedFont(bold), font);
    EXPECT_NE(fw::SharedFont(georgia, 144), font) << "another DPI is another size";

    // The font is what it was asked for: 11 px at 96 DPI, 17 px (rounded) at 144.
    LOGFONTW lf{};
    ASSERT_TRUE(::GetObjectW(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_STREQ(lf.lfFaceName, L"Georgia");
    ASSERT_TRUE(::GetObjectW(fw::SharedFont(georgia, 144), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -17);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    ASSERT_TRUE(::GetObjectW(fw::SharedFont(bold), sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST(FwSystemLibrary, LoadsFromTheSystemFolderOnFirstUseAndTellsWhatIsMissing) {
    using ShellExecuteFn = decltype(::ShellExecuteW);
    auto* shellExecute = fw::SystemFunction<ShellExecuteFn>(L"shell32.dll", "ShellExecuteW");
    ASSERT_NE(shellExecute, nullptr);
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    ASSERT_NE(shell, nullptr) << "asked for, the library is loaded";
    EXPECT_EQ(reinterpret_cast<void*>(shellExecute), reinterpret_cast<void*>(::GetProcAddress(shell, "ShellExecuteW")));
    // From the system folder (SysWOW64 for a 32-bit program on 64-bit Windows).
    wchar_t loaded[MAX_PATH] = L"", system[MAX_PATH] = L"", wow64[MAX_PATH] = L"";
    ::GetModuleFileNameW(shell, loaded, MAX_PATH);
    ::GetSystemDirectoryW(system, MAX_PATH);
    const UINT wow64Length = ::GetSystemWow64DirectoryW(wow64, MAX_PATH);
    EXPECT_TRUE(_wcsnicmp(loaded, system, wcslen(system)) == 0 ||
                (wow64Length > 0 && _wcsnicmp(loaded, wow64, wow64Length) == 0))
        << "loaded from " << fw::Utf8(loaded);
    EXPECT_EQ(fw::SystemProc(L"shell32.dll", "ShellExecuteW"), ::GetProcAddress(shell, "ShellExecuteW"));

    try {
        fw::SystemProc(L"no-such-library-sv.dll", "Anything");
        ADD_FAILURE() << "a missing library raised nothing";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot load no-such-library-sv.dll");
    }
    try {
        fw::SystemProc(L"shell32.dll", "NoSuchFunctionSv");
        ADD_FAILURE() << "a missing function raised nothing";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot load shell32.dll");
    }

    // COM for the shell's dialogs: set up on this thread, and asking again is harmless.
    fw::RequireOle();
    fw::RequireOle();
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    using GetApartmentTypeFn = HRESULT WINAPI(APTTYPE*, APTTYPEQUALIFIER*);
    auto* apartment = fw::SystemFunction<GetApartmentTypeFn>(L"ole32.dll", "CoGetApartmentType");
    ASSERT_EQ(apartment(&type, &qualifier), S_OK);
    EXPECT_EQ(type, APTTYPE_MAINSTA) << "the GUI thread is a single-threaded apartment";
}
