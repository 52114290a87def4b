#include "framework/PicturePreviewPane.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <vector>

#include "base/AnimFrames.h"
#include "base/FileName.h"
#include "framework/Application.h"
#include "framework/PictureFile.h"
#include "framework/PicturePreview.h"

namespace fw {

namespace {

constexpr wchar_t kNoPicture[] = L"(None)";
constexpr wchar_t kPictureLabel[] = L"Picture:";

// The column of the hook window's template, right of the standard controls, so the dialog
// puts it beside the file list. Dialog units.
constexpr short kColumnLeft = 8, kColumnWidth = 110, kPaneTop = 16, kPaneHeight = 110;
constexpr short kButtonSize = 12;

// A magnifying glass on the preview button.
void DrawMagnifier(HDC dc, const RECT& r, bool enabled, bool pushed) {
    const int shift = pushed ? 1 : 0;
    const int side = std::min(r.right - r.left, r.bottom - r.top);
    const int unit = std::max(side / 8, 1);
    const int cx = (r.left + r.right) / 2 + shift, cy = (r.top + r.bottom) / 2 + shift;
    Pen pen(::CreatePen(PS_SOLID, std::max(unit, 1), ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT)));
    SavedDc saved(dc);
    ::SelectObject(dc, pen.Get());
    ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    const int radius = 2 * unit;
    ::Ellipse(dc, cx - radius - unit, cy - radius - unit, cx + radius - unit + 1, cy + radius - unit + 1);
    ::MoveToEx(dc, cx + unit, cy + unit, nullptr);
    ::LineTo(dc, cx + 3 * unit, cy + 3 * unit);
}

}  // namespace

std::unique_ptr<DialogTemplateBlock> PicturePreviewPane::Template() {
    DialogTemplate t;
    t.Dialog(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, kColumnLeft + kColumnWidth + 6,
             kPaneTop + kPaneHeight + 4, 4, L"MS Shell Dlg", 8);
    t.Item(DialogTemplate::kStatic, SS_LEFT, 0, 0, 4, kPaneTop + kPaneHeight + 2, stc32, L"");
    t.Item(DialogTemplate::kStatic, SS_LEFT | SS_NOPREFIX, kColumnLeft, 4, kColumnWidth - kButtonSize - 4, 9, kLabelId,
           kPictureLabel);
    t.Item(DialogTemplate::kButton, BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP | WS_DISABLED,
           kColumnLeft + kColumnWidth - kButtonSize, 2, kButtonSize, kButtonSize, kButtonId, L"Preview");
    t.Item(DialogTemplate::kStatic, SS_OWNERDRAW, kColumnLeft, kPaneTop, kColumnWidth, kPaneHeight, kBoxId, kNoPicture);
    return std::make_unique<DialogTemplateBlock>(t);
}

PicturePreviewPane::PicturePreviewPane(HWND dlg)
    : dlg_(dlg),
      label_(::GetDlgItem(dlg, kLabelId)),
      box_(::GetDlgItem(dlg, kBoxId)),
      button_(::GetDlgItem(dlg, kButtonId)) {
    tip_.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dlg, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr));
    if (tip_) {
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dlg;
        tool.uId = reinterpret_cast<UINT_PTR>(button_);
        tool.lpszText = const_cast<wchar_t*>(L"Preview");
        ::SendMessageW(tip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        const COLORREF back = ToRgb(Application::Instance().HintColor());
        ::SendMessageW(tip_.Get(), TTM_SETTIPBKCOLOR, back, 0);
    }
}

void PicturePreviewPane::ShowSelection() {
    std::vector<wchar_t> path(base::kLongestPath, L'\0');
    const LRESULT n =
        ::SendMessageW(::GetParent(dlg_), CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
    ShowFile(n > 0 ? std::wstring(path.data()) : std::wstring());
}

void PicturePreviewPane::ShowFile(const std::wstring& path) {
    picture_ = LoadPictureFile(path, size_);
    std::wstring label = kPictureLabel;
    if (picture_) label += L" (" + std::to_wstring(size_.cx) + L"x" + std::to_wstring(size_.cy) + L")";
    ::SetWindowTextW(label_, label.c_str());
    ::SetWindowTextW(box_, picture_ ? L"" : kNoPicture);
    ::EnableWindow(button_, picture_ ? TRUE : FALSE);
    ::InvalidateRect(box_, nullptr, TRUE);
}

void PicturePreviewPane::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == box_) DrawBox(item);
    if (item.hwndItem == button_) DrawButton(item);
}

void PicturePreviewPane::OpenPreview() {
    if (picture_) ShowPicturePreview(::GetParent(dlg_), picture_.Get(), size_);
}

void PicturePreviewPane::DrawBox(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    ::FillRect(item.hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(item.hDC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    ::InflateRect(&r, -2, -2);
    if (picture_) {
        DrawPicture(item.hDC, picture_.Get(), size_, ToRect(base::FitPicture(size_.cx, size_.cy, ToIntRect(r))));
        return;
    }
    SavedDc saved(item.hDC);
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
    ::SelectObject(item.hDC, reinterpret_cast<HFONT>(::SendMessageW(dlg_, WM_GETFONT, 0, 0)));
    ::DrawTextW(item.hDC, kNoPicture, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PicturePreviewPane::DrawButton(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    ::DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    DrawMagnifier(item.hDC, r, enabled, pushed);
    if (item.itemState & ODS_FOCUS) {
        ::InflateRect(&r, -3, -3);
        ::DrawFocusRect(item.hDC, &r);
    }
}

}  // namespace fw
