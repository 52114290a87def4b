#include "components/VrControls.h"

#include "components/VrSysUtils.h"
#include "framework/Application.h"
#include "framework/Container.h"

void VrControlsStartup() {
    // A cursor from the module's resources is shared: it is never destroyed.
    if (HCURSOR hand = ::LoadCursorA(::GetModuleHandleW(nullptr), "VRCURSORHANDPOINT"))
        fw::Application::Instance().RegisterCursor(kVrCursorHandPoint, hand);
}

// ---- TVrGraphicControl

TVrGraphicControl::TVrGraphicControl(fw::Container* parent, std::wstring name)
    : fw::GraphicControl(parent, std::move(name)) {}

void TVrGraphicControl::SetAutoSize(bool a) {
    if (a == autoSize_) return;
    autoSize_ = a;
    AutoSizeAndRedraw();
}

void TVrGraphicControl::RedrawControl() {
    if (!Loading()) Repaint();
}

void TVrGraphicControl::AutoSizeAndRedraw() {
    if (autoSize_ && GetAlign() != fw::Align::Client) {
        const RECT before = BoundsRect();
        if (!Loading()) SetBoundsAutoSized(Left(), Top(), Width(), Height());
        // A change of bounds repaints by itself.
        if (SameRect(before, BoundsRect())) RedrawControl();
    } else {
        RedrawControl();
    }
}

void TVrGraphicControl::RefreshBounds() {
    const RECT before = BoundsRect();
    if (Loading()) return;
    SetBoundsAutoSized(Left(), Top(), Width(), Height());
    if (SameRect(before, BoundsRect())) RedrawControl();
}

bool TVrGraphicControl::CanAutoSize(int&, int&) { return true; }

void TVrGraphicControl::SetBoundsAutoSized(int left, int top, int width, int height) {
    if (autoSize_) {
        int w = width, h = height;
        if (CanAutoSize(w, h)) {
            width = w;
            height = h;
        }
    }
    SetBounds(left, top, width, height);
}

void TVrGraphicControl::MouseEnter() {
    fw::GraphicControl::MouseEnter();
    MouseEntered();
}

void TVrGraphicControl::MouseLeave() {
    fw::GraphicControl::MouseLeave();
    MouseLeft();
}

void TVrGraphicControl::MouseEntered() {
    if (mouseEnterHandler_) mouseEnterHandler_(*this);
}

void TVrGraphicControl::MouseLeft() {
    if (mouseLeaveHandler_) mouseLeaveHandler_(*this);
}

void TVrGraphicControl::FontChanged() {
    fw::GraphicControl::FontChanged();
    if (fontChangeHandler_) fontChangeHandler_(*this);
}

void TVrGraphicControl::TextChanged() {
    fw::GraphicControl::TextChanged();
    if (textChangeHandler_) textChangeHandler_(*this);
}

// ---- TVrGraphicImageControl

namespace {
// Holds a canvas's lock for its lifetime.
class CanvasLock {
public:
    explicit CanvasLock(fw::Canvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
    ~CanvasLock() { canvas_.Unlock(); }
    CanvasLock(const CanvasLock&) = delete;
    CanvasLock& operator=(const CanvasLock&) = delete;

private:
    fw::Canvas& canvas_;
};
}  // namespace

TVrGraphicImageControl::TVrGraphicImageControl(fw::Container* parent, std::wstring name)
    : TVrGraphicControl(parent, std::move(name)) {}

LRESULT TVrGraphicImageControl::Perform(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        if (!wp) return 0;
        // The control's canvas first, then the image's; released in the reverse order.
        CanvasLock controlLock(canvas_);
        CanvasLock imageLock(ImageCanvas());
        fw::CanvasAttach attach(canvas_, reinterpret_cast<HDC>(wp));
        Paint();
        return 0;
    }
    LRESULT result = TVrGraphicControl::Perform(msg, wp, lp);
    if (msg == WM_WINDOWPOSCHANGED) imageBitmap_.SetSize(Width(), Height());
    return result;
}

void TVrGraphicImageControl::Paint() {
    ::BitBlt(canvas_.Handle(), 0, 0, Width(), Height(), ImageCanvas().Handle(), 0, 0, SRCCOPY);
    if (transparent_) {
        backgroundStale_ = true;
        SetOpaque(false);
    }
}

void TVrGraphicImageControl::RedrawControl() {
    if (transparent_ && !backgroundBitmap_.Empty()) {
        backgroundStale_ = false;
        SetOpaque(true);
    }
    TVrGraphicControl::RedrawControl();
}

void TVrGraphicImageControl::SetTransparent(bool t) {
    if (t == transparent_) return;
    transparent_ = t;
    SetOpaque(!t);
    RedrawControl();
}

void TVrGraphicImageControl::PrepareImage() {
    fw::Canvas& image = ImageCanvas();
    image.SetBrushStyle(fw::BrushStyle::Solid);
    if (transparent_) {
        if (backgroundStale_) CaptureBackground();
        CopyBackground();
    } else {
        image.SetBrushColor(GetColor());
        image.FillRect(RECT{0, 0, imageBitmap_.Width(), imageBitmap_.Height()});
    }
}

void TVrGraphicImageControl::CaptureBackground() {
    backgroundBitmap_.SetSize(Width(), Height());
    if (!parent_ || !parent_->Handle() || !canvas_.Attached()) return;
    HWND parentWnd = parent_->Handle();
    fw::WindowDc parentDc(parentWnd);
    // The part being painted, in control coordinates, and where the parent shows it.
    const RECT clip = canvas_.ClipRect();
    POINT origin = ScreenOrigin();
    POINT at{origin.x + clip.left, origin.y + clip.top};
    ::ScreenToClient(parentWnd, &at);
    ::BitBlt(backgroundBitmap_.Dc(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top,
             parentDc.Get(), at.x, at.y, SRCCOPY);
}

void TVrGraphicImageControl::CopyBackground() {
    ::BitBlt(ImageCanvas().Handle(), 0, 0, imageBitmap_.Width(), imageBitmap_.Height(), backgroundBitmap_.Dc(), 0, 0,
             SRCCOPY);
}
