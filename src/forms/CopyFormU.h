#pragma once
// The control panel: the program's main window, with the pages "Simple capturing",
// "Advanced capturing" (sub-pages "Countdown" and "Capture regularily") and "About".
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
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "framework/StatusBar.h"
#include "framework/Timer.h"

class TCopyForm : public fw::Form {
public:
    TCopyForm();
    ~TCopyForm() override;

    // Non-visual parts.
    fw::ImageList ImageList{16, 16};
    fw::ImageList BtnImageList{48, 24};
    fw::Timer Timer;
    fw::Timer CountTimer;

    // Top of the window. Declared parents first: a control joins its parent when built.
    fw::Panel TopPanel;
    fw::Label Label5;
    fw::Label Label1;
    fw::StatusBar StatusBar;
    fw::PageControl PageControl;

    // Page "Simple capturing".
    fw::TabSheet Simple;
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
    fw::Panel ImagePanel;
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

    // The maker's contact addresses shown on the About page.
    static constexpr const wchar_t* kMakerEmail = L"snapvane@tolvard.example";
    static constexpr const wchar_t* kMakerWeb = L"http://www.tolvard.example/snapvane";

protected:
    void DoCreate() override { FormCreate(); }
    void DoShow() override { FormShow(); }
    void DoClose(fw::CloseAction& action) override { FormClose(action); }

private:
    void BuildLayout();
    void BuildSimplePage();
    void BuildCountDownPage();
    void BuildRegularPage();
    void BuildAboutPage();
};

// The one control panel of the program, set as soon as the object exists.
extern TCopyForm* CopyForm;
