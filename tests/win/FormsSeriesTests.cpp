// The regular capture series: the folder choice, start, ticks, pause, resume, stop, and what
// the user is told when it cannot run.
#include "framework/Hints.h"
#include "support/BmpFile.h"
#include "support/ErrorOf.h"
#include "support/FormsFixture.h"

#include <shlobj.h>

#include "framework/SystemLibrary.h"

#include <algorithm>

using namespace forms_test;
using capture_test::FileExists;
using capture_test::IsBmp;
using capture_test::TempFolder;

namespace {

constexpr const wchar_t* kStartHint = L"Start capturing|Start the capturing of selected area";

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The settings that a running or paused series locks.
std::vector<fw::Control*> Settings(TCopyForm& p) {
    return {&p.Label7, &p.Intervall, &p.Filetype, &p.Label6, &p.Filename, &p.Path, &p.Browse};
}

void ExpectSettingsEnabled(TCopyForm& p, bool enabled) {
    for (fw::Control* c : Settings(p)) EXPECT_EQ(c->Enabled(), enabled) << fw::Utf8(c->Name());
}

void ExpectIdle(TCopyForm& p) {
    EXPECT_EQ(p.Play.Tag(), 0);
    EXPECT_EQ(p.Play.Hint(), kStartHint);
    EXPECT_FALSE(p.Play.Down());
    EXPECT_FALSE(p.Stop.Enabled());
    EXPECT_FALSE(p.Timer.Enabled());
    EXPECT_FALSE(p.Label10.Visible());
    ExpectSettingsEnabled(p, true);
}

// Types into an edit as the user does: the window's text changes and the control follows.
void Type(fw::Edit& edit, const std::wstring& text) {
    ::SetWindowTextW(edit.Handle(), text.c_str());
    ASSERT_EQ(edit.Text(), text);
}

class ScriptedFolderBrowser {
public:
    explicit ScriptedFolderBrowser(std::wstring answer) : answer(std::move(answer)) {
        fw::folderBrowserHook = [this](const std::wstring& title, UINT flags) {
            titles.push_back(title);
            this->flags.push_back(flags);
            return this->answer;
        };
    }
    ~ScriptedFolderBrowser() { fw::folderBrowserHook = nullptr; }
    std::wstring answer;
    std::vector<std::wstring> titles;
    std::vector<UINT> flags;
};

// The shell's item of the folder `depth` levels under the folder `top`, each level its parent's
// only folder: found as the folder browser finds them, in the parent's list of items (Wine's
// shell parses no name into a path past the classic limit). Freed with CoTaskMemFree.
PIDLIST_ABSOLUTE ShellItemOf(const std::wstring& top, int depth) {
    fw::RequireOle();
    auto* desktopOf = fw::SystemFunction<decltype(::SHGetDesktopFolder)>(L"shell32.dll", "SHGetDesktopFolder");
    auto* combine = fw::SystemFunction<decltype(::ILCombine)>(L"shell32.dll", "ILCombine");
    IShellFolder* desktop = nullptr;
    if (FAILED(desktopOf(&desktop))) return nullptr;
    PIDLIST_ABSOLUTE item = nullptr;
    std::wstring topName = top;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, topName.data(), nullptr,
                                         reinterpret_cast<PIDLIST_RELATIVE*>(&item), nullptr)))
        item = nullptr;
    for (int level = 0; level < depth && item; ++level) {
        IShellFolder* folder = nullptr;
        IEnumIDList* list = nullptr;
        PITEMID_CHILD child = nullptr;
        if (SUCCEEDED(
                desktop->BindToObject(item, nullptr, __uuidof(IShellFolder), reinterpret_cast<void**>(&folder))) &&
            folder->EnumObjects(nullptr, SHCONTF_FOLDERS, &list) == S_OK && list->Next(1, &child, nullptr) != S_OK)
            child = nullptr;
        PIDLIST_ABSOLUTE deeper = child ? combine(item, child) : nullptr;
        ::CoTaskMemFree(child);
        if (list) list->Release();
        if (folder) folder->Release();
        ::CoTaskMemFree(item);
        item = deeper;
    }
    desktop->Release();
    return item;
}

}  // namespace

TEST(FolderPathOf, AFolderOfAnyNamePastTheClassicLimitComesBackWhole) {
    // The shell gives such a path cut at MAX_PATH - 1 characters (Wine's does), or not at all.
    TempFolder temp;
    const std::vector<std::wstring> names = {
        L"\u0421\u043d\u0438\u043c\u043a\u0438 " + std::wstring(60, L'a'),  // Cyrillic
        L"\u622a\u56fe " + std::wstring(60, L'b'),                          // CJK
        std::wstring(L"\xD83D") + L"\xDCF7 " + std::wstring(120, L'c'),     // beyond the BMP
    };
    std::wstring folder = temp.Path();
    for (const std::wstring& name : names) {
        folder += L"\\" + name;
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr)) << fw::Utf8(folder);
    }
    ASSERT_GT(folder.size(), size_t(MAX_PATH));
    PIDLIST_ABSOLUTE item = ShellItemOf(temp.Path(), 3);
    ASSERT_NE(item, nullptr) << "the shell found no item for the folder";
    EXPECT_EQ(fw::Utf8(fw::FolderPathOf(item)), fw::Utf8(folder));
    ::CoTaskMemFree(item);

    // A short folder is the shell's own answer, Unicode names and all.
    PIDLIST_ABSOLUTE shortItem = ShellItemOf(temp.Path(), 2);
    ASSERT_NE(shortItem, nullptr);
    EXPECT_EQ(fw::Utf8(fw::FolderPathOf(shortItem)), fw::Utf8(temp / (names[0] + L"\\" + names[1])));
    ::CoTaskMemFree(shortItem);
}

// The series is set up on its page, as the user sees it.
class FormsSeries : public FormsTest {
protected:
    FormsSeries() { OpenPageOf(panel->Play); }
};

TEST_F(FormsSeries, BrowseKeepsTheFolderInPathsHintAndShowsItShortened) {
    TempFolder temp;
    std::wstring folder = temp.Path();
    for (const wchar_t* level : {L"\\Captured pictures of the series", L"\\taken every second"}) {
        folder += level;
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    }
    ScriptedFolderBrowser browser(folder);
    panel->BrowseClick();
    ASSERT_EQ(browser.titles.size(), 1u);
    EXPECT_EQ(browser.titles[0], L"Select folder");
    EXPECT_EQ(browser.flags[0], UINT(BIF_RETURNONLYFSDIRS));
    EXPECT_EQ(panel->Path.Hint(), folder) << "the hint holds the save folder";

    // The edit shows the folder with leading folder names cut, ending in the last one, and
    // fitting 195 pixels in the panel's font.
    const std::wstring text = panel->Path.Text();
    wchar_t onScreen[MAX_PATH * 2] = L"";
    ::GetWindowTextW(panel->Path.Handle(), onScreen, MAX_PATH * 2);
    EXPECT_EQ(text, onScreen);
    EXPECT_NE(text, folder);
    const std::wstring tail = L"\\taken every second";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << fw::Utf8(text);
    EXPECT_TRUE(text.rfind(L"...\\", 0) == 0 || text.rfind(folder.substr(0, 2) + L"\\...\\", 0) == 0) << fw::Utf8(text);
    {
        fw::WindowDc dc(panel->Path.Handle());
        HGDIOBJ old =
            ::SelectObject(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(panel->Path.Handle(), WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &size);
        ::SelectObject(dc.Get(), old);
        ASSERT_EQ(panel->Dpi(), 96);
        EXPECT_LE(size.cx, 195) << fw::Utf8(text);
    }

    // Pointing at the edit shows the whole folder in the status bar.
    fw::Hints::Instance().MouseMove(&panel->Path);
    EXPECT_EQ(panel->StatusBar.PanelText(0), folder);

    // A short folder is shown whole; a cancelled choice empties both.
    browser.answer = L"C:\\Shots";
    panel->BrowseClick();
    EXPECT_EQ(panel->Path.Hint(), L"C:\\Shots");
    EXPECT_EQ(panel->Path.Text(), L"C:\\Shots");
    browser.answer = L"";
    panel->BrowseClick();
    EXPECT_EQ(panel->Path.Hint(), L"");
    EXPECT_EQ(panel->Path.Text(), L"");
}

TEST_F(FormsSeries, PlayPauseResumeStopAndRestart) {
    TempFolder folder;
    auto pattern = PatternUnderFrame();
    ScriptedFolderBrowser browser(folder.Path());
    ::SendMessageW(panel->Browse.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(panel->Path.Hint(), folder.Path());
    Type(panel->Filename, L"shot");
    panel->PageControl.SetActivePage(&panel->CaptureLoop);
    panel->PageControl1.SetActivePage(&panel->CaptureRegularily);

    // Start with a click of the mouse on the windowless button.
    HWND page = panel->CaptureRegularily.Handle();
    const LPARAM onPlay = MAKELPARAM(panel->Play.Left() + 10, panel->Play.Top() + 10);
    ::SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, onPlay);
    ::SendMessageW(page, WM_LBUTTONUP, 0, onPlay);
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);
    EXPECT_TRUE(IsBmp(folder / L"shot0.bmp")) << "the first file is written at once";
    EXPECT_EQ(panel->SeriesCounter(), 1);
    EXPECT_EQ(panel->Play.Tag(), 1);
    EXPECT_EQ(panel->Play.Hint(), L"Pause capturing");
    EXPECT_FALSE(panel->Play.Down());
    EXPECT_TRUE(panel->Stop.Enabled());
    ExpectSettingsEnabled(*panel, false);
    EXPECT_TRUE(panel->Label10.Visible());
    EXPECT_TRUE(panel->Label10.Enabled());
    EXPECT_TRUE(panel->Timer.Enabled());
    EXPECT_EQ(panel->Timer.Interval(), 1000u);
    // The preview shows the capture, which is what the file holds.
    fw::Bitmap& preview = panel->RegFrame1.Image.Picture();
    ASSERT_EQ(preview.Width(), kCaptureWidth);
    EXPECT_EQ(PixelDifferences(capture_test::PixelsOf(preview),
                               capture_test::PatternArea(0, 0, kCaptureWidth, kCaptureHeight), kCaptureWidth),
              "");
    // The other pages and the printed size are not touched.
    EXPECT_TRUE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_TRUE(panel->RegFrame2.Image.Picture().Empty());
    EXPECT_EQ(panel->PrintedWidth(), 0);

    // The timer writes the next one an interval later.
    EXPECT_TRUE(PumpUntil([&] { return FileExists(folder / L"shot1.bmp"); }, 2500));
    PumpFor(50);
    EXPECT_TRUE(IsBmp(folder / L"shot1.bmp"));
    EXPECT_EQ(panel->SeriesCounter(), 2);

    // Pause: no file while paused.
    panel->PlayClick();
    EXPECT_EQ(panel->Play.Tag(), 0);
    EXPECT_EQ(panel->Play.Hint(), L"Restore capturing");
    EXPECT_TRUE(panel->Play.Down());
    EXPECT_FALSE(panel->Timer.Enabled());
    EXPECT_TRUE(panel->Label10.Visible());
    EXPECT_FALSE(panel->Label10.Enabled()) << "\"Recording...\" stays, greyed";
    EXPECT_TRUE(panel->Stop.Enabled());
    ExpectSettingsEnabled(*panel, false);
    PumpFor(1300);
    EXPECT_EQ(Sorted(folder.Entries()), (std::vector<std::wstring>{L"shot0.bmp", L"shot1.bmp"}));

    // Resume: the next number at once.
    panel->PlayClick();
    EXPECT_TRUE(IsBmp(folder / L"shot2.bmp"));
    EXPECT_EQ(panel->SeriesCounter(), 3);
    EXPECT_EQ(panel->Play.Tag(), 1);
    EXPECT_EQ(panel->Play.Hint(), L"Pause capturing");
    EXPECT_FALSE(panel->Play.Down());
    EXPECT_TRUE(panel->Timer.Enabled());
    EXPECT_TRUE(panel->Label10.Enabled());

    // Stop: idle, numbering back to 0.
    ::SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(panel->Stop.Left() + 10, panel->Stop.Top() + 10));
    ::SendMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(panel->Stop.Left() + 10, panel->Stop.Top() + 10));
    EXPECT_EQ(panel->SeriesCounter(), 0);
    ExpectIdle(*panel);
    const auto stoppedWith = Sorted(folder.Entries());
    PumpFor(1300);
    EXPECT_EQ(Sorted(folder.Entries()), stoppedWith) << "a file was written after Stop";

    // A new start replaces the earlier series' first file without a question.
    ASSERT_TRUE(capture_test::WriteFileBytes(folder / L"shot0.bmp", {'o', 'l', 'd'}));
    panel->PlayClick();
    EXPECT_TRUE(IsBmp(folder / L"shot0.bmp"));
    EXPECT_EQ(panel->SeriesCounter(), 1);
    EXPECT_TRUE(shown.empty());
    panel->StopClick();
    ExpectIdle(*panel);
}

TEST_F(FormsSeries, WithoutFileNameOrPathOnlyAWarningIsShown) {
    TempFolder folder;
    ScriptedFolderBrowser browser(folder.Path());
    struct Case {
        const wchar_t* name;
        bool browse;
        const wchar_t* typedPath;
    };
    for (const Case& c : {Case{L"", false, L""}, Case{L"shot", false, L""}, Case{L"", true, nullptr}}) {
        Type(panel->Filename, c.name);
        if (c.browse) panel->BrowseClick();
        if (c.typedPath) Type(panel->Path, c.typedPath);
        shown.clear();
        panel->PlayClick();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, L"Enter filename and path.");
        EXPECT_EQ(shown[0].caption, L"Warning");
        EXPECT_EQ(shown[0].flags & MB_ICONMASK, UINT(MB_ICONWARNING));
        EXPECT_EQ(shown[0].flags & MB_TYPEMASK, UINT(MB_OK));
        ExpectIdle(*panel);
        EXPECT_TRUE(panel->RegFrame1.Image.Picture().Empty());
        EXPECT_EQ(panel->SeriesCounter(), 0);
    }
    EXPECT_TRUE(folder.Entries().empty());

    // Blanks are text: the series starts.
    Type(panel->Filename, L" ");
    shown.clear();
    panel->PlayClick();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(IsBmp(folder / L" 0.bmp"));
    EXPECT_EQ(panel->Play.Tag(), 1);
}

TEST_F(FormsSeries, FilesGoToTheChosenFolderWithTheChosenTypeButAlwaysHoldABitmap) {
    TempFolder chosen, typed;
    ScriptedFolderBrowser browser(chosen.Path());
    panel->BrowseClick();
    Type(panel->Path, typed.Path());  // typed over: changes the display only
    Type(panel->Filename, L"screen");
    panel->Filetype.SetItemIndex(1);    // ".jpg"
    panel->Intervall.SetItemIndex(12);  // "1 hour"
    panel->PlayClick();
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);
    EXPECT_EQ(chosen.Entries(), std::vector<std::wstring>{L"screen0.jpg"});
    EXPECT_TRUE(IsBmp(chosen / L"screen0.jpg")) << "a .jpg of the series holds a Windows bitmap";
    EXPECT_TRUE(typed.Entries().empty());
    EXPECT_EQ(panel->Timer.Interval(), 3600000u);
}

TEST_F(FormsSeries, WithoutAChosenFolderTheCaptureFailsOnTheLayoutHint) {
    Type(panel->Filename, L"shot");
    Type(panel->Path, L"C:\\typed");
    EXPECT_EQ(capture_test::ErrorOf([&] { panel->PlayClick(); }),
              L"Cannot create file Path|Path to where to save the bitmaps\\shot0.bmp");
    EXPECT_EQ(panel->SeriesCounter(), 0) << "the counter advances only after a good save";
    EXPECT_FALSE(panel->RegFrame1.Image.Picture().Empty()) << "the preview shows the grab";
    // The failure leaves the press before the timer starts: running in name, without a timer.
    EXPECT_EQ(panel->Play.Tag(), 1);
    EXPECT_EQ(panel->Play.Hint(), L"Pause capturing");
    EXPECT_TRUE(panel->Stop.Enabled());
    EXPECT_FALSE(panel->Timer.Enabled());
    EXPECT_FALSE(panel->Label10.Visible());
    EXPECT_FALSE(FileExists(L"C:\\typed"));
}

TEST_F(FormsSeries, TicksWithTheFrameHiddenReportAndDoNotCount) {
    TempFolder folder;
    ScriptedFolderBrowser browser(folder.Path());
    panel->BrowseClick();
    Type(panel->Filename, L"shot");
    panel->PlayClick();
    ASSERT_EQ(panel->SeriesCounter(), 1);
    frame->Close();
    ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }, 2500)) << "no tick came";
    EXPECT_EQ(shown[0].text, std::wstring(kHiddenFrameError) + L".");
    EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
    EXPECT_EQ(panel->SeriesCounter(), 1);
    EXPECT_TRUE(panel->Timer.Enabled()) << "the series goes on ticking";
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"shot0.bmp"});
}

TEST_F(FormsSeries, ARefusedScreenCopyIsReportedNeitherShownNorSavedAndNotCounted) {
    TempFolder folder;
    auto pattern = PatternUnderFrame();
    ScriptedFolderBrowser browser(folder.Path());
    panel->BrowseClick();
    Type(panel->Filename, L"shot");
    panel->PlayClick();
    ASSERT_EQ(panel->SeriesCounter(), 1);
    fw::Bitmap& preview = panel->RegFrame1.Image.Picture();
    const HBITMAP shownBefore = preview.Handle();
    const auto pixelsBefore = capture_test::PixelsOf(preview);
    {
        // The desktop locked behind the running series: every copy is refused.
        capture_test::RefusingScreen refusing;
        ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }, 2500)) << "no tick came";
    }
    EXPECT_EQ(shown[0].text, L"Cannot copy the screen area.");
    EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
    EXPECT_EQ(panel->SeriesCounter(), 1) << "a refused copy was counted";
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"shot0.bmp"}) << "a refused copy was saved";
    EXPECT_EQ(preview.Handle(), shownBefore) << "the preview took another bitmap for a refused copy";
    EXPECT_EQ(capture_test::PixelsOf(preview), pixelsBefore);
    EXPECT_TRUE(panel->Timer.Enabled()) << "the series goes on ticking";

    // Once the screen can be copied again the numbering goes on without a gap.
    EXPECT_TRUE(PumpUntil([&] { return FileExists(folder / L"shot1.bmp"); }, 2500));
    PumpFor(50);
    EXPECT_TRUE(IsBmp(folder / L"shot1.bmp"));
    EXPECT_EQ(panel->SeriesCounter(), 2);
}

TEST_F(FormsSeries, AFileNameNoFileCanHaveIsReportedWritesNothingAndIsNotCounted) {
    TempFolder folder;
    ScriptedFolderBrowser browser(folder.Path());
    panel->BrowseClick();
    capture_test::FolderWatch watch(folder.Path());
    ASSERT_TRUE(watch.Watching());

    // A ":" typed into the name: under Windows a stream of a file "a", under Wine a file
    // "a:b0.bmp"; either way a picture nobody could find under its name.
    Type(panel->Filename, L"a:b");
    EXPECT_EQ(capture_test::ErrorOf([&] { panel->PlayClick(); }),
              L"Cannot create file " + folder.Path() + L"\\a:b0.bmp");
    EXPECT_EQ(panel->SeriesCounter(), 0);
    EXPECT_EQ(watch.NamesSeen(), std::vector<std::wstring>{}) << "the refused name wrote a file all the same";
    panel->StopClick();

    // "COM" gives COM0.bmp, and then the device name COM1: every tick reports the same name.
    Type(panel->Filename, L"COM");
    panel->PlayClick();
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);
    ASSERT_EQ(panel->SeriesCounter(), 1);
    ASSERT_TRUE(PumpUntil([&] { return shown.size() >= 2; }, 3500)) << "no two ticks came";
    for (const ShownMessage& message : shown)
        EXPECT_EQ(message.text, L"Cannot create file " + folder.Path() + L"\\COM1.bmp.");
    EXPECT_EQ(panel->SeriesCounter(), 1);
    EXPECT_EQ(Sorted(folder.Entries()), std::vector<std::wstring>{L"COM0.bmp"});
    panel->StopClick();

    // A "\" is a sub-folder of the save folder.
    ASSERT_TRUE(::CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    Type(panel->Filename, L"sub\\shot");
    shown.clear();
    panel->PlayClick();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(IsBmp(folder / L"sub\\shot0.bmp"));
    EXPECT_EQ(panel->SeriesCounter(), 1);
}
