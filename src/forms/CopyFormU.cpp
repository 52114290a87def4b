#include "forms/CopyFormU.h"

#include "forms/CopyMaU.h"
#include "framework/Application.h"

TCopyForm* CopyForm = nullptr;

namespace {
constexpr int kOuterWidth = 574, kOuterHeight = 346;
// The frame appears this far to the right of the control panel.
constexpr int kFrameGap = 30;
}  // namespace

TCopyForm::TCopyForm() : Form(L"CopyForm"), Minimize(this, L"Minimize") {
    CopyForm = this;
    resizable_ = false;
    maximizeBox_ = false;
    SetText(L"| Tolvard | Snapvane | 1.1 |");
    SetBounds(199, 118, Scale(kOuterWidth), Scale(kOuterHeight));
    SetMinSize(Scale(kOuterWidth), Scale(kOuterHeight));
    SetMaxSize(Scale(kOuterWidth), Scale(kOuterHeight));
    SetKeyPreview(true);
    fw::FontSpec font;
    font.name = L"Georgia";
    font.height = 11;
    font.charset = ANSI_CHARSET;
    SetFont(font);

    Minimize.SetFont(font);
    Minimize.SetText(L"Minimize this");
    Minimize.SetHint(L"Minimize this window|Minimize only this window, not red border");
    Minimize.SetBounds(Scale(478), Scale(59), Scale(87), Scale(17));
    Minimize.onClick = [this] { MinimizeClick(); };

    CreateForm();
}

TCopyForm::~TCopyForm() {
    if (CopyForm == this) CopyForm = nullptr;
}

void TCopyForm::FormCreate() {
    auto& app = fw::Application::Instance();
    app.SetHintColor(fw::kRed);
    app.onMinimize = [this] { MinimizeAllClick(); };
    app.onRestore = [this] { RestoreClick(); };
    SetBounds(100, 100, Width(), Height());
}

void TCopyForm::FormShow() {
    MainForm->SetBounds(Left() + Width() + kFrameGap, Top(), MainForm->Width(), MainForm->Height());
    MainForm->ShowForm();
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
