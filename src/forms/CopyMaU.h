#pragma once
// The capture frame: a borderless window whose inside is see-through (the key colour) and
// passes the mouse to the windows below; only the red band, the grip and the countdown
// digits show. Everything inside the band is what a capture takes.
#include "framework/Form.h"
#include "framework/Label.h"

class TMainForm : public fw::Form {
public:
    TMainForm();
    ~TMainForm() override;

    // The countdown digits, red, over the see-through inside.
    fw::Label NumInterval;

    // Handlers.
    void FormPaint();
    void FormShow();
    void FormResize();
    void FormMoving();
    void FormMouseMove(fw::ShiftState shift, int x, int y);
    void FormMouseDown();
    void FormMouseLeave();
    void FormKeyDown(WORD& key, fw::ShiftState shift);
    void FormKeyUp(WORD& key, fw::ShiftState shift);

    // Empties the countdown's digits and waits until they have left the screen, so that a
    // grab right after shows what lies below them.
    void ClearCount();

    // Last frame size, as the paint and the size handlers stored it.
    int LastWidth() const { return lastWidth_; }
    int LastHeight() const { return lastHeight_; }

    // Key colour: its pixels are invisible and let the mouse through.
    static constexpr fw::Color kKeyColor = 0x008000;

    // Assistive technology reads the area the frame captures as its value, told anew as the
    // frame moves or changes size.
    std::wstring AccessibleValue() const override;

protected:
    void CreateParams(fw::WindowParams& params) override;
    void BoundsChanged() override;
    // Its band is the 6-pixel inset of the capture rectangle at every scale.
    bool FollowsDpi() const override { return false; }
    void DoPaint() override { FormPaint(); }
    void DoShow() override { FormShow(); }
    void DoResize() override { FormResize(); }
    void DoMoving() override { FormMoving(); }
    void ClientMouseMove(fw::ShiftState shift, int x, int y) override { FormMouseMove(shift, x, y); }
    void ClientMouseDown(fw::MouseButton, fw::ShiftState, int, int) override { FormMouseDown(); }
    void ClientMouseLeave() override { FormMouseLeave(); }
    void DoKeyDown(WORD& key, fw::ShiftState shift) override { FormKeyDown(key, shift); }
    void DoKeyUp(WORD& key, fw::ShiftState shift) override { FormKeyUp(key, shift); }

private:
    void StoreSize();
    // Shows the frame's place and the capture size in the control panel's status bar.
    void ShowReadout();
    int lastWidth_ = 0, lastHeight_ = 0;
};

// The one capture frame of the program, set as soon as the object exists.
extern TMainForm* MainForm;
