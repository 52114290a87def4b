// The save-picture dialog: its settings and memory through the modal seam, and the preview
// pane of the real common dialog, driven from a timer inside the dialog's own loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "base/FilterExtension.h"
#include "capture/BitmapFile.h"
#include "framework/Application.h"
#include "framework/PicturePreviewPane.h"
#include "framework/SavePictureDialog.h"
#include "support/Files.h"
#include "support/Pixels.h"
#include "support/SaveDialogHook.h"

using namespace capture_test;
using fw::PicturePreviewPane;
using fw::SavePictureDialog;
using Outcome = SavePictureDialog::Outcome;

TEST(SaveDialog, RunsWithItsSettingsAndKeepsNameAndTypeForTheNextUse) {
    SavePictureDialog dialog;
    dialog.SetFilter(std::wstring(base::kPictureFilter));
    TempFolder browsed;
    std::vector<wchar_t> before(MAX_PATH * 2);
    ::GetCurrentDirectoryW(DWORD(before.size()), before.data());
    std::vector<OPENFILENAMEW> seen;
    std::vector<std::wstring> namesSeen;
    SaveDialogHook answer([&](OPENFILENAMEW& ofn) {
        seen.push_back(ofn);
        namesSeen.push_back(ofn.lpstrFile);
        std::wstring filter;  // NUL-separated, closed by two NULs
        for (const std::wstring& entry : FilterEntries(ofn.lpstrFilter)) filter += entry + L"|";
        EXPECT_EQ(filter,
                  L"Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|Compuserve GIF (*.gif)|*.gif|"
                  L"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|");
        EXPECT_GE(ofn.nMaxFile, DWORD(MAX_PATH));
        ofn.lpstrFile[ofn.nMaxFile - 1] = L'\0';  // the whole buffer is the caller's, in characters
        if (seen.size() == 1) {
            // Browsing moves the program's current folder, as the system's dialog does.
            ::SetCurrentDirectoryW(browsed.Path().c_str());
            AnswerSaveDialog(ofn, L"C:\\pictures\\shot", 3);
        }
        if (seen.size() == 3) AnswerSaveDialog(ofn, L"C:\\other\\name.png", 5);
        return seen.size() == 2 ? Outcome::Cancelled : Outcome::Accepted;
    });
    HWND owner = fw::Application::Instance().Handle();

    ASSERT_TRUE(dialog.Execute(owner));
    const OPENFILENAMEW& first = seen[0];
    EXPECT_EQ(first.hwndOwner, owner);
    EXPECT_EQ(first.nFilterIndex, 1u);
    EXPECT_EQ(namesSeen[0], L"");
    EXPECT_EQ(first.lpstrDefExt, nullptr) << "the dialog must add no extension";
    const DWORD wanted = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    EXPECT_EQ(first.Flags & wanted, wanted);
    std::vector<wchar_t> after(MAX_PATH * 2);
    ::GetCurrentDirectoryW(DWORD(after.size()), after.data());
    EXPECT_EQ(std::wstring(after.data()), std::wstring(before.data())) << "the current folder stays where it was";
    EXPECT_NE(first.Flags & OFN_ENABLEHOOK, 0u);
    EXPECT_NE(first.Flags & OFN_ENABLETEMPLATEHANDLE, 0u);
    EXPECT_EQ(dialog.FileName(), L"C:\\pictures\\shot");
    EXPECT_EQ(dialog.FilterIndex(), 3);

    // Cancelled: nothing changes, and the dialog opened with the last name and type.
    EXPECT_FALSE(dialog.Execute(owner));
    EXPECT_EQ(namesSeen[1], L"C:\\pictures\\shot");
    EXPECT_EQ(seen[1].nFilterIndex, 3u);
    EXPECT_EQ(dialog.FileName(), L"C:\\pictures\\shot");
    EXPECT_EQ(dialog.FilterIndex(), 3);

    ASSERT_TRUE(dialog.Execute(owner));
    EXPECT_EQ(namesSeen[2], L"C:\\pictures\\shot");
    EXPECT_EQ(dialog.FileName(), L"C:\\other\\name.png");
    EXPECT_EQ(dialog.FilterIndex(), 5);
}

TEST(SaveDialog, WithoutThePreviewPaneThePlainDialogStillAnswers) {
    SavePictureDialog dialog;
    dialog.SetFilter(std::wstring(base::kPictureFilter));
    std::vector<DWORD> flags;
    SaveDialogHook answer([&](OPENFILENAMEW& ofn) {
        flags.push_back(ofn.Flags);
        if (ofn.Flags & OFN_ENABLEHOOK) return Outcome::Failed;  // the system refused the template
        EXPECT_EQ(ofn.lpfnHook, nullptr);
        AnswerSaveDialog(ofn, L"C:\\plain", 2);
        return Outcome::Accepted;
    });
    ASSERT_TRUE(dialog.Execute(nullptr));
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(flags[1] & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE), 0u);
    EXPECT_NE(flags[1] & OFN_OVERWRITEPROMPT, 0u);
    EXPECT_EQ(dialog.FileName(), L"C:\\plain");
    EXPECT_EQ(dialog.FilterIndex(), 2);
}

// ---- the real dialog

namespace {

// The steps run by a timer inside the dialog's modal loop; each returns true when done.
struct Script {
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    int ticks = 0;
    bool timedOut = false;
    static Script* current;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Script& s = *current;
        if (s.next < s.steps.size() && s.steps[s.next]()) ++s.next;
        if (++s.ticks > 150 && s.next < s.steps.size()) {  // 15 s: give up and close everything
            s.timedOut = true;
            s.next = s.steps.size() - 1;
        }
    }
};
Script* Script::current = nullptr;

struct WindowSearch {
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    if (!search->match(wnd)) return TRUE;
    search->found = wnd;
    return FALSE;
}

// A visible top-level window of this thread.
HWND FindThreadWindow(const std::function<bool(HWND)>& match) {
    WindowSearch search{[&](HWND w) { return ::IsWindowVisible(w) && match(w); }};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendant(HWND root, const std::function<bool(HWND)>& match) {
    WindowSearch search{match};
    ::EnumChildWindows(root, &MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND wnd) {
    wchar_t text[256] = L"";
    ::GetWindowTextW(wnd, text, 256);
    return text;
}

std::wstring ClassOf(HWND wnd) {
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    return name;
}

// Selects the list item whose text begins with `name` in the dialog's file list.
bool SelectFile(HWND dialog, const std::wstring& name) {
    HWND list = FindDescendant(dialog, [](HWND w) { return ClassOf(w) == WC_LISTVIEWW; });
    if (!list) return false;
    LVFINDINFOW find{};
    find.flags = LVFI_PARTIAL | LVFI_STRING;
    find.psz = name.c_str();
    const int item = int(::SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&find)));
    if (item < 0) return false;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    ::SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&state));
    return true;
}

}  // namespace

TEST(SaveDialog, PreviewPaneShowsTheSelectedPictureAndOpensItsPreview) {
    TempFolder folder;
    fw::Bitmap picture;
    FillWithPattern(picture, 101, 7);
    capture::SaveBitmapFile(picture, folder / L"picture.bmp");
    ASSERT_TRUE(WriteFileBytes(folder / L"notes.txt", {'n', 'o', ' ', 'p', 'i', 'c'}));

    SavePictureDialog dialog;
    dialog.SetFilter(L"All files (*.*)|*.*");
    dialog.SetFileName(folder / L"new");

    HWND dlg = nullptr, pane = nullptr;
    auto item = [&](int id) { return ::GetDlgItem(pane, id); };
    std::wstring labelAtStart, boxAtStart, labelWithPicture, labelWithText, boxWithText;
    bool buttonAtStart = true, buttonWithPicture = false, buttonWithText = true;
    RECT previewRect{}, previewClient{};
    std::wstring previewCaption;
    int waits = 0;

    Script script;
    script.steps = {
        [&] {  // the dialog is up with the pane beside it, empty
            dlg = FindThreadWindow([](HWND w) { return ClassOf(w) == L"#32770"; });
            if (!dlg) return false;
            HWND label = FindDescendant(dlg, [](HWND w) { return ::GetDlgCtrlID(w) == PicturePreviewPane::kLabelId; });
            if (!label) return ++waits > 20;  // let the step below report it
            pane = ::GetParent(label);
            labelAtStart = TextOf(item(PicturePreviewPane::kLabelId));
            boxAtStart = TextOf(item(PicturePreviewPane::kBoxId));
            buttonAtStart = ::IsWindowEnabled(item(PicturePreviewPane::kButtonId));
            return true;
        },
        [&] { return pane && SelectFile(dlg, L"picture"); },
        [&] {  // the selection change reached the pane
            labelWithPicture = TextOf(item(PicturePreviewPane::kLabelId));
            buttonWithPicture = ::IsWindowEnabled(item(PicturePreviewPane::kButtonId));
            if (labelWithPicture == L"Picture:" && ++waits < 40) return false;
            ::PostMessageW(item(PicturePreviewPane::kButtonId), BM_CLICK, 0, 0);
            return true;
        },
        [&] {  // the preview window, inside its own modal loop
            HWND preview = FindThreadWindow([](HWND w) { return TextOf(w) == L"Preview"; });
            if (!preview) return false;
            previewCaption = TextOf(preview);
            ::GetWindowRect(preview, &previewRect);
            ::GetClientRect(preview, &previewClient);
            ::PostMessageW(preview, WM_KEYDOWN, VK_ESCAPE, 0);
            return true;
        },
        [&] {  // Escape closed it; a file that is no picture empties the pane
            if (FindThreadWindow([](HWND w) { return TextOf(w) == L"Preview"; })) return false;
            SelectFile(dlg, L"notes");
            waits = 0;
            return true;
        },
        [&] {
            labelWithText = TextOf(item(PicturePreviewPane::kLabelId));
            if (labelWithText != L"Picture:" && ++waits < 40) return false;
            boxWithText = TextOf(item(PicturePreviewPane::kBoxId));
            buttonWithText = ::IsWindowEnabled(item(PicturePreviewPane::kButtonId));
            return true;
        },
        [&] {  // cancel, whatever state things are in
            if (HWND preview = FindThreadWindow([](HWND w) { return TextOf(w) == L"Preview"; }))
                ::PostMessageW(preview, WM_CLOSE, 0, 0);
            if (dlg) ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
    };
    Script::current = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &Script::Tick);
    const bool accepted = dialog.Execute(fw::Application::Instance().Handle());
    ::KillTimer(nullptr, timer);
    Script::current = nullptr;

    EXPECT_FALSE(script.timedOut) << "stopped at step " << script.next;
    EXPECT_FALSE(accepted);
    ASSERT_NE(pane, nullptr) << "the dialog has no preview pane";
    EXPECT_EQ(labelAtStart, L"Picture:");
    EXPECT_EQ(boxAtStart, L"(None)");
    EXPECT_FALSE(buttonAtStart);
    EXPECT_EQ(labelWithPicture, L"Picture: (101x7)");
    EXPECT_TRUE(buttonWithPicture);
    EXPECT_EQ(previewCaption, L"Preview");
    EXPECT_EQ(previewClient.right, 101);
    EXPECT_EQ(previewClient.bottom, 7);
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((previewRect.left + previewRect.right) / 2, screenW / 2, 1) << "not centred on the screen";
    EXPECT_NEAR((previewRect.top + previewRect.bottom) / 2, screenH / 2, 1);
    EXPECT_EQ(labelWithText, L"Picture:");
    EXPECT_EQ(boxWithText, L"(None)");
    EXPECT_FALSE(buttonWithText);
    EXPECT_EQ(dialog.FileName(), folder / L"new") << "a cancelled dialog changed the name";
}
