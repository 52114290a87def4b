// The simple capture and its save, with a window of known pixels lying under the frame.
#include <algorithm>

#include "support/BmpFile.h"
#include "support/DibCanvas.h"
#include "support/ErrorOf.h"
#include "support/FormsFixture.h"
#include "support/SaveDialogHook.h"

using namespace forms_test;
using capture_test::PatternArea;
using capture_test::PixelsOf;
using capture_test::ReadBmp;
using capture_test::ScriptedSaveDialog;

using FormsCapture = FormsTest;

TEST_F(FormsCapture, CaptureTakesWhatLiesInsideTheBandIntoTheSimplePreview) {
    auto pattern = PatternUnderFrame();
    ::SendMessageW(panel->Capture.Handle(), BM_CLICK, 0, 0);  // "&Capture bitmap"
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);

    fw::Bitmap& picture = panel->SimpleFrame1.Image.Picture();
    ASSERT_EQ(picture.Width(), kCaptureWidth);
    ASSERT_EQ(picture.Height(), kCaptureHeight);
    EXPECT_EQ(PixelDifferences(PixelsOf(picture), PatternArea(0, 0, kCaptureWidth, kCaptureHeight), kCaptureWidth), "")
        << "the preview is not the area inside the red band pixel for pixel";
    EXPECT_EQ(picture.BitsPerPixel(), ::GetDeviceCaps(fw::WindowDc(nullptr).Get(), BITSPIXEL));
    for (fw::BitBtn* b : {&panel->Copy, &panel->Save, &panel->Print}) {
        EXPECT_TRUE(b->Enabled()) << fw::Utf8(b->Name());
        EXPECT_TRUE(::IsWindowEnabled(b->Handle())) << fw::Utf8(b->Name());
    }
    EXPECT_EQ(panel->PrintedWidth(), kCaptureWidth);
    EXPECT_EQ(panel->PrintedHeight(), kCaptureHeight);
    EXPECT_EQ(::GetActiveWindow(), frame->Handle()) << "a capture gives the frame the focus";
    // Nothing of the other pages changes.
    EXPECT_TRUE(panel->RegFrame1.Image.Picture().Empty());
    EXPECT_TRUE(panel->RegFrame2.Image.Picture().Empty());
    EXPECT_FALSE(panel->BtnCopy.Enabled());

    // The preview shows the picture from its top-left corner and scrolls (it is taller).
    EXPECT_TRUE(panel->SimpleFrame1.VertScrollVisible());
    DibCanvas shownPreview(120, 90);
    ::SendMessageW(panel->SimpleFrame1.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shownPreview.Dc()),
                   PRF_CLIENT);
    EXPECT_EQ(PixelDifferences(shownPreview.Pixels(), PatternArea(0, 0, 120, 90), 120), "")
        << "the preview differs from the capture";

    // A second capture at another frame size replaces the preview and the printed size.
    frame->SetBounds(frame->Left(), frame->Top(), 100, 60);
    const auto smaller = PatternArea(0, 0, 88, 48);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixels(kCaptureLeft, kCaptureTop, 88, 48) == smaller; }, 3000));
    panel->CaptureClick();
    EXPECT_EQ(picture.Width(), 88);
    EXPECT_EQ(picture.Height(), 48);
    EXPECT_EQ(PixelDifferences(PixelsOf(picture), smaller, 88), "");
    EXPECT_EQ(panel->PrintedWidth(), 88);
    EXPECT_EQ(panel->PrintedHeight(), 48);
    EXPECT_TRUE(panel->Copy.Enabled());
}

TEST_F(FormsCapture, AHiddenFrameCannotBeCapturedAndNothingChanges) {
    ::SendMessageW(frame->Handle(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindowVisible(frame->Handle()));

    EXPECT_EQ(capture_test::ErrorOf([&] { panel->CaptureClick(); }), kHiddenFrameError);
    EXPECT_TRUE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_FALSE(panel->Copy.Enabled());
    EXPECT_FALSE(panel->Save.Enabled());
    EXPECT_FALSE(panel->Print.Enabled());
    EXPECT_EQ(panel->PrintedWidth(), 0);

    // Pressed as the user presses it, the error reaches the message box through the barrier.
    ::SendMessageW(panel->Capture.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, std::wstring(kHiddenFrameError) + L".");
    EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
    EXPECT_EQ(shown[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
    EXPECT_TRUE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_FALSE(panel->Copy.Enabled());
}

TEST_F(FormsCapture, AFailedCaptureLeavesTheEarlierPictureAndPrintedSize) {
    fw::Bitmap earlier;
    capture_test::FillWithPattern(earlier, 40, 30, 7, 9);
    panel->SimpleFrame1.Image.Picture().Assign(earlier);
    frame->SetBounds(frame->Left(), frame->Top(), 52, 42);
    panel->CaptureClick();  // records 40 x 30
    panel->SimpleFrame1.Image.Picture().Assign(earlier);

    // A copy that the system refuses (a locked desktop) is reported and changes nothing.
    frame->SetBounds(frame->Left(), frame->Top(), 62, 52);
    {
        capture_test::RefusingScreen refusing;
        ::SendMessageW(panel->Capture.Handle(), BM_CLICK, 0, 0);
    }
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"Cannot copy the screen area.");
    EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
    EXPECT_EQ(PixelDifferences(PixelsOf(panel->SimpleFrame1.Image.Picture()), PatternArea(7, 9, 40, 30), 40), "");
    EXPECT_EQ(panel->PrintedWidth(), 40);
    EXPECT_EQ(panel->PrintedHeight(), 30);

    frame->SetBounds(frame->Left(), frame->Top(), 200, 100);
    frame->Close();
    EXPECT_THROW(panel->CaptureClick(), fw::Error);
    EXPECT_EQ(PixelDifferences(PixelsOf(panel->SimpleFrame1.Image.Picture()), PatternArea(7, 9, 40, 30), 40), "");
    EXPECT_EQ(panel->PrintedWidth(), 40);
    EXPECT_EQ(panel->PrintedHeight(), 30);
    EXPECT_TRUE(panel->Save.Enabled());
}

using FormsSave = FormsTest;

TEST_F(FormsSave, SaveAppendsTheChosenTypesExtensionAndWritesTheCaptureAsABitmap) {
    capture_test::TempFolder folder;
    auto pattern = PatternUnderFrame();
    panel->CaptureClick();
    const auto expected = PatternArea(0, 0, kCaptureWidth, kCaptureHeight);
    ASSERT_EQ(PixelsOf(panel->SimpleFrame1.Image.Picture()), expected);

    ScriptedSaveDialog dialog;
    dialog.answer = {folder / L"shot", 1};
    ::SendMessageW(panel->Save.Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);
    ASSERT_EQ(dialog.seen.size(), 1u);
    // The dialog as the user meets it the first time: no name, the first type, five types.
    EXPECT_EQ(dialog.seen[0].fileName, L"");
    EXPECT_EQ(dialog.seen[0].filterIndex, 1);
    const std::vector<std::wstring> filter{L"Bitmaps (*.bmp)",        L"*.bmp", L"JPEG Image File (*.jpg)",    L"*.jpg",
                                           L"Compuserve GIF (*.gif)", L"*.gif", L"Enhanced Metafiles (*.emf)", L"*.emf",
                                           L"Metafiles (*.wmf)",      L"*.wmf"};
    EXPECT_EQ(dialog.seen[0].filter, filter);
    const DWORD options = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    EXPECT_EQ(dialog.seen[0].flags & options, options);
    EXPECT_FALSE(dialog.seen[0].defaultExtension) << "the dialog itself adds no extension";

    const capture_test::BmpFile shot = ReadBmp(folder / L"shot.bmp");
    EXPECT_EQ(shot.width, kCaptureWidth);
    EXPECT_EQ(shot.height, kCaptureHeight);
    EXPECT_EQ(shot.bitsPerPixel, ::GetDeviceCaps(fw::WindowDc(nullptr).Get(), BITSPIXEL));
    EXPECT_EQ(PixelDifferences(shot.pixels, expected, kCaptureWidth), "")
        << "the file does not hold the captured pixels";

    // A name that already ends in the extension gets it once more.
    dialog.answer = {folder / L"shot.bmp", 1};
    panel->SaveClick();
    ASSERT_EQ(dialog.seen.size(), 2u);
    EXPECT_EQ(dialog.seen[1].fileName, folder / L"shot") << "the dialog opens with the name last given";
    EXPECT_TRUE(ReadBmp(folder / L"shot.bmp.bmp").pixels == expected);

    // The last type, "Metafiles (*.wmf)": the extension changes, the content stays a bitmap.
    dialog.answer = {folder / L"meta", 5};
    panel->SaveClick();
    const capture_test::BmpFile meta = ReadBmp(folder / L"meta.wmf");
    EXPECT_TRUE(meta.pixels == expected) << "a .wmf file holds the same bitmap";
    const std::vector<std::wstring> files{L"meta.wmf", L"shot.bmp", L"shot.bmp.bmp"};
    auto entries = folder.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, files);

    // The countdown page's Save opens the same dialog with the same name and type; a cancel
    // writes nothing and shows nothing.
    fw::Bitmap other;
    capture_test::FillWithPattern(other, 20, 10);
    panel->RegFrame2.Image.Picture().Assign(other);
    dialog.answer = {};
    panel->BtnSaveClick();
    ASSERT_EQ(dialog.seen.size(), 4u);
    EXPECT_EQ(dialog.seen[3].fileName, folder / L"meta");
    EXPECT_EQ(dialog.seen[3].filterIndex, 5);
    entries = folder.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, files);
    EXPECT_TRUE(shown.empty());

    // And it saves its own page's picture.
    dialog.answer = {folder / L"count", 2};
    panel->BtnSaveClick();
    const capture_test::BmpFile count = ReadBmp(folder / L"count.jpg");
    EXPECT_EQ(count.width, 20);
    EXPECT_TRUE(count.pixels == PatternArea(0, 0, 20, 10));
    // The buttons and the preview stay as they were.
    EXPECT_TRUE(panel->Save.Enabled());
    EXPECT_EQ(PixelDifferences(PixelsOf(panel->SimpleFrame1.Image.Picture()), expected, kCaptureWidth), "");
}

TEST_F(FormsSave, AFileThatCannotBeCreatedIsReportedWithItsFullName) {
    capture_test::TempFolder folder;
    fw::Bitmap picture;
    capture_test::FillWithPattern(picture, 30, 20);
    panel->SimpleFrame1.Image.Picture().Assign(picture);
    ScriptedSaveDialog dialog;
    const std::wstring missing = folder / L"no such folder" + L"\\shot";
    dialog.answer = {missing, 3};
    EXPECT_EQ(capture_test::ErrorOf([&] { panel->SaveClick(); }), L"Cannot create file " + missing + L".gif");
    EXPECT_TRUE(folder.Entries().empty());
}
