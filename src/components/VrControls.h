#pragma once
// Base classes and shared types of the Vr component library: the version stamp, the
// non-visual component base, the windowless control base with its overridable operations and
// hooks, and the off-screen image control that draws into a private bitmap and copies it to
// the screen in one step, optionally over a captured copy of what lies behind it.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/Bitmap.h"
#include "framework/Control.h"

// The library's version stamp: a short string of at most 4 characters.
using TVrVersion = std::wstring;
inline constexpr const wchar_t* kVrVersion = L"3.70";

// Frame counts of an animation sheet: 1 to 2147483647.
using TVrColInt = int;
using TVrRowInt = int;

enum TVrGradDirection { gdUpDown, gdUpDownHalf, gdLeftRight, gdLeftRightHalf, gdChord1, gdChord2 };

// The number under which the library's hand-point cursor is registered with the application.
inline constexpr int kVrCursorHandPoint = 99;

// The library's start-up: loads the cursor "VRCURSORHANDPOINT" from the program's own
// resources and registers it as cursor 99. The program calls it once before it builds its
// forms (a static initialiser in a library would be left out by the linker); calling it again
// does no harm.
void VrControlsStartup();

// Base of the library's non-visual components.
class TVrComponent {
public:
    explicit TVrComponent(fw::Control* owner = nullptr) : owner_(owner) {}
    virtual ~TVrComponent() = default;
    TVrComponent(const TVrComponent&) = delete;
    TVrComponent& operator=(const TVrComponent&) = delete;

    fw::Control* Owner() const { return owner_; }
    const TVrVersion& Version() const { return version_; }
    void SetVersion(const TVrVersion& v) { version_ = v.substr(0, 4); }

private:
    fw::Control* owner_;
    TVrVersion version_ = kVrVersion;
};

// Base of the library's windowless controls.
class TVrGraphicControl : public fw::GraphicControl {
public:
    using THook = std::function<void(TVrGraphicControl& sender)>;

    TVrGraphicControl(fw::Container* parent, std::wstring name);

    const TVrVersion& Version() const { return version_; }
    void SetVersion(const TVrVersion& v) { version_ = v.substr(0, 4); }

    // Hooks, run after the framework's own handling of the event; empty after construction.
    void SetMouseEnterHandler(THook h) { mouseEnterHandler_ = std::move(h); }
    void SetMouseLeaveHandler(THook h) { mouseLeaveHandler_ = std::move(h); }
    void SetFontChangeHandler(THook h) { fontChangeHandler_ = std::move(h); }
    void SetTextChangeHandler(THook h) { textChangeHandler_ = std::move(h); }

    // With AutoSize on, bounds set through the auto-size operations take the size that
    // CanAutoSize proposes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool a);

    // The palette the control draws with, for palette-based displays (none by default).
    virtual HPALETTE GetPalette() { return nullptr; }

    // Repaints the control at once, unless its form is still being built.
    virtual void RedrawControl();
    // Applies the auto size where the alignment allows it; redraws when the bounds stay.
    virtual void AutoSizeAndRedraw();
    // Sets the bounds again (applying the auto size); redraws when they stay.
    virtual void RefreshBounds();

    void MouseEnter() override;
    void MouseLeave() override;

protected:
    virtual void MouseEntered();
    virtual void MouseLeft();
    void FontChanged() override;
    void TextChanged() override;
    // The auto-size query: may change the proposed size; false refuses any change.
    virtual bool CanAutoSize(int& width, int& height);

private:
    void SetBoundsAutoSized(int left, int top, int width, int height);

    TVrVersion version_ = kVrVersion;
    THook mouseEnterHandler_;
    THook mouseLeaveHandler_;
    THook fontChangeHandler_;
    THook textChangeHandler_;
    bool autoSize_ = false;
};

// A windowless control that draws into ImageBitmap and copies it to the screen in one step.
// A transparent one first copies what its parent shows beneath it into BackgroundBitmap and
// draws over that.
//
// The opaque flag decides how a redraw reaches the screen. RedrawControl of a transparent
// control with a background sets it, so the repaint goes straight to the parent's DC and the
// cached background is reused; every paint clears it again and marks the background stale,
// so any other paint (the parent repainting, a move) comes after the parent has painted
// beneath the control and captures the background afresh.
class TVrGraphicImageControl : public TVrGraphicControl {
public:
    TVrGraphicImageControl(fw::Container* parent, std::wstring name);

    fw::Bitmap& BackgroundBitmap() { return backgroundBitmap_; }
    fw::Bitmap& ImageBitmap() { return imageBitmap_; }
    fw::Canvas& ImageCanvas() { return imageBitmap_.GetCanvas(); }
    // True when the next paint must capture the background again.
    bool BackgroundStale() const { return backgroundStale_; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool t);

    // WM_PAINT (with a DC; none draws nothing) paints under the two canvas locks;
    // WM_WINDOWPOSCHANGED resizes ImageBitmap to the control.
    LRESULT Perform(UINT msg, WPARAM wp, LPARAM lp) override;
    void RedrawControl() override;
    // Copies ImageBitmap to the screen. Descendants draw into ImageCanvas first, then call it.
    void Paint() override;

protected:
    // Fills ImageCanvas with the background: the captured one when transparent, else Color.
    virtual void PrepareImage();
    // Copies what the parent window shows under the painted part of the control into
    // BackgroundBitmap. Only during a paint, while the control's canvas holds its DC.
    void CaptureBackground();
    void CopyBackground();

private:
    fw::Bitmap backgroundBitmap_;
    fw::Bitmap imageBitmap_;
    bool backgroundStale_ = true;
    bool transparent_ = false;
};
