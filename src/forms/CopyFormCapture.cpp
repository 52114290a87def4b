// The control panel's capture and output handlers: capture, copy, print and save.
#include "base/FilterExtension.h"
#include "base/Geometry.h"
#include "base/PrintRect.h"
#include "capture/BitmapFile.h"
#include "capture/ClipboardCopy.h"
#include "capture/PrintPicture.h"
#include "capture/ScreenGrab.h"
#include "forms/CopyFormU.h"
#include "forms/CopyMaU.h"
#include "framework/Application.h"

void TCopyForm::GrabInto(fw::Image& holder) {
    // The holder gets a bitmap of its own, shared with nothing; the one it held waits in
    // spareGrab_ for the next capture.
    capture::GrabScreenInto(holder.Picture(), spareGrab_, MainForm->Left(), MainForm->Top(), MainForm->Width(),
                            MainForm->Height());
}

void TCopyForm::CaptureClick() {
    // A hidden frame cannot take the focus: the error stops the capture before anything changes.
    MainForm->FocusForm();
    GrabInto(SimpleFrame1.Image);
    SimpleOutput().SetEnabled(true);
    RememberPrintedSize();
}

void TCopyForm::RememberPrintedSize() {
    const base::IntRect area =
        base::CaptureRect(MainForm->Left(), MainForm->Top(), MainForm->Width(), MainForm->Height());
    printedWidth_ = area.Width();
    printedHeight_ = area.Height();
}

void TCopyForm::CopyHolder(fw::Image& holder) {
    capture::CopyBitmapToClipboard(holder.Picture(), fw::Application::Instance().Handle());
}

void TCopyForm::CopyClick() { CopyHolder(SimpleFrame1.Image); }

void TCopyForm::BtnCopyClick() { CopyHolder(RegFrame2.Image); }

void TCopyForm::PrintHolder(fw::Image& holder) {
    capture::PrintBitmap(holder.Picture(), base::PrintRectFor(printedWidth_, printedHeight_));
}

void TCopyForm::PrintClick() { PrintHolder(SimpleFrame1.Image); }

void TCopyForm::BtnPrintClick() { PrintHolder(RegFrame2.Image); }

void TCopyForm::SaveHolder(fw::Image& holder) {
    if (!SavePictureDialog.Execute(Handle())) return;
    // The extension of the chosen type is always appended; the dialog keeps the name as the
    // user gave it, so the next Save opens with the same name and type.
    std::wstring extension = base::ExtensionFromFilter(SavePictureDialog.Filter(), SavePictureDialog.FilterIndex());
    capture::SaveBitmapFile(holder.Picture(), SavePictureDialog.FileName() + extension);
}

void TCopyForm::SaveClick() { SaveHolder(SimpleFrame1.Image); }

void TCopyForm::BtnSaveClick() { SaveHolder(RegFrame2.Image); }
