// Framework services that the start-up and memory figures rest on: the shared fonts and the
// system libraries loaded on first use; and the pictures picked for a window's scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include "framework/Canvas.h"
#include "framework/Error.h"
#include "framework/ImageList.h"
#include "framework/ScaledResource.h"
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

TEST(FwScaledResource, ThePictureOfTheNearestScaleElseThe100PercentOne) {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    struct Case {
        int dpi;
        const wchar_t* name;
        int scale;
    };
    for (const Case& c : {Case{96, L"LOGO", 100}, Case{120, L"LOGO_125", 125}, Case{144, L"LOGO_150", 150},
                          Case{168, L"LOGO_150", 150}, Case{192, L"LOGO_200", 200}, Case{288, L"LOGO_200", 200}}) {
        const fw::ScaledResource found = fw::FindScaledResource(module, L"LOGO", RT_BITMAP, c.dpi);
        EXPECT_EQ(found.name, c.name) << c.dpi;
        EXPECT_EQ(found.scale, c.scale) << c.dpi;
    }
    // The cursor's one file holds all its sizes: there is no other resource of it at any scale.
    const fw::ScaledResource cursor = fw::FindScaledResource(module, L"VRCURSORHANDPOINT", RT_GROUP_CURSOR, 144);
    EXPECT_EQ(cursor.name, L"VRCURSORHANDPOINT");
    EXPECT_EQ(cursor.scale, 100);

    fw::Bitmap logo;
    EXPECT_EQ(fw::LoadScaledBitmap(logo, L"LOGO", 144), 150);
    EXPECT_EQ(logo.Width(), 254);
    EXPECT_EQ(logo.Height(), 62);

    // An image list takes the image size of its strip's scale; a strip of another scale
    // replaces the images it held, under the same handle (the tab controls keep it).
    fw::ImageList list(16, 16);
    const HIMAGELIST handle = list.Handle();
    list.AddResourceStrip(L"TABICONS", fw::kOlive, 144);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 24);
    EXPECT_EQ(list.Width(), 24);
    EXPECT_EQ(list.Count(), 5);
    list.AddResourceStrip(L"TABICONS", fw::kOlive, 96);
    ImageList_GetIconSize(list.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(list.Height(), 16);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Handle(), handle);
    list.AddResourceStrip(L"TABICONS", fw::kOlive, 96);
    EXPECT_EQ(list.Count(), 10) << "a strip of the same scale adds to the list";
}
