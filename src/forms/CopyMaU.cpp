#include "forms/CopyMaU.h"

#include <oleacc.h>

#include "base/CursorZone.h"
#include "base/Geometry.h"
#include "base/Readout.h"
#include "capture/ScreenGrab.h"
#include "forms/CopyFormU.h"
#include "framework/Application.h"

TMainForm* MainForm = nullptr;

TMainForm::TMainForm() : Form(L"MainForm"), NumInterval(this, L"NumInterval") {
    MainForm = this;
    borderNone_ = true;
    SetText(L"SV - Border");
    SetBounds(814, 142, 336, 192);
    SetColor(kKeyColor);
    SetTransparentColor(true, kKeyColor);
    SetMinSize(base::kSmallestFrame, base::kSmallestFrame);
    SetKeyPreview(true);

    fw::FontSpec digits;
    digits.name = L"Arial";
    digits.height = 19;
    digits.bold = true;
    digits.color = fw::kRed;
    digits.charset = ANSI_CHARSET;
    NumInterval.SetFont(digits);
    NumInterval.SetColor(kKeyColor);  // its background is see-through like the frame's inside
    NumInterval.SetBounds(14, 8, 0, 0);
    NumInterval.SetText(L"");

    CreateForm();
}

TMainForm::~TMainForm() {
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::CreateParams(fw::WindowParams& params) {
    // Its own class: the whole window is repainted on every change of size.
    params.className = L"SvBorderForm";
    params.classStyle |= CS_HREDRAW | CS_VREDRAW;
    // A top-level window with no owner and its own taskbar button: it is neither hidden nor
    // minimized with the application window, and not kept above the control panel.
    params.exStyle |= WS_EX_APPWINDOW;
    params.parent = ::GetDesktopWindow();
}

namespace {
// How long the digits may take to leave the screen: well within a frame of any compositor,
// and of the X server under Wine, where the window below draws itself again.
constexpr DWORD kDigitsGoneLimitMs = 500;
}  // namespace

void TMainForm::ClearCount() {
    const RECT area = NumInterval.BoundsRect();
    const bool onScreen = Handle() && ::IsWindowVisible(Handle()) && !NumInterval.Text().empty();
    const std::vector<uint32_t> before = onScreen ? PaintedPixels(area) : std::vector<uint32_t>();
    NumInterval.SetText(L"");
    if (!onScreen) return;
    PaintNow();
    // The pixels that the digits drew and the frame no longer draws: while the screen still
    // shows them all, the repaint has not reached it.
    const std::vector<uint32_t> after = PaintedPixels(area);
    POINT origin{area.left, area.top};
    ::ClientToScreen(Handle(), &origin);
    const int width = area.right - area.left;
    std::vector<capture::ScreenPixel> gone;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i] != after[i])
            gone.push_back({origin.x + int(i) % width, origin.y + int(i) / width, before[i] & 0xFFFFFF});
    capture::WaitWhileScreenShows(gone, kDigitsGoneLimitMs);
}

void TMainForm::StoreSize() {
    lastWidth_ = Width();
    lastHeight_ = Height();
}

void TMainForm::FormPaint() {
    StoreSize();
    const int w = lastWidth_, h = lastHeight_;
    fw::Canvas& c = GetCanvas();

    // The band: a pen centred on the outline one pixel inside covers the window's outer edge
    // and reaches the band's width inwards; the inside is filled with the key colour.
    const int b = base::kBandWidth, g = base::kGripLength;
    c.SetPenColor(fw::kRed);
    c.SetPenWidth(2 * (b - 1));
    c.SetPenStyle(PS_SOLID);
    c.SetBrushColor(kKeyColor);
    c.Rectangle(1, 1, w, h);

    // The grip: an L over the bottom-right corner, as wide as the band, outlined in white
    // inside and grey at the window's edge, one pixel beyond the grip.
    c.SetPenColor(fw::kBlack);
    c.SetPenWidth(1);
    c.SetBrushColor(fw::kBlack);
    c.Polygon({{w - g, h - b}, {w - b, h - b}, {w - b, h - g}, {w, h - g}, {w, h}, {w - g, h}});

    c.SetPenColor(fw::kWhite);
    c.MoveTo(w - g - 1, h - b);
    c.LineTo(w - g - 1, h);
    c.MoveTo(w - b, h - g - 1);
    c.LineTo(w, h - g - 1);

    c.SetPenColor(fw::kGray);
    c.MoveTo(w - 1, h - g - 1);
    c.LineTo(w - 1, h - 1);
    c.LineTo(w - g - 2, h - 1);

    c.SetBrushColor(kKeyColor);
}

namespace {

// The system cursor that shows each zone; the program-wide cursor holds it, so the cursor
// shown and the action taken on a press always agree.
HCURSOR ZoneCursor(base::CursorZone zone) {
    switch (zone) {
    case base::CursorZone::Move:
        return ::LoadCursorW(nullptr, IDC_SIZEALL);
    case base::CursorZone::RightEdge:
        return ::LoadCursorW(nullptr, IDC_SIZEWE);
    case base::CursorZone::BottomRight:
        return ::LoadCursorW(nullptr, IDC_SIZENWSE);
    case base::CursorZone::Bottom:
        return ::LoadCursorW(nullptr, IDC_SIZENS);
    case base::CursorZone::None:
        break;
    }
    return nullptr;  // the default cursor
}

base::CursorZone ZoneOfCursor(HCURSOR cursor) {
    for (auto zone :
         {base::CursorZone::Move, base::CursorZone::RightEdge, base::CursorZone::BottomRight, base::CursorZone::Bottom})
        if (cursor && cursor == ZoneCursor(zone)) return zone;
    return base::CursorZone::None;
}

}  // namespace

void TMainForm::ShowReadout() {
    // The control panel is built before the frame, so it is there whenever this runs.
    if (CopyForm) CopyForm->StatusBar.SetPanelText(1, base::FrameReadout(Left(), Top(), lastWidth_, lastHeight_));
}

std::wstring TMainForm::AccessibleValue() const { return base::FrameValue(Left(), Top(), Width(), Height()); }

void TMainForm::BoundsChanged() {
    Form::BoundsChanged();
    TellAccessibility(EVENT_OBJECT_VALUECHANGE);
}

void TMainForm::FormShow() {
    StoreSize();
    ShowReadout();
}

void TMainForm::FormResize() {
    StoreSize();
    ShowReadout();
}

void TMainForm::FormMoving() {
    // The place recorded now is the one before the step being announced; the size is the
    // one stored last. The move itself goes ahead unchanged.
    ShowReadout();
}

void TMainForm::FormMouseMove(fw::ShiftState shift, int x, int y) {
    StoreSize();
    auto zone = base::ChooseZone(shift == fw::kCtrl, x, y, lastWidth_, lastHeight_);
    fw::Application::Instance().SetScreenCursor(ZoneCursor(zone));
}

void TMainForm::FormMouseDown() {
    auto zone = ZoneOfCursor(fw::Application::Instance().ScreenCursor());
    if (zone == base::CursorZone::None) return;
    // The system's own move or size loop takes over until the button is released.
    ::ReleaseCapture();
    ::SendMessageW(Handle(), WM_SYSCOMMAND, base::ZoneCommand(zone), 0);
}

void TMainForm::FormMouseLeave() { fw::Application::Instance().SetScreenCursor(nullptr); }

void TMainForm::FormKeyDown(WORD& key, fw::ShiftState shift) {
    if (shift == fw::kCtrl) fw::Application::Instance().SetScreenCursor(ZoneCursor(base::CursorZone::Move));
    // The arrow keys place the frame where no mouse does: they move it, with SHIFT they size
    // it, with CTRL by 10 pixels a step.
    const int dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0, dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
    if (!dx && !dy) {
        if (CopyForm) CopyForm->FormKeyDown(key, shift);  // the control panel's keys work from here too
        return;
    }
    const base::IntRect to = base::FrameAfterArrow(base::IntRect{Left(), Top(), Left() + Width(), Top() + Height()}, dx,
                                                   dy, (shift & fw::kShift) != 0, (shift & fw::kCtrl) != 0);
    SetBounds(to.left, to.top, to.Width(), to.Height());
    StoreSize();
    ShowReadout();
    key = 0;
}

void TMainForm::FormKeyUp(WORD& key, fw::ShiftState) {
    auto& app = fw::Application::Instance();
    app.SetScreenCursor(nullptr);  // every key released ends a CTRL move cursor
    if (key != VK_SPACE || !CopyForm) return;
    // The space key runs the action of the control panel's showing page. After a capture from
    // here both windows come back, so the new preview is in view.
    if (CopyForm->RunShowingPageAction()) {
        CopyForm->RestoreClick();
        app.Restore();
    }
}
