#include "framework/SavePictureDialog.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "base/FileName.h"
#include "base/FilterExtension.h"
#include "base/TypedPath.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/PicturePreviewPane.h"
#include "framework/SystemLibrary.h"

namespace fw {

std::function<SavePictureDialog::Outcome(OPENFILENAMEW&)> SavePictureDialog::modalHook;

namespace {

constexpr wchar_t kDialogProp[] = L"FwSavePictureDialog";
constexpr UINT_PTR kDialogSubclassId = 0x5350;

std::wstring WindowText(HWND wnd) {
    std::wstring text(size_t(::GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(wnd, text.data(), int(text.size()))));
    return text;
}

// The file name box: a combo box in the Explorer-style dialog, an edit in older ones.
HWND FileNameBox(HWND dlg) {
    HWND box = ::GetDlgItem(dlg, cmb13);
    return box ? box : ::GetDlgItem(dlg, edt1);
}

// The program's current folder, put back when the guard ends if anything moved it. The file
// dialog moves it as the person browses; left on a removable disk, it keeps Windows from
// ejecting that disk until the program ends.
class CurrentFolderKept {
public:
    CurrentFolderKept() {
        folder_.resize(::GetCurrentDirectoryW(0, nullptr));
        folder_.resize(::GetCurrentDirectoryW(DWORD(folder_.size()), folder_.data()));
    }
    ~CurrentFolderKept() {
        if (!folder_.empty()) ::SetCurrentDirectoryW(folder_.c_str());
    }
    CurrentFolderKept(const CurrentFolderKept&) = delete;
    CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

private:
    std::wstring folder_;
};

// Whether a name of MAX_PATH characters or more is taken from the dialog before its own OK:
// under Wine, whose dialog holds such a path in a buffer of MAX_PATH characters and overruns
// it, and on Windows where the program takes long paths (Windows 10 1607 on, with long paths
// enabled; learn.microsoft.com, "Maximum Path Length Limitation"). Elsewhere the dialog
// handles the name itself and lets the person correct one the system would refuse.
bool TakesLongNames() {
    using AreLongPathsEnabledFn = BOOLEAN NTAPI();
    static auto* enabled = reinterpret_cast<AreLongPathsEnabledFn*>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlAreLongPathsEnabled")));
    return RunningUnderWine() || (enabled && enabled());
}

}  // namespace

// ---- the dialog object

SavePictureDialog::SavePictureDialog() = default;
SavePictureDialog::~SavePictureDialog() = default;

SavePictureDialog::Outcome SavePictureDialog::RunModal(OPENFILENAMEW& ofn) {
    if (modalHook) return modalHook(ofn);
    static auto* getSaveFileName = SystemFunction<decltype(::GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    static auto* extendedError =
        SystemFunction<decltype(::CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
    RequireOle();
    if (getSaveFileName(&ofn)) return Outcome::Accepted;
    const DWORD error = extendedError();
    // Only the general failures (template, hook, resources) are worth another try; a name
    // the dialog could not take is as good as cancelled.
    if (error == CDERR_DIALOGFAILURE || (error >= CDERR_STRUCTSIZE && error <= CDERR_REGISTERMSGFAIL))
        return Outcome::Failed;
    return Outcome::Cancelled;
}

bool SavePictureDialog::Execute(HWND owner) {
    const std::wstring filter = base::FilterForDialog(filter_);
    std::vector<wchar_t> file(base::kLongestPath, L'\0');
    std::copy_n(fileName_.begin(), std::min<size_t>(fileName_.size(), file.size() - 1), file.begin());
    const std::unique_ptr<DialogTemplateBlock> paneTemplate = PicturePreviewPane::Template();
    longName_.clear();

    const CurrentFolderKept keepFolder;
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DWORD(std::max(filterIndex_, 0));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());  // characters, not bytes
    ofn.Flags = options_ | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (paneTemplate->Get()) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        ofn.hInstance = reinterpret_cast<HINSTANCE>(paneTemplate->Get());
        ofn.lpfnHook = &SavePictureDialog::HookProc;
        ofn.lCustData = reinterpret_cast<LPARAM>(this);
    }

    Outcome outcome = RunModal(ofn);
    pane_.reset();
    if (outcome == Outcome::Failed && (ofn.Flags & OFN_ENABLEHOOK)) {
        // The system would not build the pane: the plain dialog still does the job.
        ofn.Flags &= ~DWORD(OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE);
        ofn.hInstance = nullptr;
        ofn.lpfnHook = nullptr;
        ofn.lCustData = 0;
        outcome = RunModal(ofn);
    }
    if (!longName_.empty()) {
        // A long name was taken from the dialog, which was then closed as cancelled.
        fileName_ = std::exchange(longName_, std::wstring());
        if (longNameFilterIndex_ > 0) filterIndex_ = longNameFilterIndex_;
        return true;
    }
    if (outcome != Outcome::Accepted) return false;
    file.back() = L'\0';
    fileName_ = file.data();
    filterIndex_ = int(ofn.nFilterIndex);
    return true;
}

void SavePictureDialog::ShowLongName(HWND dlg) {
    // The dialog opens with an earlier name only while it fits its own buffers.
    HWND box = FileNameBox(dlg);
    if (box && fileName_.size() >= MAX_PATH && ::GetWindowTextLengthW(box) == 0)
        ::SetWindowTextW(box, fileName_.c_str());
}

bool SavePictureDialog::TakeLongName(HWND dlg) {
    HWND box = FileNameBox(dlg);
    if (!box || !TakesLongNames()) return false;
    const std::wstring name = WindowText(box);
    // A pattern filters the list: the dialog's own work.
    if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos) return false;
    std::vector<wchar_t> folder(base::kLongestPath, L'\0');
    if (::SendMessageW(dlg, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data())) <= 0)
        folder[0] = L'\0';
    folder.back() = L'\0';
    std::wstring path = base::PathOfTypedName(name, folder.data());
    if (path.empty()) return false;
    std::vector<wchar_t> full(base::kLongestPath, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length > 0 && length < full.size()) path = full.data();
    if (path.size() < MAX_PATH) return false;

    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::MessageBeep(MB_ICONWARNING);  // a folder is no file name; the dialog stays
        return true;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (options_ & OFN_OVERWRITEPROMPT)) {
        const std::wstring question = path + L" already exists.\nDo you want to replace it?";
        const std::wstring title = WindowText(dlg);
        if (::MessageBoxW(dlg, question.c_str(), title.c_str(), MB_YESNO | MB_ICONWARNING) != IDYES) return true;
    }
    const LRESULT type = ::SendDlgItemMessageW(dlg, cmb1, CB_GETCURSEL, 0, 0);
    longNameFilterIndex_ = type == CB_ERR ? 0 : int(type) + 1;
    longName_ = path;
    // Closed as a cancel: the dialog's own OK never sees the name.
    ::DefSubclassProc(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
}

LRESULT CALLBACK SavePictureDialog::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    // A Win32 callback: errors are shown here and go no further.
    try {
        if (msg == WM_COMMAND && LOWORD(wp) == IDOK && HIWORD(wp) == BN_CLICKED &&
            reinterpret_cast<SavePictureDialog*>(data)->TakeLongName(dlg))
            return 0;
        if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(dlg, &SavePictureDialog::DialogProc, id);
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        return 0;
    }
    return ::DefSubclassProc(dlg, msg, wp, lp);
}

UINT_PTR CALLBACK SavePictureDialog::HookProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    // A Win32 callback: errors are shown here and go no further.
    try {
        if (msg == WM_INITDIALOG) {
            auto* self = reinterpret_cast<SavePictureDialog*>(reinterpret_cast<OPENFILENAMEW*>(lp)->lCustData);
            ::SetPropW(dlg, kDialogProp, self);
            self->pane_ = std::make_unique<PicturePreviewPane>(dlg);
            // The dialog itself is the hook window's parent: its OK is seen before it acts.
            ::SetWindowSubclass(::GetParent(dlg), &SavePictureDialog::DialogProc, kDialogSubclassId,
                                reinterpret_cast<DWORD_PTR>(self));
            return FALSE;  // the dialog keeps the keyboard in its file name box
        }
        auto* self = static_cast<SavePictureDialog*>(::GetPropW(dlg, kDialogProp));
        if (!self || !self->pane_) return 0;
        switch (msg) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lp);
            if (header->code == CDN_SELCHANGE) self->pane_->ShowSelection();
            if (header->code == CDN_FOLDERCHANGE) self->pane_->ShowFile(std::wstring());
            if (header->code == CDN_INITDONE) self->ShowLongName(::GetParent(dlg));
            return 0;
        }
        case WM_DRAWITEM:
            self->pane_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == PicturePreviewPane::kButtonId && HIWORD(wp) == BN_CLICKED) {
                self->pane_->OpenPreview();
                return TRUE;
            }
            return 0;
        case WM_DESTROY:
            self->pane_.reset();
            ::RemovePropW(dlg, kDialogProp);
            return 0;
        default:
            return 0;
        }
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        return 0;
    }
}

}  // namespace fw
