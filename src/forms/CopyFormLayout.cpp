// The control panel's layout: every control with its place, texts, fonts, hints and initial
// state. Places are in layout units (96 DPI) and scaled to the window's DPI.
#include "base/FilterExtension.h"
#include "forms/CopyFormU.h"
#include "framework/ScaledResource.h"

namespace {

fw::FontSpec PanelFont() {
    fw::FontSpec f;
    f.name = L"Georgia";
    f.height = 11;
    f.charset = ANSI_CHARSET;
    return f;
}

// The red, bold, underlined "show border" links.
fw::FontSpec LinkFont() {
    fw::FontSpec f = PanelFont();
    f.height = 9;
    f.bold = true;
    f.underline = true;
    f.color = fw::kRed;
    return f;
}

HCURSOR HandCursor() { return ::LoadCursorW(nullptr, IDC_HAND); }

}  // namespace

void TCopyForm::BuildLayout() {
    auto S = [this](int v) { return Scale(v); };
    SetFont(PanelFont());
    ImageList.AddResourceStrip(L"TABICONS", fw::kOlive, Dpi());
    BtnImageList.AddResourceStrip(L"PLAYFACES", fw::kOlive, Dpi());

    TopPanel.SetBevelInner(fw::Bevel::Lowered);
    TopPanel.SetBounds(0, 0, 0, S(57));
    TopPanel.SetAlign(fw::Align::Top);
    // A red-to-black blend under the title, filling the panel inside its bevel.
    VrGradient1.SetStartColor(fw::kRed);
    VrGradient1.SetAlign(fw::Align::Client);

    // The title: white letters over a grey copy 2 px to the right and 2 px higher.
    fw::FontSpec title;
    title.name = L"Verdana";
    title.height = 35;
    title.bold = true;
    title.charset = ANSI_CHARSET;
    title.color = fw::kGray;
    for (fw::Label* l : {&Label5, &Label1}) {
        l->SetFont(title);
        l->SetTransparent(true);
        l->SetAutoSize(false);
        l->SetText(L"Snapvane 1.1");
    }
    Label5.SetBounds(S(26), S(4), S(373), S(42));
    title.color = fw::kWhite;
    Label1.SetFont(title);
    Label1.SetBounds(S(24), S(6), S(373), S(42));

    StatusBar.SetFont(PanelFont());
    StatusBar.SetBounds(0, 0, 0, S(19));
    StatusBar.SetAlign(fw::Align::Bottom);
    StatusBar.SetPanelWidths({S(290), S(50)});

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
    Capture.onClick = [this] { CaptureClick(); };
    Copy.onClick = [this] { CopyClick(); };
    Save.onClick = [this] { SaveClick(); };
    Print.onClick = [this] { PrintClick(); };
    StartButton.onClick = [this] { StartButtonClick(); };
    BtnCopy.onClick = [this] { BtnCopyClick(); };
    BtnSave.onClick = [this] { BtnSaveClick(); };
    BtnPrint.onClick = [this] { BtnPrintClick(); };
    Play.onClick = [this] { PlayClick(); };
    Stop.onClick = [this] { StopClick(); };
    Browse.onClick = [this] { BrowseClick(); };

    Minimize.SetText(L"Minimize this");
    Minimize.SetHint(L"Minimize this window|Minimize only this window, not red border");
    Minimize.SetBounds(S(478), S(59), S(87), S(17));
    Minimize.onClick = [this] { MinimizeClick(); };
    Minimize.BringToFront();  // over the right end of the tab row
}

void TCopyForm::BuildSimplePage() {
    auto S = [this](int v) { return Scale(v); };
    SimpleBorder.SetShadowColor(fw::kMaroon);
    SimpleBorder.SetHighlightColor(fw::kRed);
    SimpleBorder.SetAlign(fw::Align::Client);
    Label2.SetBounds(S(8), S(8), 0, 0);
    Label2.SetText(L"Select area within the red border.");

    Label3.SetFont(LinkFont());
    Label3.SetCursor(HandCursor());
    Label3.SetBounds(S(16), S(24), 0, 0);
    Label3.SetText(L"show border");
    Label3.SetHint(L"Show border|Show the red border");
    Label3.onClick = [this] { Label3Click(); };

    Label4.SetAutoSize(false);
    Label4.SetBounds(S(8), S(40), S(195), S(56));
    Label4.SetShowAccelChar(true);  // "&&" shows one ampersand
    Label4.SetText(
        L"Use the right side, the bottom or \r\nbottomleft corner to resize border.\r\n"
        L"Push && hold CTRL and drag on the\r\nred border to move the frame.");

    Capture.SetBounds(S(16), S(104), S(185), S(30));
    Capture.SetText(L"&Capture bitmap");
    Capture.GetGlyph().Load(L"GLYPH_CAPTURE", 2, Dpi());
    Capture.SetDefault(true);
    AddDefaultButton(&Capture);
    Capture.SetCursor(HandCursor());
    Capture.SetHint(L"Capture selected area|Capture selection for further copying/saving");

    struct Output {
        fw::BitBtn& button;
        int left;
        const wchar_t* caption;
        const wchar_t* glyph;
        const wchar_t* hint;
    };
    for (const Output& o :
         {Output{Copy, 16, L"C&opy", L"GLYPH_COPY", L"Copy bitmap to clipboard|Copy captured bitmap into clipboard"},
          Output{Save, 86, L"&Save", L"GLYPH_SAVE", L"Save bitmap to file|Save captured bitmap to imagefile"},
          Output{Print, 152, L"&Print", L"GLYPH_PRINT", L"Print bitmap|Print captured bitmap"}}) {
        o.button.SetBounds(S(o.left), S(144), S(49), S(49));
        o.button.SetText(o.caption);
        o.button.GetGlyph().Load(o.glyph, 2, Dpi());
        o.button.SetLayout(fw::GlyphLayout::Top);
        o.button.SetCursor(HandCursor());
        o.button.SetHint(o.hint);
        o.button.SetEnabled(false);
    }

    SimplePanel.SetBevelOuter(fw::Bevel::None);
    SimplePanel.SetSingleBorder(true);
    SimplePanel.SetColor(fw::kGray);
    SimplePanel.SetBounds(S(213), S(9), S(337), S(185));
    SimpleFrame1.SetBounds(S(3), S(3), S(326), S(173));
}

void TCopyForm::BuildCountDownPage() {
    auto S = [this](int v) { return Scale(v); };
    VrBorder1.SetShadowColor(fw::kMaroon);
    VrBorder1.SetHighlightColor(fw::kRed);
    VrBorder1.SetAlign(fw::Align::Client);
    Panel2.SetBevelOuter(fw::Bevel::None);
    Panel2.SetFont(LinkFont());
    Panel2.SetText(L"show border");
    Panel2.SetCursor(HandCursor());
    Panel2.SetHint(L"Show border|Show the red border");
    Panel2.SetBounds(S(480), S(8), S(73), S(17));
    Panel2.onClick = [this] { Label3Click(); };
    Panel2.BringToFront();  // over the right end of the sub-pages' tab row

    PageControl1.SetImages(ImageList.Handle());
    PageControl1.SetMultiLine(true);
    PageControl1.SetBounds(S(5), S(5), S(549), S(196));
    PageControl1.SetActivePage(&CountDown);

    Label11.SetBounds(S(8), 0, 0, 0);
    Label11.SetText(
        L"Capturing will be performed after a \r\nnumber of seconds. The countdown\r\n"
        L"will be seen within the red border.");

    StartButton.SetBounds(S(8), S(64), S(137), S(33));
    StartButton.SetText(L"Start countdown");
    StartButton.GetGlyph().Load(L"GLYPH_START", 2, Dpi());
    StartButton.SetDefault(true);
    AddDefaultButton(&StartButton);
    StartButton.SetHint(L"Start countdown|Start countdown in red border");

    Label9.SetBounds(S(160), S(59), 0, 0);
    Label9.SetText(L"Interval:");
    CountInterval.SetBounds(S(160), S(75), S(73), S(21));
    CountInterval.SetItems({L"3 sec", L"5 sec", L"10 sec", L"20 sec", L"30 sec", L"60 sec"});
    CountInterval.SetItemIndex(0);
    CountInterval.SetHint(L"Interval|Seconds before capturing");

    CheckMinimize.SetBounds(S(8), S(104), S(233), S(17));
    CheckMinimize.SetText(L"Minimize this form when capturing");
    CheckMinimize.SetChecked(true);

    struct Output {
        fw::BitBtn& button;
        int left, width;
        const wchar_t* caption;
        const wchar_t* glyph;
        const wchar_t* hint;
    };
    for (const Output& o :
         {Output{BtnCopy, 8, 65, L"Copy", L"GLYPH_COPY_S", L"Copy to clipboard|Copy captured bitmap to clipboard"},
          Output{BtnSave, 80, 73, L"Save", L"GLYPH_SAVE_S", L"Save to file|Save captured bitmap to file"},
          Output{BtnPrint, 160, 73, L"&Print", L"GLYPH_PRINT_S", L"Print bitmap|Print captured bitmap"}}) {
        o.button.SetBounds(S(o.left), S(136), S(o.width), S(25));
        o.button.SetText(o.caption);
        o.button.GetGlyph().Load(o.glyph, 2, Dpi());
        o.button.SetHint(o.hint);
        o.button.SetEnabled(false);
    }
    BtnPrint.SetCursor(HandCursor());

    CountPanel.SetBevelOuter(fw::Bevel::None);
    CountPanel.SetSingleBorder(true);
    CountPanel.SetColor(fw::kGray);
    CountPanel.SetBounds(S(259), S(1), S(281), S(161));
    RegFrame2.SetBounds(S(3), S(3), S(270), S(151));
}

void TCopyForm::BuildRegularPage() {
    auto S = [this](int v) { return Scale(v); };
    fw::FontSpec red = PanelFont();
    red.color = fw::kRed;
    Label10.SetFont(red);
    Label10.SetAutoSize(false);
    Label10.SetBounds(S(24), S(8), S(81), S(14));
    Label10.SetText(L"Recording...");
    Label10.SetVisible(false);

    fw::Bitmap face;
    BtnImageList.GetBitmap(0, face);
    Play.GetGlyph().Assign(face, 2);
    Play.SetLayout(fw::GlyphLayout::Right);
    Play.SetAllowAllUp(true);
    Play.SetBounds(S(24), S(24), S(41), S(41));
    Play.SetHint(L"Start capturing|Start the capturing of selected area");

    Stop.GetGlyph().Load(L"GLYPH_STOP", 2, Dpi());
    Stop.SetBounds(S(80), S(24), S(41), S(41));
    Stop.SetHint(L"Stop capturing");
    Stop.SetEnabled(false);

    Label7.SetBounds(S(152), S(24), 0, 0);
    Label7.SetText(L"Capture every:");
    Intervall.SetBounds(S(152), S(40), S(89), S(21));
    Intervall.SetItems({L"1 sec", L"2 sec", L"3 sec", L"5 sec", L"10 sec", L"25 sec", L"1 min", L"2 min", L"3 min",
                        L"5 min", L"10 min", L"30 min", L"1 hour"});
    Intervall.SetItemIndex(0);
    Intervall.SetHint(L"Interval|Choose how often capturing will take place");

    Filename.SetBorder(false);
    Filename.SetMaxLength(60);
    Filename.SetBounds(S(8), S(94), S(161), S(19));
    Filename.SetLabelCaption(L"Filename:");
    Filename.SetHint(L"Filename|Filename for the saved files");

    Label6.SetBounds(S(168), S(78), 0, 0);
    Label6.SetText(L"Filetype:");
    Filetype.SetBounds(S(168), S(94), S(73), S(21));
    Filetype.SetItems({L".bmp", L".jpg", L".gif", L".emf", L".wmf"});
    Filetype.SetItemIndex(0);
    Filetype.SetHint(L"Filetype|Choose filetype to save to");

    Path.SetBorder(false);
    Path.SetBounds(S(8), S(142), S(169), S(19));
    Path.SetLabelCaption(L"Path to where to save the bitmaps:");
    Path.SetHint(L"Path|Path to where to save the bitmaps");

    Browse.SetBounds(S(178), S(142), S(64), S(21));
    Browse.SetText(L"Browse...");
    Browse.SetHint(L"Browse|Select path to where to save the bitmaps");

    RegPanel.SetBevelOuter(fw::Bevel::None);
    RegPanel.SetSingleBorder(true);
    RegPanel.SetColor(fw::kGray);
    RegPanel.SetBounds(S(259), S(1), S(281), S(163));
    RegFrame1.SetBounds(S(3), S(3), S(270), S(151));
}

void TCopyForm::BuildAboutPage() {
    auto S = [this](int v) { return Scale(v); };
    ImagePanel.SetBevelInner(fw::Bevel::Lowered);
    ImagePanel.SetBevelOuter(fw::Bevel::Lowered);
    ImagePanel.SetBevelWidth(2);
    ImagePanel.SetBounds(S(16), S(16), S(73), S(73));
    VrBorder3.SetShadowColor(fw::kGray);
    VrBorder3.SetHighlightColor(fw::kBlack);
    VrBorder3.SetAlign(fw::Align::Client);

    VrAnimate1.SetBounds(S(4), S(4), S(65), S(65));
    VrAnimate1.SetCursor(HandCursor());
    VrAnimate1.SetHint(L"Stop");
    VrAnimate1.SetThreaded(true);
    VrAnimate1.SetFrameCols(6);
    LoadAnimationSheet();
    VrAnimate1.SetActive(true);
    VrAnimate1.onClick = [this] { VrAnimate1Click(); };

    Image1.LoadPicture(L"LOGO", Dpi());
    Image1.SetTransparent(true);
    Image1.SetBounds(S(110), S(14), S(169), S(41));
    Image1.SetAutoSize(true);

    fw::FontSpec credit = PanelFont();
    credit.height = 16;
    credit.italic = true;
    Label14.SetFont(credit);
    Label14.SetBounds(S(112), S(60), 0, 0);
    Label14.SetText(L"by Tolvard Software");

    fw::FontSpec bold = PanelFont();
    bold.bold = true;
    fw::FontSpec link = bold;
    link.underline = true;
    link.color = fw::kBlue;
    struct Row {
        fw::Label& caption;
        fw::Label& value;
        int top, valueLeft;
        const wchar_t* captionText;
        std::wstring valueText;
        bool isLink;
    };
    for (const Row& r : {Row{ProductName, Label12, 104, 120, L"Product Name: ", L"Snapvane", false},
                         Row{Version, Label13, 127, 88, L"Version:", L"1.1", false},
                         Row{Email, EmailAddress, 150, 80, L"E-mail: ", kMakerEmail, true},
                         Row{Homepage, httpAddress, 174, 88, L"Website:", kMakerWeb, true}}) {
        r.caption.SetBounds(S(16), S(r.top), 0, 0);
        r.caption.SetText(r.captionText);
        r.value.SetFont(r.isLink ? link : bold);
        r.value.SetBounds(S(r.valueLeft), S(r.top), 0, 0);
        r.value.SetText(r.valueText);
        if (r.isLink) r.value.SetCursor(HandCursor());
    }
    EmailAddress.SetHint(std::wstring(L"Send an e-mail|Send an e-mail to ") + kMakerEmail);
    EmailAddress.onClick = [this] { EmailAddressClick(); };
    httpAddress.SetHint(std::wstring(L"Visit website|Visit ") + kMakerWeb);
    httpAddress.onClick = [this] { httpAddressClick(); };

    Panel1.SetBevelOuter(fw::Bevel::Lowered);
    Panel1.SetBounds(S(296), S(8), S(3), S(193));

    Memo1.SetReadOnly(true);
    Memo1.SetBounds(S(311), S(11), S(233), S(180));
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
