// The control panel's timed captures: the countdown, the regular series and its folder.
#include "base/PathShorten.h"
#include "base/Series.h"
#include "capture/BitmapFile.h"
#include "forms/CopyFormU.h"
#include "forms/CopyMaU.h"
#include "framework/Application.h"
#include "framework/FolderBrowser.h"

#include <shlobj.h>

namespace {
// The display text of the save folder must fit this width in the panel's font.
constexpr int kPathWidthLimit = 195;
}  // namespace

// ---- countdown

void TCopyForm::StartButtonClick() {
    MainForm->SetFormStyle(fw::FormStyle::StayOnTop);
    CountTimer.SetEnabled(true);
    MainForm->NumInterval.SetText(std::wstring(base::CountdownStartText(CountInterval.ItemIndex())));
    StartButton.SetEnabled(false);
    CountInterval.SetEnabled(false);
    Label9.SetEnabled(false);
    if (CheckMinimize.Checked()) MinimizeClick();
    CountdownOutput().SetEnabled(false);
    CheckMinimize.SetEnabled(false);
    RememberPrintedSize();
}

void TCopyForm::CountTimerTimer() {
    auto count = base::ParseCount(MainForm->NumInterval.Text());
    int left = count ? *count - 1 : 0;
    if (left != 0) {
        MainForm->NumInterval.SetText(std::to_wstring(left));
        return;
    }
    // "0" is never shown: the count goes from the last digit the frame shows to empty, and the
    // digit leaves the screen before the grab.
    MainForm->ClearCount();
    try {
        GrabInto(RegFrame2.Image);
        MainForm->FocusForm();
    } catch (...) {
        // A failed grab or focus ends the countdown all the same, so that the error is shown
        // once and the timer does not go on with an empty count.
        FinishCountdown();
        throw;
    }
    FinishCountdown();
}

void TCopyForm::FinishCountdown() {
    StartButton.SetEnabled(true);
    CountInterval.SetEnabled(true);
    Label9.SetEnabled(true);
    SetWindowState(fw::WindowState::Normal);
    int frameLeft = MainForm->Left(), frameTop = MainForm->Top(), panelLeft = Left(), panelTop = Top();
    // Both windows go stay-on-top and back to normal, the frame last, so neither is left
    // stay-on-top; each change of style runs the window's show handler again, as a window made
    // anew with the other style would (Form::SetFormStyle).
    SetFormStyle(fw::FormStyle::StayOnTop);
    MainForm->SetFormStyle(fw::FormStyle::StayOnTop);
    SetFormStyle(fw::FormStyle::Normal);
    MainForm->SetFormStyle(fw::FormStyle::Normal);
    MainForm->SetBounds(frameLeft, frameTop, MainForm->Width(), MainForm->Height());
    SetBounds(panelLeft, panelTop, Width(), Height());
    CountTimer.SetEnabled(false);
    CountdownOutput().SetEnabled(!RegFrame2.Image.Picture().Empty());
    CheckMinimize.SetEnabled(true);
}

// ---- regular series

void TCopyForm::SetPlayFace(int index) {
    fw::Bitmap face;  // handed to the button, which keeps its own copy
    BtnImageList.GetBitmap(index, face);
    Play.GetGlyph().Assign(face, 2);
    Play.GlyphChanged();
}

void TCopyForm::EnableSeriesSettings(bool enabled) {
    for (fw::Control* c :
         std::initializer_list<fw::Control*>{&Label7, &Intervall, &Filetype, &Label6, &Filename, &Path, &Browse})
        c->SetEnabled(enabled);
}

void TCopyForm::PlayClick() {
    if (Filename.Text().empty() || Path.Text().empty()) {
        fw::Application::Instance().ShowMessage(L"Enter filename and path.", L"Warning", MB_OK | MB_ICONWARNING);
        return;
    }
    if (!Stop.Enabled()) EnableSeriesSettings(false);
    Timer.SetInterval(unsigned(base::SeriesIntervalMs(Intervall.ItemIndex())));
    SetPlayFace(1);
    if (Play.Tag() != 0) {
        // Running: pause.
        Play.SetHint(L"Restore capturing");
        Play.SetGroupIndex(1);
        Play.SetDown(true);
        Timer.SetEnabled(false);
        Play.SetTag(0);
        Label10.SetEnabled(false);
    } else {
        // Idle or paused: start or resume with one capture at once, then one every interval.
        Stop.SetEnabled(true);
        Play.SetHint(L"Pause capturing");
        Play.SetGroupIndex(1);
        Play.SetDown(false);
        Play.SetTag(1);
        TimerTimer();
        Timer.SetEnabled(true);
        Label10.SetEnabled(true);
        Label10.SetVisible(true);
    }
}

void TCopyForm::TimerTimer() {
    MainForm->FocusForm();
    GrabInto(RegFrame1.Image);
    std::wstring name = base::SeriesFileName(Path.Hint(), Filename.Text(), seriesCounter_, Filetype.SelectedText());
    capture::SaveBitmapFile(RegFrame1.Image.Picture(), name);
    ++seriesCounter_;  // only after a good save
}

void TCopyForm::SeriesTick() {
    // While a failure report is open its message loop goes on delivering ticks: they are let
    // go, so reports never stack; the series goes on at its rhythm once the report is closed.
    if (seriesReportOpen_) return;
    try {
        TimerTimer();
    } catch (...) {
        seriesReportOpen_ = true;
        fw::Application::Instance().HandleException(std::current_exception());
        seriesReportOpen_ = false;
    }
}

void TCopyForm::StopClick() {
    Timer.SetEnabled(false);
    EnableSeriesSettings(true);
    Play.SetHint(kStartHint);
    Play.SetDown(false);
    SetPlayFace(0);
    Play.SetTag(0);
    seriesCounter_ = 0;
    Label10.SetVisible(false);
    Stop.SetEnabled(false);
}

// ---- save folder

void TCopyForm::BrowseClick() {
    std::wstring folder =
        fw::BrowseForFolder(fw::Application::Instance().Handle(), L"Select folder", BIF_RETURNONLYFSDIRS);
    Path.SetHint(folder);
    ShowSaveFolder();
}

void TCopyForm::ShowSaveFolder() {
    const std::wstring& folder = Path.Hint();
    // Shortened to fit, measured in the control panel's own font.
    fw::WindowDc dc(Handle());
    HFONT font = DpiFont();
    fw::SelectGuard sel(dc.Get(), font);
    auto width = [&](std::wstring_view text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text.data(), int(text.size()), &size);
        return int(size.cx);
    };
    Path.SetText(base::ShortenPath(folder, width, Scale(kPathWidthLimit)));
}
