// Framework services that the start-up, memory and idle figures rest on: the shared fonts,
// the system libraries loaded on first use, noticing the pointer leave without watching it,
// and the pictures picked for a window's scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/PointerTracking.h"
#include "framework/MessageLoop.h"
#include "framework/Hints.h"
#include "framework/Button.h"
#include "framework/Canvas.h"
#include "framework/Error.h"
#include "framework/ImageList.h"
#include "framework/ScaledResource.h"
#include "framework/SystemLibrary.h"
#include "support/ErrorOf.h"
#include "support/Pump.h"
#include "support/VrTestForm.h"

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

    EXPECT_EQ(capture_test::ErrorOf([&] { fw::SystemProc(L"no-such-library-sv.dll", "Anything"); }),
              L"Cannot load no-such-library-sv.dll");
    EXPECT_EQ(capture_test::ErrorOf([&] { fw::SystemProc(L"shell32.dll", "NoSuchFunctionSv"); }),
              L"Cannot load shell32.dll");

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

namespace {

// The pointer moved as a person moves it: input that passes the system's mouse hooks, as
// SetCursorPos under Wine does not.
void MovePointer(POINT to) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = to.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = to.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

// How many messages the GUI thread handles within the time (what wakes it), once the
// painting and hovering that a move brings are done.
int MessagesWithin(DWORD ms) {
    PumpFor(100);
    int handled = 0;
    const DWORD start = ::GetTickCount();
    for (;;) {
        while (fw::MessageLoop::HandleMessage()) ++handled;
        const DWORD gone = ::GetTickCount() - start;
        if (gone >= ms) return handled;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - gone, QS_ALLINPUT);
    }
}

class MouseSpy : public fw::GraphicControl {
public:
    using fw::GraphicControl::GraphicControl;
    void MouseEnter() override { ++enters; }
    void MouseLeave() override { ++leaves; }
    int enters = 0;
    int leaves = 0;
};

bool Hot(const fw::Button& b) { return (::SendMessageW(b.Handle(), BM_GETSTATE, 0, 0) & BST_HOT) != 0; }

}  // namespace

// Both ways of noticing the pointer leave, each as the program chooses it: the system's
// TrackMouseEvent on Windows, the hooks under Wine, whose TrackMouseEvent watches with a
// timer (so only the hooks are held to no wake-up here).
class FwLeaveTracking : public ::testing::TestWithParam<fw::PointerTracking::Way> {
protected:
    void SetUp() override {
        chosen_ = fw::PointerTracking::Instance().GetWay();
        fw::PointerTracking::Instance().SetWay(GetParam());
    }
    void TearDown() override { fw::PointerTracking::Instance().SetWay(chosen_); }
    bool Hooks() const { return GetParam() == fw::PointerTracking::Way::Hooks; }

private:
    fw::PointerTracking::Way chosen_{};
};

TEST_P(FwLeaveTracking, ThePointerLeavingAControlAndTheProgramIsSeen) {
    POINT home{};
    ::GetCursorPos(&home);
    VrTestForm form(240, 160);  // at (40, 40) on the screen
    MouseSpy spy(&form, L"Spy");
    spy.SetBounds(10, 10, 100, 60);
    fw::Button button(&form, L"Button");
    button.SetBounds(130, 10, 90, 40);
    button.SetText(L"Button");
    std::vector<std::wstring> hints;
    fw::Hints::Instance().onHint = [&](const std::wstring& hint) { hints.push_back(hint); };
    const POINT outside{::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) / 2};
    MovePointer(outside);  // wherever it was, the pointer comes from outside the program
    form.Open();
    PumpFor(100);

    // Over a windowless control: a container waits for the pointer to leave it.
    MovePointer({40 + 50, 40 + 30});
    ASSERT_TRUE(PumpUntil([&] { return spy.enters >= 1; }));
    EXPECT_EQ(fw::Hints::Instance().HintControl(), &spy);
    if (Hooks()) {
        EXPECT_EQ(MessagesWithin(600), 0) << "woken while the pointer rests over a windowless control";
    }

    // Over a common control's button, which asks TrackMouseEvent for its leave. A hand moves
    // the pointer in more than one step: under Wine, whose TrackMouseEvent sees a leave with a
    // timer, the button asks for its own tracking only once the form's has ended.
    MovePointer({40 + 165, 40 + 28});
    PumpFor(100);
    MovePointer({40 + 170, 40 + 30});
    // Every enter of the windowless control is followed by its leave (a move that the system
    // makes up after a change of windows may enter it once more).
    ASSERT_TRUE(PumpUntil([&] { return spy.leaves == spy.enters && Hot(button); }))
        << "enters " << spy.enters << ", leaves " << spy.leaves << ", hot " << Hot(button);
    EXPECT_EQ(fw::Hints::Instance().HintControl(), &button);
    if (Hooks()) {
        EXPECT_EQ(MessagesWithin(600), 0) << "woken while the pointer rests over a button";
    }

    // Out of the program: the button and the hint learn it at once.
    MovePointer(outside);
    ASSERT_TRUE(PumpUntil([&] { return !Hot(button) && fw::Hints::Instance().HintControl() == nullptr; }, 2000))
        << "the pointer left the program unnoticed";
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back(), L"");
    if (Hooks()) {
        EXPECT_EQ(MessagesWithin(300), 0) << "woken with the pointer elsewhere";
    }
    EXPECT_EQ(fw::PointerTracking::Instance().LowLevelHook(), nullptr)
        << "a low-level hook left in place with the pointer elsewhere";

    // Back over the windowless control and straight out again.
    MovePointer({40 + 50, 40 + 30});
    const int entered = spy.enters;
    ASSERT_TRUE(PumpUntil([&] { return spy.enters > entered; }));
    EXPECT_EQ(fw::PointerTracking::Instance().LowLevelHook() != nullptr, Hooks())
        << "a low-level hook only with the hooks, only under Wine";
    if (Hooks()) {
        // The system removes a low-level hook that keeps it waiting, without a word: the next
        // move over the program installs it again, and the leaving is still seen.
        ASSERT_TRUE(::UnhookWindowsHookEx(fw::PointerTracking::Instance().LowLevelHook()));
        MovePointer({40 + 60, 40 + 35});
        ASSERT_TRUE(PumpUntil([&] { return fw::PointerTracking::Instance().LowLevelHook() != nullptr; }, 2000));
        MovePointer({40 + 70, 40 + 40});
        PumpFor(100);
    }
    MovePointer(outside);
    EXPECT_TRUE(
        PumpUntil([&] { return spy.leaves == spy.enters && fw::Hints::Instance().HintControl() == nullptr; }, 2000))
        << "the windowless control or the hint was not told";
    fw::Hints::Instance().onHint = nullptr;
    MovePointer(home);
    PumpFor(50);
}

INSTANTIATE_TEST_SUITE_P(EachWay, FwLeaveTracking,
                         ::testing::Values(fw::PointerTracking::Way::System, fw::PointerTracking::Way::Hooks),
                         [](const auto& info) {
                             return info.param == fw::PointerTracking::Way::Hooks ? "Hooks" : "System";
                         });
