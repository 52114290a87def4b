// The control panel's layout: every control with its place, texts, fonts, hints and initial
// state. The places, captions, hints and fonts of each page stand in one table, which
// PlaceControls applies; places are in layout units (96 DPI) and scaled to the window's DPI.
#include <oleacc.h>

#include "base/FilterExtension.h"
#include "forms/CopyFormU.h"
#include "forms/Product.h"

namespace {

// The panel's own font, with other traits.
fw::FontSpec PanelFontWith(int height, bool bold, bool italic, bool underline, fw::Color color) {
    return fw::FontSpec{L"Georgia", height, bold, italic, underline, color, ANSI_CHARSET};
}

fw::FontSpec PanelFont() { return PanelFontWith(11, false, false, false, fw::kWindowText); }

// The red, bold, underlined "show border" links.
const fw::FontSpec kLinkFont = PanelFontWith(9, true, false, true, fw::kRed);
const fw::FontSpec kRecordingFont = PanelFontWith(11, false, false, false, fw::kRed);
const fw::FontSpec kCreditFont = PanelFontWith(16, false, true, false, fw::kWindowText);
const fw::FontSpec kValueFont = PanelFontWith(11, true, false, false, fw::kWindowText);
const fw::FontSpec kAddressFont = PanelFontWith(11, true, false, true, fw::kBlue);

// The title: white letters over a grey copy 2 px to the right and 2 px higher.
fw::FontSpec TitleFont(fw::Color color) {
    return fw::FontSpec{L"Verdana", 35, true, false, false, color, ANSI_CHARSET};
}

HCURSOR HandCursor() { return ::LoadCursorW(nullptr, IDC_HAND); }

const wchar_t* const kShowBorderHint = L"Show border|Show the red border";

}  // namespace

void TCopyForm::PlaceControls(std::initializer_list<Placement> placements) {
    for (const Placement& p : placements) {
        if (p.font) p.control.SetFont(*p.font);
        p.control.SetBounds(Scale(p.left), Scale(p.top), Scale(p.width), Scale(p.height));
        if (!p.caption.empty()) {
            if (auto* edit = dynamic_cast<fw::LabeledEdit*>(&p.control))
                edit->SetLabelCaption(p.caption);
            else
                p.control.SetText(p.caption);
        }
        if (!p.hint.empty()) p.control.SetHint(p.hint);
    }
}

void TCopyForm::BuildLayout() {
    SetFont(PanelFont());
    ImageList.AddResourceStrip(L"TABICONS", fw::kOlive, Dpi());
    BtnImageList.AddResourceStrip(L"PLAYFACES", fw::kOlive, Dpi());
    const fw::FontSpec panelFont = PanelFont(), grayTitle = TitleFont(fw::kGray), whiteTitle = TitleFont(fw::kWhite);
    for (fw::Label* l : {&Label5, &Label1}) {
        l->SetTransparent(true);
        l->SetAutoSize(false);
    }
    PlaceControls({
        {TopPanel, 0, 0, 0, 57},
        {Label5, 26, 4, 373, 42, kProductTitle, L"", &grayTitle},
        {Label1, 24, 6, 373, 42, kProductTitle, L"", &whiteTitle},
        {StatusBar, 0, 0, 0, 19, L"", L"", &panelFont},
        {Minimize, 478, 59, 87, 17, L"Minimize this",
         L"Minimize this window|Minimize only this window, not red border"},
    });
    TopPanel.SetBevelInner(fw::Bevel::Lowered);
    TopPanel.SetAlign(fw::Align::Top);
    // A red-to-black blend under the title, filling the panel inside its bevel.
    VrGradient1.SetStartColor(fw::kRed);
    VrGradient1.SetAlign(fw::Align::Client);
    StatusBar.SetAlign(fw::Align::Bottom);
    StatusBar.SetPanelWidths({Scale(290), Scale(50)});
    PageControl.SetImages(ImageList.Handle());
    PageControl.SetAlign(fw::Align::Client);
    PageControl.SetActivePage(&Simple);

    BuildSimplePage();
    BuildCountDownPage();
    BuildRegularPage();
    BuildAboutPage();

    SavePictureDialog.SetFilter(std::wstring(base::kPictureFilter));
    SavePictureDialog.SetOptions(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING);
    Timer.onTimer = [this] { SeriesTick(); };
    CountTimer.SetInterval(1000);
    CountTimer.onTimer = [this] { CountTimerTimer(); };
    ConnectClicks();
    DescribeForAssistiveTechnology();
    Minimize.BringToFront();  // over the right end of the tab row
}

void TCopyForm::ConnectClicks() {
    struct Connection {
        fw::Control& control;
        void (TCopyForm::*handler)();
    };
    for (const Connection& c :
         {Connection{Capture, &TCopyForm::CaptureClick}, Connection{Copy, &TCopyForm::CopyClick},
          Connection{Save, &TCopyForm::SaveClick}, Connection{Print, &TCopyForm::PrintClick},
          Connection{Label3, &TCopyForm::Label3Click}, Connection{Panel2, &TCopyForm::Label3Click},
          Connection{StartButton, &TCopyForm::StartButtonClick}, Connection{BtnCopy, &TCopyForm::BtnCopyClick},
          Connection{BtnSave, &TCopyForm::BtnSaveClick}, Connection{BtnPrint, &TCopyForm::BtnPrintClick},
          Connection{Play, &TCopyForm::PlayClick}, Connection{Stop, &TCopyForm::StopClick},
          Connection{Browse, &TCopyForm::BrowseClick}, Connection{VrAnimate1, &TCopyForm::VrAnimate1Click},
          Connection{EmailAddress, &TCopyForm::EmailAddressClick},
          Connection{httpAddress, &TCopyForm::httpAddressClick}, Connection{Minimize, &TCopyForm::MinimizeClick}})
        c.control.onClick = [this, handler = c.handler] { (this->*handler)(); };
}

void TCopyForm::DescribeForAssistiveTechnology() {
    for (fw::Control* link : std::initializer_list<fw::Control*>{&Label3, &Panel2, &EmailAddress, &httpAddress})
        link->SetAccessibleRole(ROLE_SYSTEM_LINK, L"Click");
    // Panels that only hold others are groups without a name, which screen readers pass over.
    for (fw::Panel* group : {&TopPanel, &SimplePanel, &CountPanel, &RegPanel, &ImagePanel})
        group->SetAccessibleRole(ROLE_SYSTEM_GROUPING);
    Label5.SetAccessibleRole(0);            // the title's shadow: the title itself is Label1
    Panel1.SetAccessibleRole(0);            // the line between the About page's texts and its help
    Image1.SetAccessibleName(L"Snapvane");  // the logo shows the product's name
    // The keys that do what their clicks do (FormKeyDown).
    Stop.SetAccessibleShortcut(L"Esc");
    Label3.SetAccessibleShortcut(L"Alt+B");
    Panel2.SetAccessibleShortcut(L"Alt+B");
    EmailAddress.SetAccessibleShortcut(L"Alt+E");
    httpAddress.SetAccessibleShortcut(L"Alt+W");
    VrAnimate1.SetAccessibleShortcut(L"Alt+A");
    // The lists are named by the labels beside them, which have no window the system could
    // find them by.
    CountInterval.SetAccessibleName(Label9.Text());
    Intervall.SetAccessibleName(Label7.Text());
    Filetype.SetAccessibleName(Label6.Text());
}

void TCopyForm::SetUpPreviewPanel(fw::Panel& panel) {
    panel.SetBevelOuter(fw::Bevel::None);
    panel.SetSingleBorder(true);
    panel.SetColor(fw::kGray);
}

void TCopyForm::SetUpBorder(TVrBorder& border, fw::Color shadow, fw::Color highlight) {
    border.SetShadowColor(shadow);
    border.SetHighlightColor(highlight);
    border.SetAlign(fw::Align::Client);
}

void TCopyForm::LoadGlyph(fw::BitBtn& button, const wchar_t* glyph) { button.GetGlyph().Load(glyph, 2, Dpi()); }

void TCopyForm::OutputButtons::SetEnabled(bool enabled) const {
    for (fw::BitBtn* button : {&copy, &save, &print}) button->SetEnabled(enabled);
}

void TCopyForm::SetUpOutput(const OutputButtons& buttons, const std::wstring& suffix) {
    LoadGlyph(buttons.copy, (L"GLYPH_COPY" + suffix).c_str());
    LoadGlyph(buttons.save, (L"GLYPH_SAVE" + suffix).c_str());
    LoadGlyph(buttons.print, (L"GLYPH_PRINT" + suffix).c_str());
    buttons.SetEnabled(false);
}

void TCopyForm::BuildSimplePage() {
    Label4.SetAutoSize(false);
    Label4.SetShowAccelChar(true);  // "&&" shows one ampersand
    PlaceControls({
        {Label2, 8, 8, 0, 0, L"Select area within the red border."},
        {Label3, 16, 24, 0, 0, L"show border", kShowBorderHint, &kLinkFont},
        {Label4, 8, 40, 195, 56,
         L"Use the right side, the bottom or \r\nbottomleft corner to resize border.\r\n"
         L"Push && hold CTRL and drag on the\r\nred border to move the frame."},
        {Capture, 16, 104, 185, 30, L"&Capture bitmap",
         L"Capture selected area|Capture selection for further copying/saving"},
        {Copy, 16, 144, 49, 49, L"C&opy", L"Copy bitmap to clipboard|Copy captured bitmap into clipboard"},
        {Save, 86, 144, 49, 49, L"&Save", L"Save bitmap to file|Save captured bitmap to imagefile"},
        {Print, 152, 144, 49, 49, L"&Print", L"Print bitmap|Print captured bitmap"},
        {SimplePanel, 213, 9, 337, 185},
        {SimpleFrame1, 3, 3, 326, 173},
    });
    SetUpBorder(SimpleBorder, fw::kMaroon, fw::kRed);
    Label3.SetCursor(HandCursor());
    LoadGlyph(Capture, L"GLYPH_CAPTURE");
    Capture.SetDefault(true);
    AddDefaultButton(&Capture);
    Capture.SetCursor(HandCursor());
    SetUpOutput(SimpleOutput(), L"");
    for (fw::BitBtn* button : {&Copy, &Save, &Print}) {
        button->SetLayout(fw::GlyphLayout::Top);
        button->SetCursor(HandCursor());
    }
    SetUpPreviewPanel(SimplePanel);
}

void TCopyForm::BuildCountDownPage() {
    Panel2.SetBevelOuter(fw::Bevel::None);
    PlaceControls({
        {Panel2, 480, 8, 73, 17, L"show border", kShowBorderHint, &kLinkFont},
        {PageControl1, 5, 5, 549, 196},
        {Label11, 8, 0, 0, 0,
         L"Capturing will be performed after a \r\nnumber of seconds. The countdown\r\n"
         L"will be seen within the red border."},
        {StartButton, 8, 64, 137, 33, L"Start countdown", L"Start countdown|Start countdown in red border"},
        {Label9, 160, 59, 0, 0, L"Interval:"},
        {CountInterval, 160, 75, 73, 21, L"", L"Interval|Seconds before capturing"},
        {CheckMinimize, 8, 104, 233, 17, L"Minimize this form when capturing"},
        {BtnCopy, 8, 136, 65, 25, L"Copy", L"Copy to clipboard|Copy captured bitmap to clipboard"},
        {BtnSave, 80, 136, 73, 25, L"Save", L"Save to file|Save captured bitmap to file"},
        {BtnPrint, 160, 136, 73, 25, L"&Print", L"Print bitmap|Print captured bitmap"},
        {CountPanel, 259, 1, 281, 161},
        {RegFrame2, 3, 3, 270, 151},
    });
    SetUpBorder(VrBorder1, fw::kMaroon, fw::kRed);
    Panel2.SetCursor(HandCursor());
    Panel2.BringToFront();  // over the right end of the sub-pages' tab row
    PageControl1.SetImages(ImageList.Handle());
    PageControl1.SetMultiLine(true);
    PageControl1.SetActivePage(&CountDown);
    LoadGlyph(StartButton, L"GLYPH_START");
    StartButton.SetDefault(true);
    AddDefaultButton(&StartButton);
    CountInterval.SetItems({L"3 sec", L"5 sec", L"10 sec", L"20 sec", L"30 sec", L"60 sec"});
    CountInterval.SetItemIndex(0);
    CheckMinimize.SetChecked(true);
    SetUpOutput(CountdownOutput(), L"_S");
    BtnPrint.SetCursor(HandCursor());
    SetUpPreviewPanel(CountPanel);
}

void TCopyForm::BuildRegularPage() {
    Label10.SetAutoSize(false);
    for (fw::LabeledEdit* e : {&Filename, &Path}) e->SetBorder(false);
    Filename.SetMaxLength(60);
    PlaceControls({
        {Label10, 24, 8, 81, 14, L"Recording...", L"", &kRecordingFont},
        {Play, 24, 24, 41, 41, L"", kStartHint},
        {Stop, 80, 24, 41, 41, L"", L"Stop capturing"},
        {Label7, 152, 24, 0, 0, L"Capture every:"},
        {Intervall, 152, 40, 89, 21, L"", L"Interval|Choose how often capturing will take place"},
        {Filename, 8, 94, 161, 19, L"Filename:", L"Filename|Filename for the saved files"},
        {Label6, 168, 78, 0, 0, L"Filetype:"},
        {Filetype, 168, 94, 73, 21, L"", L"Filetype|Choose filetype to save to"},
        {Path, 8, 142, 169, 19, L"Path to where to save the bitmaps:", L"Path|Path to where to save the bitmaps"},
        {Browse, 178, 142, 64, 21, L"Browse...", L"Browse|Select path to where to save the bitmaps"},
        {RegPanel, 259, 1, 281, 163},
        {RegFrame1, 3, 3, 270, 151},
    });
    Label10.SetVisible(false);
    fw::Bitmap face;
    BtnImageList.GetBitmap(0, face);
    Play.GetGlyph().Assign(face, 2);
    Play.SetLayout(fw::GlyphLayout::Right);
    Play.SetAllowAllUp(true);
    Stop.GetGlyph().Load(L"GLYPH_STOP", 2, Dpi());
    Stop.SetEnabled(false);
    Intervall.SetItems({L"1 sec", L"2 sec", L"3 sec", L"5 sec", L"10 sec", L"25 sec", L"1 min", L"2 min", L"3 min",
                        L"5 min", L"10 min", L"30 min", L"1 hour"});
    Intervall.SetItemIndex(0);
    Filetype.SetItems({L".bmp", L".jpg", L".gif", L".emf", L".wmf"});
    Filetype.SetItemIndex(0);
    SetUpPreviewPanel(RegPanel);
}

void TCopyForm::BuildAboutPage() {
    ImagePanel.SetBevelInner(fw::Bevel::Lowered);
    ImagePanel.SetBevelOuter(fw::Bevel::Lowered);
    ImagePanel.SetBevelWidth(2);
    Image1.LoadPicture(L"LOGO", Dpi());
    Image1.SetTransparent(true);
    PlaceControls({
        {ImagePanel, 16, 16, 73, 73},
        {VrAnimate1, 4, 4, 65, 65, L"", L"Stop"},
        {Image1, 110, 14, 169, 41},
        {Label14, 112, 60, 0, 0, L"by Tolvard Software", L"", &kCreditFont},
        {ProductName, 16, 104, 0, 0, L"Product Name: "},
        {Label12, 120, 104, 0, 0, L"Snapvane", L"", &kValueFont},
        {Version, 16, 127, 0, 0, L"Version:"},
        {Label13, 88, 127, 0, 0, kProductVersion, L"", &kValueFont},
        {Email, 16, 150, 0, 0, L"E-mail: "},
        {EmailAddress, 80, 150, 0, 0, kMakerEmail, std::wstring(L"Send an e-mail|Send an e-mail to ") + kMakerEmail,
         &kAddressFont},
        {Homepage, 16, 174, 0, 0, L"Website:"},
        {httpAddress, 88, 174, 0, 0, kMakerWeb, std::wstring(L"Visit website|Visit ") + kMakerWeb, &kAddressFont},
        {Panel1, 296, 8, 3, 193},
        {Memo1, 311, 11, 233, 180},
    });
    SetUpBorder(VrBorder3, fw::kGray, fw::kBlack);
    VrAnimate1.SetThreaded(true);
    VrAnimate1.SetFrameCols(6);
    LoadAnimationSheet();
    VrAnimate1.SetActive(true);
    Image1.SetAutoSize(true);
    for (fw::Control* link : std::initializer_list<fw::Control*>{&VrAnimate1, &EmailAddress, &httpAddress})
        link->SetCursor(HandCursor());
    Panel1.SetBevelOuter(fw::Bevel::Lowered);
    Memo1.SetReadOnly(true);
    Memo1.SetLines({L"Snapvane is a simple but ",
                    L"powerful screen capture device. It ",
                    L"consist of to parts; one main form ",
                    L"and one red border. Everything ",
                    L"within the red border will be ",
                    L"captured. To move the border push ",
                    L"and hold CTRL and drag on the red ",
                    L"area of the border. To resize it use ",
                    L"the right side, the bottom or the ",
                    L"bottomright corner of the border. ",
                    L"Use the \"Simple capturing\" page for ",
                    L"easy capturing. Look in \"Advanced ",
                    L"capturing\" for more features. ",
                    L"Hitting space also captures selected ",
                    L"area. The \"Minimize this\" button ",
                    L"minimizes only main form, not the ",
                    L"red border. Go to the ",
                    L"forum/guestbook on the website if ",
                    L"you have other questions. ",
                    L"",
                    L"Good luck!"});
}
