#pragma once
// A windowless control that plays an animation stored as one bitmap, a sheet of FrameRows by
// FrameCols equal frames, one step every Interval milliseconds while Active. Each step redraws
// through the off-screen image; the frame is shown centred at its own size or stretched, and
// with Transparent its pixels of colour Color are left out.
#include <functional>
#include <memory>

#include "components/VrControls.h"
#include "components/VrThreads.h"

class TVrAnimate : public TVrGraphicImageControl {
public:
    using TNotifyEvent = std::function<void(TVrAnimate& sender)>;

    TVrAnimate(fw::Container* parent, std::wstring name);
    ~TVrAnimate() override;

    // The steps come from the timer's worker thread (true) or a window timer (false); either
    // way they run on the GUI thread.
    bool Threaded() const;
    void SetThreaded(bool t);
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    // Frames in the sheet; values below 1 are taken as 1.
    TVrRowInt FrameRows() const { return frameRows_; }
    void SetFrameRows(TVrRowInt rows);
    TVrColInt FrameCols() const { return frameCols_; }
    void SetFrameCols(TVrColInt cols);
    void SetStretch(bool s);
    // The frame sheet. Any change of it (SetBitmap, or loading into Bitmap() directly) stops
    // the animation and rewinds it to frame 0.
    fw::Bitmap& Bitmap() { return bitmap_; }
    void SetBitmap(const fw::Bitmap& sheet) { bitmap_.Assign(sheet); }
    void SetLoop(bool l) { loop_ = l; }
    bool Active() const { return active_; }
    void SetActive(bool a);
    // Called when an animation that does not loop has shown its last frame.
    void SetOnNotify(TNotifyEvent handler) { onNotify_ = std::move(handler); }

    int CurrentFrame() const { return currentFrame_; }
    int FrameCount() const;
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    TVrTimer& AnimTimer() { return *animTimer_; }

    // One step: the next frame; after the last, frame 0 when looping, else stop and notify.
    void AdvanceFrame();

    void Paint() override;
    // An animation to assistive technology, animated while active; its default action stops
    // or plays it, as a click does (the click handler does the switching).
    long AccessibleState() const override;
    std::wstring AccessibleAction() const override { return active_ ? L"Stop" : L"Play"; }
    HPALETTE GetPalette() override { return bitmap_.Empty() ? nullptr : bitmap_.Palette(); }

protected:
    bool CanAutoSize(int& width, int& height) override;
    void ShowingChanged() override { UpdateTicking(); }

private:
    // The timer runs while the animation is active and can be seen: a page nobody looks at
    // costs no thread (until first shown) and no wake-ups (its worker is paused after).
    void UpdateTicking();
    void BitmapChanged();
    void UpdateFrameSize();
    RECT FrameRect(int index) const;
    RECT DestRect() const;
    // Copies a frame to the image, scaled, leaving out its pixels of colour Color.
    void CopyFrameTransparent(const RECT& src, const RECT& dest);

    bool stretch_ = false;
    fw::Bitmap bitmap_;
    TVrRowInt frameRows_ = 1;
    TVrColInt frameCols_ = 1;
    std::unique_ptr<TVrTimer> animTimer_;
    int interval_ = 150;  // milliseconds; AnimTimer has it only while playing
    bool loop_ = true;
    bool active_ = false;
    int currentFrame_ = 0;
    int frameWidth_ = 1;
    int frameHeight_ = 1;
    TNotifyEvent onNotify_;
};
