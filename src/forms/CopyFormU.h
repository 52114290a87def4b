#pragma once
// The control panel: the program's main window, with the pages "Simple capturing",
// "Advanced capturing" (sub-pages "Countdown" and "Capture regularily") and "About".
#include "components/VrAnimate.h"
#include "components/VrBorder.h"
#include "components/VrGradient.h"
#include "forms/RegFrameU.h"
#include "forms/SimpleFrameU.h"
#include "framework/BitBtn.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/PageControl.h"
#include "framework/SavePictureDialog.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "framework/StatusBar.h"
#include "framework/Timer.h"

class TCopyForm : public fw::Form {
public:
    TCopyForm();
    ~TCopyForm() override;

    // Non-visual parts.
    fw::SavePictureDialog SavePictureDialog;
    fw::ImageList ImageList{16, 16};
    fw::ImageList BtnImageList{48, 24};
    fw::Timer Timer;
    fw::Timer CountTimer;

    // Top of the window. Declared parents first: a control joins its parent when built.
    fw::Panel TopPanel;
    TVrGradient VrGradient1;
    fw::Label Label5;
    fw::Label Label1;
    fw::StatusBar StatusBar;
    fw::PageControl PageControl;

    // Page "Simple capturing".
    fw::TabSheet Simple;
    TVrBorder SimpleBorder;
    fw::Label Label2;
    fw::Label Label3;
    fw::Label Label4;
    fw::BitBtn Capture;
    fw::BitBtn Copy;
    fw::BitBtn Save;
    fw::BitBtn Print;
    fw::Panel SimplePanel;
    TSimpleFrame SimpleFrame1;

    // Page "Advanced capturing".
    fw::TabSheet CaptureLoop;
    TVrBorder VrBorder1;
    fw::PageControl PageControl1;
    fw::Panel Panel2;

    // Sub-page "Countdown".
    fw::TabSheet CountDown;
    fw::Label Label11;
    fw::BitBtn StartButton;
    fw::Label Label9;
    fw::ComboBox CountInterval;
    fw::CheckBox CheckMinimize;
    fw::BitBtn BtnCopy;
    fw::BitBtn BtnSave;
    fw::BitBtn BtnPrint;
    fw::Panel CountPanel;
    TRegFrame RegFrame2;

    // Sub-page "Capture regularily".
    fw::TabSheet CaptureRegularily;
    fw::Label Label10;
    fw::SpeedButton Play;
    fw::SpeedButton Stop;
    fw::Label Label7;
    fw::ComboBox Intervall;
    fw::LabeledEdit Filename;
    fw::Label Label6;
    fw::ComboBox Filetype;
    fw::LabeledEdit Path;
    fw::Button Browse;
    fw::Panel RegPanel;
    TRegFrame RegFrame1;

    // Page "About".
    fw::TabSheet About;
    TVrBorder VrBorder3;
    fw::Panel ImagePanel;
    TVrAnimate VrAnimate1;
    fw::Image Image1;
    fw::Label Label14;
    fw::Label ProductName;
    fw::Label Label12;
    fw::Label Version;
    fw::Label Label13;
    fw::Label Email;
    fw::Label EmailAddress;
    fw::Label Homepage;
    fw::Label httpAddress;
    fw::Panel Panel1;
    fw::Memo Memo1;

    // Over the right end of the tab row.
    fw::Button Minimize;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormClose(fw::CloseAction& action);
    void MinimizeClick();
    void MinimizeAllClick();
    void RestoreClick();
    void Label3Click();
    void EmailAddressClick();
    void httpAddressClick();
    void VrAnimate1Click();
    void FormKeyUp(WORD& key, fw::ShiftState shift);
    // Keys for what only the mouse reached, from either window as the space key: CTRL+TAB and
    // CTRL+SHIFT+TAB (or CTRL+PAGE DOWN and CTRL+PAGE UP) step through the pages, ESC stops a
    // series (whose captures give the frame the focus), ALT+B is "show border", and on the
    // About page ALT+E, ALT+W and ALT+A are the e-mail link, the web link and a click on the
    // animation. A key used is set to 0.
    void FormKeyDown(WORD& key, fw::ShiftState shift);
    // Shows the page `step` pages on from the showing one, in the order of the tabs, the
    // advanced page's two sub-pages in its place, round at the ends.
    void StepPage(int step);
    // The space key's action, from either window: that of the page that shows. True when it
    // was the simple capture.
    bool RunShowingPageAction();
    // Capture and output.
    void CaptureClick();
    void CopyClick();
    void BtnCopyClick();
    void PrintClick();
    void BtnPrintClick();
    void SaveClick();
    void BtnSaveClick();
    // Countdown.
    void StartButtonClick();
    void CountTimerTimer();
    // Regular series and its folder.
    void PlayClick();
    void TimerTimer();
    void StopClick();
    void BrowseClick();

    // The size the Print buttons scale from: the capture size of the last simple capture or
    // of the last countdown start.
    int PrintedWidth() const { return printedWidth_; }
    int PrintedHeight() const { return printedHeight_; }
    // Number of the next file of the series.
    int SeriesCounter() const { return seriesCounter_; }

    // The maker's contact addresses shown on the About page.
    static constexpr const wchar_t* kMakerEmail = L"snapvane@tolvard.example";
    static constexpr const wchar_t* kMakerWeb = L"http://www.tolvard.example/snapvane";

protected:
    void DoCreate() override { FormCreate(); }
    void DoShow() override { FormShow(); }
    void DoClose(fw::CloseAction& action) override { FormClose(action); }
    void DoKeyUp(WORD& key, fw::ShiftState shift) override { FormKeyUp(key, shift); }
    void DoKeyDown(WORD& key, fw::ShiftState shift) override { FormKeyDown(key, shift); }
    void DoDpiChanged() override;
    // Its one size, 574 x 346 at 96 dpi, at any scale.
    SIZE SizeAtDpi(int dpi) const override;

private:
    // One control's place and size in layout units, its caption (a labeled edit's: its
    // label's), hint and font; an empty text or no font leaves the control's own.
    struct Placement {
        fw::Control& control;
        int left, top, width, height;
        std::wstring caption = {};
        std::wstring hint = {};
        const fw::FontSpec* font = nullptr;
    };
    // The one routine that places the controls of a layout table.
    void PlaceControls(std::initializer_list<Placement> placements);
    void BuildLayout();
    void BuildSimplePage();
    void BuildCountDownPage();
    void BuildRegularPage();
    void BuildAboutPage();
    void ConnectClicks();
    // What assistive technology is told beyond what the controls say of themselves.
    void DescribeForAssistiveTechnology();
    static void SetUpPreviewPanel(fw::Panel& panel);
    static void SetUpBorder(TVrBorder& border, fw::Color shadow, fw::Color highlight);
    void LoadGlyph(fw::BitBtn& button, const wchar_t* glyph);
    // The copy, save and print buttons of a page, which act on its preview's picture holder.
    struct OutputButtons {
        fw::BitBtn& copy;
        fw::BitBtn& save;
        fw::BitBtn& print;
        void SetEnabled(bool enabled) const;
    };
    OutputButtons SimpleOutput() { return {Copy, Save, Print}; }
    OutputButtons CountdownOutput() { return {BtnCopy, BtnSave, BtnPrint}; }
    // Their glyphs GLYPH_COPY, GLYPH_SAVE and GLYPH_PRINT, each with `suffix`; disabled until
    // a capture gives them a picture.
    void SetUpOutput(const OutputButtons& buttons, const std::wstring& suffix);
    // Grabs the capture rectangle of the frame into a picture holder; on failure the holder
    // keeps what it showed.
    void GrabInto(fw::Image& holder);
    void CopyHolder(fw::Image& holder);
    void PrintHolder(fw::Image& holder);
    void SaveHolder(fw::Image& holder);
    void SetPlayFace(int index);
    // The animation's frames drawn for the panel's scale; it goes on as it was (running or not).
    void LoadAnimationSheet();
    // The settings of the series, locked while it runs.
    void EnableSeriesSettings(bool enabled);
    // The printed size: that of the frame's capture rectangle now.
    void RememberPrintedSize();
    // The save folder (the hint of Path), shortened into Path's text to fit its width.
    void ShowSaveFolder();
    // Hands a mailto: or web address to the shell's "open".
    void OpenWithShell(const std::wstring& target);
    // The end of a countdown: buttons, windows and timer back to idle.
    void FinishCountdown();
    // A tick of the series timer: one capture, with failure reports that never stack.
    void SeriesTick();

    static constexpr const wchar_t* kStartHint = L"Start capturing|Start the capturing of selected area";

    int printedWidth_ = 0, printedHeight_ = 0;
    int seriesCounter_ = 0;
    fw::Bitmap spareGrab_;  // the bitmap the next grab goes into (see GrabInto)
    bool seriesReportOpen_ = false;
};

// The one control panel of the program, set as soon as the object exists.
extern TCopyForm* CopyForm;
