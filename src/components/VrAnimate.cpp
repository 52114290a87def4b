#include "components/VrAnimate.h"

#include <oleacc.h>

#include <algorithm>
#include <climits>

#include "base/AnimFrames.h"
#include "framework/Gdi.h"

TVrAnimate::TVrAnimate(fw::Container* parent, std::wstring name) : TVrGraphicImageControl(parent, std::move(name)) {
    SetOpaque(true);
    SetAccessibleRole(ROLE_SYSTEM_ANIMATION);
    SetBounds(0, 0, 50, 50);
    SetColor(fw::kBtnFace);
    bitmap_.onChange = [this] { BitmapChanged(); };
    animTimer_ = std::make_unique<TVrTimer>(this);
    animTimer_->SetEnabled(false);
    animTimer_->SetInterval(0);  // Interval applies while playing (UpdateTicking)
    animTimer_->SetOnTimer([this](TVrTimer&) { AdvanceFrame(); });
}

TVrAnimate::~TVrAnimate() {
    // Ends the worker first: no step may reach a control that is going away.
    animTimer_.reset();
    bitmap_.onChange = nullptr;
}

bool TVrAnimate::Threaded() const { return animTimer_->TimerType() == ttThread; }

void TVrAnimate::SetThreaded(bool t) { animTimer_->SetTimerType(t ? ttThread : ttSystem); }

void TVrAnimate::SetInterval(int ms) {
    interval_ = std::max(ms, 0);
    if (animTimer_->Enabled()) animTimer_->SetInterval(DWORD(interval_));  // restarts it
}

void TVrAnimate::SetFrameRows(TVrRowInt rows) {
    // A sheet has at least one row: anything less is taken as 1.
    rows = std::max(rows, 1);
    if (rows == frameRows_) return;
    frameRows_ = rows;
    UpdateFrameSize();
}

void TVrAnimate::SetFrameCols(TVrColInt cols) {
    cols = std::max(cols, 1);
    if (cols == frameCols_) return;
    frameCols_ = cols;
    UpdateFrameSize();
}

void TVrAnimate::SetStretch(bool s) {
    if (s == stretch_) return;
    stretch_ = s;
    RedrawControl();
}

void TVrAnimate::SetActive(bool a) {
    if (a == active_) return;
    active_ = a;
    UpdateTicking();
    TellAccessibility(EVENT_OBJECT_STATECHANGE);
    TellAccessibility(EVENT_OBJECT_DEFACTIONCHANGE);
}

long TVrAnimate::AccessibleState() const {
    return TVrGraphicImageControl::AccessibleState() | (active_ ? STATE_SYSTEM_ANIMATED : 0);
}

void TVrAnimate::UpdateTicking() {
    TVrTimer& timer = *animTimer_;
    if (active_ && Showing()) {
        timer.SetInterval(DWORD(interval_));  // stored only, the timer being disabled
        timer.SetEnabled(true);
    } else {
        // Disabling alone leaves a timer running with its ticks dropped: the worker would go on
        // waking every Interval. An interval of 0 while still enabled pauses it first.
        timer.SetInterval(0);
        timer.SetEnabled(false);
    }
}

int TVrAnimate::FrameCount() const {
    return int(std::min<long long>(static_cast<long long>(frameCols_) * frameRows_, INT_MAX));
}

void TVrAnimate::BitmapChanged() {
    SetActive(false);
    UpdateFrameSize();
}

void TVrAnimate::UpdateFrameSize() {
    const bool empty = bitmap_.Empty();
    base::FrameSize(empty ? 0 : bitmap_.Width(), empty ? 0 : bitmap_.Height(), frameCols_, frameRows_, frameWidth_,
                    frameHeight_);
    currentFrame_ = 0;
    AutoSizeAndRedraw();
}

void TVrAnimate::AdvanceFrame() {
    if (currentFrame_ < FrameCount() - 1) {
        ++currentFrame_;
    } else if (loop_) {
        currentFrame_ = 0;
    } else {
        SetActive(false);
        if (onNotify_) onNotify_(*this);
    }
    RedrawControl();
}

bool TVrAnimate::CanAutoSize(int& width, int& height) {
    if (!bitmap_.Empty()) {
        const fw::Align a = GetAlign();
        if (a == fw::Align::None || a == fw::Align::Left || a == fw::Align::Right) width = frameWidth_;
        if (a == fw::Align::None || a == fw::Align::Top || a == fw::Align::Bottom) height = frameHeight_;
    }
    return true;
}

RECT TVrAnimate::FrameRect(int index) const {
    return fw::ToRect(base::FrameRect(index, frameCols_, frameWidth_, frameHeight_));
}

RECT TVrAnimate::DestRect() const {
    return fw::ToRect(base::DestRect(stretch_, Width(), Height(), frameWidth_, frameHeight_));
}

void TVrAnimate::Paint() {
    PrepareImage();
    if (!bitmap_.Empty()) {
        const RECT src = FrameRect(currentFrame_);
        const RECT dest = DestRect();
        if (Transparent()) {
            CopyFrameTransparent(src, dest);
        } else {
            fw::Canvas& image = ImageCanvas();
            ::SetStretchBltMode(image.Handle(), COLORONCOLOR);
            image.CopyRect(dest, bitmap_.Dc(), src, SRCCOPY);
        }
    }
    TVrGraphicImageControl::Paint();
}

void TVrAnimate::CopyFrameTransparent(const RECT& s, const RECT& d) {
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    HDC image = ImageCanvas().Handle();
    HDC sheet = bitmap_.Dc();

    // The mask: white where the frame shows Color (a colour-to-monochrome copy turns pixels of
    // the source's background colour white and all others black).
    fw::MemoryDc maskDc(::CreateCompatibleDC(image));
    fw::BitmapHandle mask(::CreateBitmap(sw, sh, 1, 1, nullptr));
    fw::SelectGuard maskSel(maskDc.Get(), mask.Get());
    const COLORREF sheetBack = ::SetBkColor(sheet, fw::ToRgb(GetColor()));
    ::BitBlt(maskDc.Get(), 0, 0, sw, sh, sheet, s.left, s.top, SRCCOPY);
    ::SetBkColor(sheet, sheetBack);

    // image ^ frame, then black where the mask is black, then ^ frame again: the frame where
    // the mask is black, the image untouched where it is white. Monochrome onto colour maps
    // white to the background colour and black to the text colour.
    fw::SavedDc saved(image);
    ::SetStretchBltMode(image, COLORONCOLOR);
    ::SetBkColor(image, RGB(255, 255, 255));
    ::SetTextColor(image, RGB(0, 0, 0));
    ::StretchBlt(image, d.left, d.top, dw, dh, sheet, s.left, s.top, sw, sh, SRCINVERT);
    ::StretchBlt(image, d.left, d.top, dw, dh, maskDc.Get(), 0, 0, sw, sh, SRCAND);
    ::StretchBlt(image, d.left, d.top, dw, dh, sheet, s.left, s.top, sw, sh, SRCINVERT);
}
