#include "framework/PicturePreview.h"

#include "base/AnimFrames.h"
#include "framework/Gdi.h"
#include "framework/MessageLoop.h"
#include "framework/PictureFile.h"
#include "framework/Window.h"

namespace fw {

namespace {

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
        const base::IntRect room{0, 0, (work.right - work.left) - (frame.right - frame.left),
                                 (work.bottom - work.top) - (frame.bottom - frame.top)};
        const base::IntRect client = base::FitPicture(size_.cx, size_.cy, room);
        shown_ = SIZE{client.Width(), client.Height()};
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
            done_ = true;  // the owner is enabled before the window goes
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

void ShowPicturePreview(HWND owner, HBITMAP picture, SIZE size) {
    PreviewWindow window(picture, size);
    window.Open(owner);
    ::EnableWindow(owner, FALSE);
    MessageLoop::RunUntil([&] { return window.Done(); });
    // The owner first, so activation goes back to it and not to another program.
    ::EnableWindow(owner, TRUE);
    window.DestroyHandle();
    ::SetActiveWindow(owner);
}

}  // namespace fw
