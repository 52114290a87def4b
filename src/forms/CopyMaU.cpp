#include "forms/CopyMaU.h"

#include "forms/CopyFormU.h"

TMainForm* MainForm = nullptr;

TMainForm::TMainForm() : Form(L"MainForm"), NumInterval(this, L"NumInterval") {
    MainForm = this;
    borderNone_ = true;
    SetText(L"SV - Border");
    SetBounds(814, 142, 336, 192);
    SetColor(kKeyColor);
    SetTransparentColor(true, kKeyColor);
    SetMinSize(15, 15);
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

void TMainForm::StoreSize() {
    lastWidth_ = Width();
    lastHeight_ = Height();
}

void TMainForm::FormPaint() {
    StoreSize();
    const int w = lastWidth_, h = lastHeight_;
    fw::Canvas& c = GetCanvas();

    // The band: a 10 px pen is centred on the outline, so it covers the window's outer edge
    // and reaches 6 px inwards; the inside is filled with the key colour.
    c.SetPenColor(fw::kRed);
    c.SetPenWidth(10);
    c.SetPenStyle(PS_SOLID);
    c.SetBrushColor(kKeyColor);
    c.Rectangle(1, 1, w, h);

    // The grip: an L over the bottom-right corner.
    c.SetPenColor(fw::kBlack);
    c.SetPenWidth(1);
    c.SetBrushColor(fw::kBlack);
    c.Polygon({{w - 15, h - 6}, {w - 6, h - 6}, {w - 6, h - 15}, {w, h - 15}, {w, h}, {w - 15, h}});

    c.SetPenColor(fw::kWhite);
    c.MoveTo(w - 16, h - 6);
    c.LineTo(w - 16, h);
    c.MoveTo(w - 6, h - 16);
    c.LineTo(w, h - 16);

    c.SetPenColor(fw::kGray);
    c.MoveTo(w - 1, h - 16);
    c.LineTo(w - 1, h - 1);
    c.LineTo(w - 17, h - 1);

    c.SetBrushColor(kKeyColor);
}

void TMainForm::FormShow() { StoreSize(); }

void TMainForm::FormResize() { StoreSize(); }
