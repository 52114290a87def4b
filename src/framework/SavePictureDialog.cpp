#include "framework/SavePictureDialog.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/FileName.h"
#include "base/FilterExtension.h"
#include "base/TypedPath.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Gdi.h"
#include "framework/SystemLibrary.h"
#include "framework/Window.h"

namespace fw {

std::function<SavePictureDialog::Outcome(OPENFILENAMEW&)> SavePictureDialog::modalHook;

namespace {

constexpr wchar_t kDialogProp[] = L"FwSavePictureDialog";
constexpr wchar_t kNoPicture[] = L"(None)";
constexpr wchar_t kPictureLabel[] = L"Picture:";
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

// ---- the child template, built in memory

// A DLGTEMPLATE and its items as the dialog manager reads them: WORDs, items on DWORD
// boundaries, strings in UTF-16 with their NUL.
class TemplateWriter {
public:
    void Dialog(DWORD style, short cx, short cy, WORD items, const wchar_t* font, WORD points) {
        Dword(style | DS_SETFONT);
        Dword(0);  // extended style
        words_.push_back(items);
        Box(0, 0, cx, cy);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        Text(L"");            // no title
        words_.push_back(points);
        Text(font);
    }
    // `atom` is one of the predefined classes: 0x0080 button, 0x0082 static.
    void Item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text) {
        if (words_.size() % 2) words_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Box(x, y, cx, cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(atom);
        Text(text);
        words_.push_back(0);  // no creation data
    }
    const std::vector<WORD>& Words() const { return words_; }

private:
    void Dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void Box(short x, short y, short cx, short cy) {
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    }
    void Text(const wchar_t* s) {
        do words_.push_back(static_cast<WORD>(*s));
        while (*s++);
    }
    std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080, kStaticAtom = 0x0082;

// The hook window's template: stc32 marks where the standard controls go; the pane's column
// lies right of it, so the dialog puts the column beside the file list. Dialog units.
constexpr short kColumnLeft = 8, kColumnWidth = 110, kPaneTop = 16, kPaneHeight = 110;
constexpr short kButtonSize = 12;

std::vector<WORD> BuildPaneTemplate() {
    TemplateWriter w;
    w.Dialog(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, kColumnLeft + kColumnWidth + 6,
             kPaneTop + kPaneHeight + 4, 4, L"MS Shell Dlg", 8);
    w.Item(kStaticAtom, SS_LEFT, 0, 0, 4, kPaneTop + kPaneHeight + 2, stc32, L"");
    w.Item(kStaticAtom, SS_LEFT | SS_NOPREFIX, kColumnLeft, 4, kColumnWidth - kButtonSize - 4, 9,
           SavePictureDialog::kPictureLabelId, kPictureLabel);
    w.Item(kButtonAtom, BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP | WS_DISABLED,
           kColumnLeft + kColumnWidth - kButtonSize, 2, kButtonSize, kButtonSize, SavePictureDialog::kPreviewButtonId,
           L"Preview");
    w.Item(kStaticAtom, SS_OWNERDRAW, kColumnLeft, kPaneTop, kColumnWidth, kPaneHeight,
           SavePictureDialog::kPictureBoxId, kNoPicture);
    return w.Words();
}

// The template in a fixed global block: OFN_ENABLETEMPLATEHANDLE wants a memory handle, and
// a fixed block's handle is its address.
class TemplateBlock {
public:
    TemplateBlock() {
        const std::vector<WORD> words = BuildPaneTemplate();
        block_ = ::GlobalAlloc(GMEM_FIXED, words.size() * sizeof(WORD));
        if (block_) std::copy(words.begin(), words.end(), static_cast<WORD*>(block_));
    }
    ~TemplateBlock() {
        if (block_) ::GlobalFree(block_);
    }
    TemplateBlock(const TemplateBlock&) = delete;
    TemplateBlock& operator=(const TemplateBlock&) = delete;
    HGLOBAL Get() const { return block_; }

private:
    HGLOBAL block_ = nullptr;
};

// Files whose contents are elsewhere: reading one fetches it from a slow or offline store
// (a cloud drive's placeholder, an archived file), which a selection in the list must not do.
constexpr DWORD kNotHere =
    FILE_ATTRIBUTE_OFFLINE | 0x00040000 /* RECALL_ON_OPEN */ | 0x00400000 /* RECALL_ON_DATA_ACCESS */;

// A bitmap file's picture; an empty owner when the file is not a readable picture here.
BitmapHandle LoadPicture(const std::wstring& path, SIZE& size) {
    size = SIZE{0, 0};
    if (path.empty()) return {};
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | kNotHere))) return {};
    BitmapHandle picture(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!picture || !::GetObjectW(picture.Get(), sizeof info, &info)) return {};
    size = SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    return picture;
}

// Draws a picture into `target` of `dc`, smoothed when it is scaled.
void DrawPicture(HDC dc, HBITMAP picture, SIZE size, const RECT& target) {
    MemoryDc source(::CreateCompatibleDC(dc));
    SelectGuard select(source.Get(), picture);
    SavedDc saved(dc);
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.Get(), 0,
                 0, size.cx, size.cy, SRCCOPY);
}

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

// ---- the picture in a window of its own

// Shows a picture at its own size (scaled down when the screen is too small), centred on
// the screen; Escape or the close box ends it.
class PreviewWindow : public Window {
public:
    PreviewWindow(HBITMAP picture, SIZE size) : picture_(picture), size_(size) {}

    void Open(HWND owner) {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        const DWORD exStyle = WS_EX_DLGMODALFRAME;
        // The largest client area that fits the work area with the window's frame around it.
        RECT frame{0, 0, 0, 0};
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        const RECT room{0, 0, (work.right - work.left) - (frame.right - frame.left),
                        (work.bottom - work.top) - (frame.bottom - frame.top)};
        const RECT client = SavePictureDialog::FitPicture(size_.cx, size_.cy, room);
        shown_ = SIZE{client.right - client.left, client.bottom - client.top};
        RECT outer{0, 0, shown_.cx, shown_.cy};
        ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;

        WindowParams p;
        p.className = L"FwPicturePreview";
        p.caption = L"Preview";
        p.style = style;
        p.exStyle = exStyle;
        p.x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        p.y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        p.width = width;
        p.height = height;
        p.parent = owner;  // a top-level window owned by the dialog
        CreateHandle(p);
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
        ::SetFocus(hwnd_);
    }
    bool Done() const { return done_ || !hwnd_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: {
            PaintDc paint(hwnd_);
            DrawPicture(paint.Get(), picture_, size_, RECT{0, 0, shown_.cx, shown_.cy});
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole client area
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) done_ = true;
            return 0;
        case WM_CLOSE:
            done_ = true;  // the modal loop enables the owner before the window goes
            return 0;
        default:
            return Default(msg, wp, lp);
        }
    }

private:
    HBITMAP picture_;
    SIZE size_;
    SIZE shown_{};
    bool done_ = false;
};

}  // namespace

// ---- the pane inside the dialog

class SavePictureDialog::PreviewPane {
public:
    explicit PreviewPane(HWND dlg)
        : dlg_(dlg),
          label_(::GetDlgItem(dlg, kPictureLabelId)),
          box_(::GetDlgItem(dlg, kPictureBoxId)),
          button_(::GetDlgItem(dlg, kPreviewButtonId)) {
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
    PreviewPane(const PreviewPane&) = delete;
    PreviewPane& operator=(const PreviewPane&) = delete;

    // The dialog's current selection, as the full path it would return.
    void ShowSelection() {
        std::vector<wchar_t> path(base::kLongestPath, L'\0');
        const LRESULT n =
            ::SendMessageW(::GetParent(dlg_), CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
        ShowFile(n > 0 ? std::wstring(path.data()) : std::wstring());
    }

    void ShowFile(const std::wstring& path) {
        picture_ = LoadPicture(path, size_);
        std::wstring label = kPictureLabel;
        if (picture_) label += L" (" + std::to_wstring(size_.cx) + L"x" + std::to_wstring(size_.cy) + L")";
        ::SetWindowTextW(label_, label.c_str());
        ::SetWindowTextW(box_, picture_ ? L"" : kNoPicture);
        ::EnableWindow(button_, picture_ ? TRUE : FALSE);
        ::InvalidateRect(box_, nullptr, TRUE);
    }

    void DrawItem(const DRAWITEMSTRUCT& item) {
        if (item.hwndItem == box_) DrawBox(item);
        if (item.hwndItem == button_) DrawButton(item);
    }

    // Runs the preview window modally over the dialog.
    void OpenPreview() {
        if (!picture_) return;
        HWND owner = ::GetParent(dlg_);
        PreviewWindow window(picture_.Get(), size_);
        window.Open(owner);
        ::EnableWindow(owner, FALSE);
        while (!window.Done()) {
            MSG msg;
            const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got <= 0) {
                if (got == 0) ::PostQuitMessage(int(msg.wParam));  // for the outer loops
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // The owner first, so activation goes back to it and not to another program.
        ::EnableWindow(owner, TRUE);
        window.DestroyHandle();
        ::SetActiveWindow(owner);
    }

private:
    void DrawBox(const DRAWITEMSTRUCT& item) {
        RECT r = item.rcItem;
        ::FillRect(item.hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawEdge(item.hDC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        ::InflateRect(&r, -2, -2);
        if (picture_) {
            DrawPicture(item.hDC, picture_.Get(), size_, FitPicture(size_.cx, size_.cy, r));
            return;
        }
        SavedDc saved(item.hDC);
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
        ::SelectObject(item.hDC, reinterpret_cast<HFONT>(::SendMessageW(dlg_, WM_GETFONT, 0, 0)));
        ::DrawTextW(item.hDC, kNoPicture, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    void DrawButton(const DRAWITEMSTRUCT& item) {
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

    HWND dlg_, label_, box_, button_;
    WindowHandle tip_;
    BitmapHandle picture_;
    SIZE size_{};
};

// ---- the dialog object

SavePictureDialog::SavePictureDialog() = default;
SavePictureDialog::~SavePictureDialog() = default;

RECT SavePictureDialog::FitPicture(int width, int height, const RECT& box) {
    const int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return RECT{box.left, box.top, box.left, box.top};
    int w = width, h = height;
    if (w > boxWidth || h > boxHeight) {
        // The tighter side sets the scale; the other follows, rounded, at least one pixel.
        if (int64_t{boxWidth} * height <= int64_t{boxHeight} * width) {
            w = boxWidth;
            h = std::max(1, ::MulDiv(height, boxWidth, width));
        } else {
            h = boxHeight;
            w = std::max(1, ::MulDiv(width, boxHeight, height));
        }
    }
    const int left = box.left + (boxWidth - w) / 2, top = box.top + (boxHeight - h) / 2;
    return RECT{left, top, left + w, top + h};
}

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
    TemplateBlock paneTemplate;
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
    if (paneTemplate.Get()) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        ofn.hInstance = reinterpret_cast<HINSTANCE>(paneTemplate.Get());
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
            self->pane_ = std::make_unique<PreviewPane>(dlg);
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
            if (LOWORD(wp) == kPreviewButtonId && HIWORD(wp) == BN_CLICKED) {
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
