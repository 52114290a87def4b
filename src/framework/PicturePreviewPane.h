#pragma once
// The preview pane of the save dialog: a column beside the file list whose label gives the
// selected file's picture size, whose box shows the picture scaled down to fit with its
// proportions kept ("(None)" when there is none), and whose small button, hinted "Preview",
// opens the picture in a window of its own. It lives in the dialog's hook window, which the
// pane's template describes.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/DialogTemplate.h"
#include "framework/Gdi.h"

namespace fw {

class PicturePreviewPane {
public:
    // The pane's controls, children of the hook window.
    static constexpr int kLabelId = 0x5301;   // "Picture:" or "Picture: (WxH)"
    static constexpr int kBoxId = 0x5302;     // the picture; its text is "(None)" when empty
    static constexpr int kButtonId = 0x5303;  // hint "Preview"

    // The hook window's template: the standard controls (stc32) on the left, the pane's
    // column on their right.
    static std::unique_ptr<DialogTemplateBlock> Template();

    // Takes over the controls of the hook window `dlg`, made from Template().
    explicit PicturePreviewPane(HWND dlg);
    PicturePreviewPane(const PicturePreviewPane&) = delete;
    PicturePreviewPane& operator=(const PicturePreviewPane&) = delete;

    // Shows the dialog's current selection, as the full path it would return.
    void ShowSelection();
    // Shows a file's picture; an empty path or a file that is no picture shows none.
    void ShowFile(const std::wstring& path);
    // WM_DRAWITEM of the hook window: the box and the button are drawn here.
    void DrawItem(const DRAWITEMSTRUCT& item);
    // The button's click: the picture in a window of its own, modal over the dialog.
    void OpenPreview();

private:
    void DrawBox(const DRAWITEMSTRUCT& item);
    void DrawButton(const DRAWITEMSTRUCT& item);

    HWND dlg_, label_, box_, button_;
    WindowHandle tip_;
    BitmapHandle picture_;
    SIZE size_{};
};

}  // namespace fw
