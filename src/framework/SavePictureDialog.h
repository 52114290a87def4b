#pragma once
// The common Save dialog with a picture preview pane beside the file list (PicturePreviewPane).
// The dialog keeps its file name and file type from one use to the next, leaves the program's
// current folder where it was, and takes a name of MAX_PATH characters or more itself where
// the common dialog would not.
#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <memory>
#include <string>

namespace fw {

class PicturePreviewPane;

class SavePictureDialog {
public:
    SavePictureDialog();
    ~SavePictureDialog();
    SavePictureDialog(const SavePictureDialog&) = delete;
    SavePictureDialog& operator=(const SavePictureDialog&) = delete;

    // File types as "description|pattern|description|pattern...".
    const std::wstring& Filter() const { return filter_; }
    void SetFilter(std::wstring filter) { filter_ = std::move(filter); }
    // The chosen file type, 1-based; the dialog opens with it and leaves the user's choice.
    int FilterIndex() const { return filterIndex_; }
    // The full path the dialog returned last; it opens with it.
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(std::wstring name) { fileName_ = std::move(name); }
    // OFN_ flags; OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING unless set.
    // The dialog adds no default extension.
    void SetOptions(DWORD options) { options_ = options; }

    // Runs the dialog modally; false when the user cancels (FileName and FilterIndex are then
    // as they were). Where the system refuses the preview pane the plain dialog is shown.
    bool Execute(HWND owner);

    // How a run of the common dialog ended.
    enum class Outcome { Accepted, Cancelled, Failed };
    // Replaces the modal GetSaveFileNameW call when set: tests answer the dialog with it.
    static std::function<Outcome(OPENFILENAMEW&)> modalHook;

private:
    static UINT_PTR CALLBACK HookProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    static Outcome RunModal(OPENFILENAMEW& ofn);
    // OK of the dialog with a name whose full path is MAX_PATH characters or more: taken here
    // (true), since the common dialog's own handling holds such a path in a buffer of
    // MAX_PATH characters (Wine's overruns it); false leaves the name to the dialog.
    bool TakeLongName(HWND dlg);
    // Puts a long earlier name into the file name box, which the dialog leaves empty.
    void ShowLongName(HWND dlg);

    std::wstring filter_;
    int filterIndex_ = 1;
    std::wstring fileName_;
    DWORD options_ = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    std::unique_ptr<PicturePreviewPane> pane_;  // while the dialog with the pane is open
    std::wstring longName_;                     // a long name taken by TakeLongName, and its type
    int longNameFilterIndex_ = 0;
};

}  // namespace fw
