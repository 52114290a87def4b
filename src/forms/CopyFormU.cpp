#include "forms/CopyFormU.h"

#include <shellapi.h>

#include <iterator>

#include "forms/CopyMaU.h"
#include "forms/Product.h"
#include "framework/Hints.h"
#include "framework/Application.h"
#include "framework/ScaledResource.h"
#include "framework/SystemLibrary.h"

TCopyForm* CopyForm = nullptr;

namespace {
constexpr int kOuterWidth = 574, kOuterHeight = 346;
// The frame appears this far to the right of the control panel.
constexpr int kFrameGap = 30;
}  // namespace

TCopyForm::TCopyForm()
    : Form(L"CopyForm"),
      TopPanel(this, L"TopPanel"),
      VrGradient1(&TopPanel, L"VrGradient1"),
      Label5(&TopPanel, L"Label5"),
      Label1(&TopPanel, L"Label1"),
      StatusBar(this, L"StatusBar"),
      PageControl(this, L"PageControl"),
      Simple(&PageControl, L"Simple", L"Simple capturing", 0),
      SimpleBorder(&Simple, L"SimpleBorder"),
      Label2(&Simple, L"Label2"),
      Label3(&Simple, L"Label3"),
      Label4(&Simple, L"Label4"),
      Capture(&Simple, L"Capture"),
      Copy(&Simple, L"Copy"),
      Save(&Simple, L"Save"),
      Print(&Simple, L"Print"),
      SimplePanel(&Simple, L"SimplePanel"),
      SimpleFrame1(&SimplePanel, L"SimpleFrame1"),
      CaptureLoop(&PageControl, L"CaptureLoop", L"Advanced capturing", 1),
      VrBorder1(&CaptureLoop, L"VrBorder1"),
      PageControl1(&CaptureLoop, L"PageControl1"),
      Panel2(&CaptureLoop, L"Panel2"),
      CountDown(&PageControl1, L"CountDown", L"Countdown", 3),
      Label11(&CountDown, L"Label11"),
      StartButton(&CountDown, L"StartButton"),
      Label9(&CountDown, L"Label9"),
      CountInterval(&CountDown, L"CountInterval"),
      CheckMinimize(&CountDown, L"CheckMinimize"),
      BtnCopy(&CountDown, L"BtnCopy"),
      BtnSave(&CountDown, L"BtnSave"),
      BtnPrint(&CountDown, L"BtnPrint"),
      CountPanel(&CountDown, L"CountPanel"),
      RegFrame2(&CountPanel, L"RegFrame2"),
      CaptureRegularily(&PageControl1, L"CaptureRegularily", L"Capture regularily", 4),
      Label10(&CaptureRegularily, L"Label10"),
      Play(&CaptureRegularily, L"Play"),
      Stop(&CaptureRegularily, L"Stop"),
      Label7(&CaptureRegularily, L"Label7"),
      Intervall(&CaptureRegularily, L"Intervall"),
      Filename(&CaptureRegularily, L"Filename"),
      Label6(&CaptureRegularily, L"Label6"),
      Filetype(&CaptureRegularily, L"Filetype"),
      Path(&CaptureRegularily, L"Path"),
      Browse(&CaptureRegularily, L"Browse"),
      RegPanel(&CaptureRegularily, L"RegPanel"),
      RegFrame1(&RegPanel, L"RegFrame1"),
      About(&PageControl, L"About", L"About", 2),
      VrBorder3(&About, L"VrBorder3"),
      ImagePanel(&About, L"ImagePanel"),
      VrAnimate1(&ImagePanel, L"VrAnimate1"),
      Image1(&About, L"Image1"),
      Label14(&About, L"Label14"),
      ProductName(&About, L"ProductName"),
      Label12(&About, L"Label12"),
      Version(&About, L"Version"),
      Label13(&About, L"Label13"),
      Email(&About, L"Email"),
      EmailAddress(&About, L"EmailAddress"),
      Homepage(&About, L"Homepage"),
      httpAddress(&About, L"httpAddress"),
      Panel1(&About, L"Panel1"),
      Memo1(&About, L"Memo1"),
      Minimize(this, L"Minimize") {
    CopyForm = this;
    resizable_ = false;
    maximizeBox_ = false;
    SetText(kPanelCaption);
    SetBounds(199, 118, Scale(kOuterWidth), Scale(kOuterHeight));
    SetMinSize(Scale(kOuterWidth), Scale(kOuterHeight));
    SetMaxSize(Scale(kOuterWidth), Scale(kOuterHeight));
    SetKeyPreview(true);
    BuildLayout();
    CreateForm();
}

TCopyForm::~TCopyForm() {
    auto& app = fw::Application::Instance();
    app.onMinimize = nullptr;
    app.onRestore = nullptr;
    fw::Hints::Instance().onHint = nullptr;
    if (CopyForm == this) CopyForm = nullptr;
}

void TCopyForm::FormCreate() {
    auto& app = fw::Application::Instance();
    app.SetHintColor(fw::kRed);
    app.onMinimize = [this] { MinimizeAllClick(); };
    app.onRestore = [this] { RestoreClick(); };
    // The long part of the hint under the pointer shows in panel 0 of the status bar.
    fw::Hints::Instance().onHint = [this](const std::wstring& text) { StatusBar.SetPanelText(0, text); };
    SetBounds(100, 100, Width(), Height());
}

void TCopyForm::DoDpiChanged() {
    // The glyphs and the logo load themselves for the new scale; the lists, the play button's
    // face taken from one and the animation's sheet are the panel's to load again.
    ImageList.ChangeDpi(Dpi());
    BtnImageList.ChangeDpi(Dpi());
    PageControl.SetImages(ImageList.Handle());
    PageControl1.SetImages(ImageList.Handle());
    SetPlayFace(Stop.Enabled() ? 1 : 0);
    LoadAnimationSheet();
    // The folder's text was shortened for the old scale's width and font.
    if (!Path.Text().empty()) ShowSaveFolder();
}

SIZE TCopyForm::SizeAtDpi(int dpi) const {
    return SIZE{::MulDiv(kOuterWidth, dpi, 96), ::MulDiv(kOuterHeight, dpi, 96)};
}

void TCopyForm::FormShow() {
    MainForm->SetBounds(Left() + Width() + kFrameGap, Top(), MainForm->Width(), MainForm->Height());
    MainForm->ShowFormInactive();  // the panel, shown next, takes the activation
}

void TCopyForm::FormClose(fw::CloseAction&) { MainForm->Close(); }

void TCopyForm::MinimizeClick() { SetWindowState(fw::WindowState::Minimized); }

void TCopyForm::MinimizeAllClick() {
    fw::Application::Instance().Minimize();
    MainForm->SetWindowState(fw::WindowState::Minimized);
}

void TCopyForm::RestoreClick() {
    SetWindowState(fw::WindowState::Normal);
    MainForm->SetWindowState(fw::WindowState::Normal);
}

void TCopyForm::LoadAnimationSheet() {
    const bool running = VrAnimate1.Active();
    fw::Bitmap sheet;
    fw::LoadScaledBitmap(sheet, L"ANIMSHEET", Dpi());
    VrAnimate1.SetBitmap(sheet);  // stops and rewinds
    VrAnimate1.SetActive(running);
}

void TCopyForm::VrAnimate1Click() {
    if (VrAnimate1.Active()) {
        VrAnimate1.SetActive(false);
        VrAnimate1.SetHint(L"Play");
    } else {
        VrAnimate1.SetActive(true);
        VrAnimate1.SetHint(L"Stop");
    }
}

void TCopyForm::FormKeyUp(WORD& key, fw::ShiftState) {
    if (key != VK_SPACE) return;
    // The key still reaches the control with the focus afterwards.
    RunShowingPageAction();
}

void TCopyForm::FormKeyDown(WORD& key, fw::ShiftState shift) {
    const bool ctrl = (shift & fw::kCtrl) != 0, back = (shift & fw::kShift) != 0;
    if (ctrl && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
        StepPage(key == VK_PRIOR || (key == VK_TAB && back) ? -1 : 1);
        key = 0;
    } else if (key == VK_ESCAPE && !ctrl && !back && PageControl.ActivePage() == &CaptureLoop &&
               PageControl1.ActivePage() == &CaptureRegularily && Stop.Enabled()) {
        Stop.Click();
        key = 0;
    } else if (shift == fw::kAlt) {
        fw::Control* target = key == 'B' ? static_cast<fw::Control*>(&Label3) : nullptr;
        if (PageControl.ActivePage() == &About) {
            if (key == 'E') target = &EmailAddress;
            if (key == 'W') target = &httpAddress;
            if (key == 'A') target = &VrAnimate1;
        }
        if (target) {
            target->Click();
            key = 0;
        }
    }
}

void TCopyForm::StepPage(int step) {
    struct Page {
        fw::TabSheet* page;
        fw::TabSheet* subPage;
    };
    const Page pages[] = {
        {&Simple, nullptr}, {&CaptureLoop, &CountDown}, {&CaptureLoop, &CaptureRegularily}, {&About, nullptr}};
    constexpr int kCount = int(std::size(pages));
    int showing = 0;
    for (int i = 0; i < kCount; ++i)
        if (pages[i].page == PageControl.ActivePage() &&
            (!pages[i].subPage || pages[i].subPage == PageControl1.ActivePage()))
            showing = i;
    const Page& next = pages[((showing + step) % kCount + kCount) % kCount];
    if (next.subPage) PageControl1.SetActivePage(next.subPage);
    PageControl.SetActivePage(next.page);
}

bool TCopyForm::RunShowingPageAction() {
    if (PageControl.ActivePage() == &Simple) {
        Capture.Click();
        return true;
    }
    if (PageControl.ActivePage() != &CaptureLoop) return false;
    if (PageControl1.ActivePage() == &CountDown)
        StartButton.Click();
    else if (PageControl1.ActivePage() == &CaptureRegularily)
        PlayClick();
    return false;
}

void TCopyForm::Label3Click() { ::SetWindowPos(MainForm->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

void TCopyForm::EmailAddressClick() { OpenWithShell(std::wstring(L"mailto:") + kMakerEmail); }

void TCopyForm::httpAddressClick() { OpenWithShell(kMakerWeb); }

void TCopyForm::OpenWithShell(const std::wstring& target) {
    static auto* shellExecute = fw::SystemFunction<decltype(::ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    fw::RequireOle();
    // What the shell answers is not looked at: with no mail program nothing happens.
    shellExecute(Handle(), L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
