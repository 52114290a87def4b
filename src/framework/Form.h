#pragma once
// A top-level window of the program. Ordinary forms are owned by the application window (so
// they go with its taskbar button); a form may change that in CreateParams.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/Container.h"
#include "framework/ScaledResource.h"

namespace fw {

enum class FormStyle { Normal, StayOnTop };
enum class WindowState { Normal, Minimized };
enum class CloseAction { None, Hide, Free };

class Form : public Container {
public:
    explicit Form(std::wstring name);
    ~Form() override;

    // Builds the window and its children; the create handler runs at the end.
    void CreateForm();
    static Form* FromHandle(HWND wnd);

    void ShowForm();  // visible, on top of the window order
    // As ShowForm, but the activation stays where it is: for a form shown on the way to
    // showing another that takes it.
    void ShowFormInactive();
    void HideForm();
    void Close();  // runs the close handler; the main form's close ends the program
    // Gives the form the keyboard focus within the program: it is activated when the program is
    // in the foreground; while another program is, the foreground, its active window and where
    // its keys go stay as they are. Throws for a hidden or disabled form.
    void FocusForm();
    // Paints what waits to be painted now and hands it to the screen; where the desktop is
    // composed, returns once the compositor has shown it.
    void PaintNow();

    // The window becomes topmost or ordinary as one made anew with the other style would be
    // (it is not made anew): the colour key is applied again and, while it is visible, the
    // show handler runs again; position, size and visibility are kept.
    void SetFormStyle(FormStyle style);
    WindowState GetWindowState() const { return windowState_; }
    // A form brought back to normal is activated only while the program is in the foreground.
    void SetWindowState(WindowState state);

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool k) { keyPreview_ = k; }
    void SetMinSize(int w, int h) {
        minWidth_ = w;
        minHeight_ = h;
    }
    void SetMaxSize(int w, int h) {
        maxWidth_ = w;
        maxHeight_ = h;
    }
    void SetTransparentColor(bool on, Color value);
    // A push button that ENTER presses (DM_GETDEFID) while it is showing; a form may have
    // one per page.
    void AddDefaultButton(WinControl* button) { defaultButtons_.push_back(button); }
    Canvas& GetCanvas() { return canvas_; }
    bool Loading() const { return loading_; }
    int Dpi() const { return dpi_; }
    // Layout units (96 DPI) to this form's pixels.
    int Scale(int v) const { return ::MulDiv(v, dpi_, 96); }

    // The form moved to a monitor of another scale (WM_DPICHANGED): every control is laid out
    // again for `dpi` and the window takes the rectangle the system suggests. Forms that keep
    // physical pixels at every scale turn FollowsDpi off.
    void ChangeDpi(int dpi, const RECT& suggested);

    // The dpi of the window of a form just made: GetDpiForWindow (Windows 10 1607 on) where
    // the system has it, else the screen's. Tests may replace it.
    static std::function<int(HWND)> windowDpi;

    // Key preview: the form sees keys before the control with the focus. A handler that sets
    // the key to 0 keeps it from the control: then this returns true.
    bool PreviewKey(const MSG& msg);

protected:
    // The creation parameters hook: change the window's styles, owner and so on.
    virtual void CreateParams(WindowParams& params);
    WindowParams Params() override;
    void HandleCreated() override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void PaintSelf(HDC dc) override;
    void BoundsChanged() override;
    void VisibleChanged() override;

    // Handlers of the form's events.
    virtual void DoCreate() {}
    virtual void DoShow() {}
    virtual void DoClose(CloseAction&) {}
    virtual void DoPaint() {}
    virtual void DoResize() {}
    virtual void DoMoving() {}
    virtual void DoKeyDown(WORD&, ShiftState) {}
    virtual void DoKeyUp(WORD&, ShiftState) {}
    // After a change of dpi has laid the controls out again: what the form's own code made
    // for the old scale (pictures, texts fitted to a width).
    virtual void DoDpiChanged() {}
    virtual bool FollowsDpi() const { return true; }
    // The outer size the form takes at `dpi` (WM_GETDPISCALEDSIZE): its size scaled from its
    // own dpi; the same size for a form that keeps physical pixels.
    virtual SIZE SizeAtDpi(int dpi) const;

    bool borderNone_ = false;
    bool resizable_ = true;
    bool maximizeBox_ = true;
    bool minimizeBox_ = true;

private:
    void OnGetMinMaxInfo(MINMAXINFO& mmi) const;
    // True when the command was the main form's minimize, which minimizes the application.
    bool OnSysCommand(WPARAM command);
    void OnWindowPosChanged();
    void OnSize(WPARAM kind);
    LRESULT OnGetDefId() const;
    void ApplyColorKey();
    // A window made on a monitor of another scale than the screen's is laid out for its own.
    void AdoptWindowDpi();
    void ShowAndRunShowHandler();

    FormStyle formStyle_ = FormStyle::Normal;
    WindowState windowState_ = WindowState::Normal;
    bool keyPreview_ = false;
    bool transparentColor_ = false;
    Color transparentColorValue_ = 0;
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
    std::vector<WinControl*> defaultButtons_;
    Canvas canvas_;
    bool loading_ = true;
    bool activateOnShow_ = true;  // false during ShowFormInactive
    bool settingBounds_ = false;
    int dpi_ = 96;
    WindowIcons icons_;
};

}  // namespace fw
