// The capture frame as a real window: its creation parameters, colour key and painting.
#include <gtest/gtest.h>

#include "forms/CopyMaU.h"
#include "framework/Application.h"
#include "support/DibCanvas.h"
#include "support/FramePicture.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kKey = RGB(0, 128, 0);

// Paints the frame through WM_PRINTCLIENT, the same routine as WM_PAINT, into a DIB.
void PaintFrame(TMainForm& frame, DibCanvas& canvas) {
    ::SendMessageW(frame.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
}

// Expected colour of one frame pixel: the frame's picture (support/FramePicture.h), the key
// colour on its inside, which the paint leaves to the colour key.
COLORREF Expected(int x, int y, int w, int h) {
    const frame_picture::PartLook& look = frame_picture::LookOf(frame_picture::PartAt(x, y, w, h));
    return RGB(look.red, look.green, look.blue);
}

void ExpectFramePixels(TMainForm& frame, int w, int h) {
    DibCanvas canvas(w, h);
    HGDIOBJ pen0 = ::GetCurrentObject(canvas.Dc(), OBJ_PEN);
    HGDIOBJ brush0 = ::GetCurrentObject(canvas.Dc(), OBJ_BRUSH);
    PaintFrame(frame, canvas);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (canvas.Pixel(x, y) != Expected(x, y, w, h) && ++wrong <= 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << canvas.Pixel(x, y) << " not "
                              << Expected(x, y, w, h);
    EXPECT_EQ(wrong, 0) << "pixels differing from the frame's picture at " << w << " x " << h;
    // The paint leaves the DC's own pen and brush selected again.
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_PEN), pen0);
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush0);
}

}  // namespace

TEST(Frame, PaintsBandGripAndLinesAtDefaultSize) {
    TMainForm frame;
    ASSERT_EQ(frame.Width(), 336);
    ASSERT_EQ(frame.Height(), 192);
    ExpectFramePixels(frame, 336, 192);
    EXPECT_EQ(frame.LastWidth(), 336);  // the paint stores the last frame size
    EXPECT_EQ(frame.LastHeight(), 192);
}

TEST(Frame, MinimumSizeGripCoversTheCornerAndTrackingStopsThere) {
    TMainForm frame;
    frame.SetBounds(50, 50, 15, 15);
    ExpectFramePixels(frame, 15, 15);
    MINMAXINFO mmi{};
    ::SendMessageW(frame.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 15);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 15);
}

TEST(Frame, PaintsAgainAtEveryNewSize) {
    TMainForm frame;
    frame.SetBounds(10, 10, 101, 57);
    ExpectFramePixels(frame, 101, 57);
    frame.SetBounds(10, 10, 400, 300);
    ExpectFramePixels(frame, 400, 300);
    EXPECT_TRUE(::GetClassLongW(frame.Handle(), GCL_STYLE) & CS_HREDRAW);
    EXPECT_TRUE(::GetClassLongW(frame.Handle(), GCL_STYLE) & CS_VREDRAW);
}

TEST(Frame, IsATopLevelPopupWithItsOwnTaskbarButtonAndColourKey) {
    TMainForm frame;
    HWND h = frame.Handle();
    wchar_t caption[64];
    ::GetWindowTextW(h, caption, 64);
    EXPECT_STREQ(caption, L"SV - Border");
    LONG style = ::GetWindowLongW(h, GWL_STYLE), ex = ::GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(ex & WS_EX_APPWINDOW);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    // Not owned by the application window: it is not hidden or minimized with it.
    EXPECT_NE(::GetWindow(h, GW_OWNER), fw::Application::Instance().Handle());
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(0, 128, 0));
    EXPECT_EQ(flags, DWORD(LWA_COLORKEY));
    EXPECT_FALSE(::IsWindowVisible(h));  // built hidden
}

TEST(Frame, ChangeOfFormStyleKeepsTheKeyAndPlaceAndRunsTheShowHandlerAgain) {
    TMainForm frame;
    frame.SetBounds(120, 130, 200, 100);
    frame.ShowForm();
    frame.SetFormStyle(fw::FormStyle::StayOnTop);
    EXPECT_TRUE(::GetWindowLongW(frame.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    frame.SetFormStyle(fw::FormStyle::Normal);
    HWND h = frame.Handle();
    EXPECT_FALSE(::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(h, &key, nullptr, &flags));
    EXPECT_EQ(key, RGB(0, 128, 0));
    RECT r;
    ::GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 130);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_TRUE(::IsWindowVisible(h));
}

TEST(Frame, CountdownDigitsSitInsideTheBandOnTheKeyColour) {
    TMainForm frame;
    frame.NumInterval.SetText(L"10");
    EXPECT_EQ(frame.NumInterval.Left(), 14);
    EXPECT_EQ(frame.NumInterval.Top(), 8);
    EXPECT_GT(frame.NumInterval.Width(), 0);
    DibCanvas canvas(frame.Width(), frame.Height());
    PaintFrame(frame, canvas);
    // Some red digit pixels inside the label, and the rest of it see-through.
    int red = 0, key = 0;
    for (int y = frame.NumInterval.Top(); y < frame.NumInterval.Top() + frame.NumInterval.Height(); ++y)
        for (int x = frame.NumInterval.Left(); x < frame.NumInterval.Left() + frame.NumInterval.Width(); ++x) {
            COLORREF p = canvas.Pixel(x, y);
            red += p == kRed;
            key += p == kKey;
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(key, red);
}

TEST(Frame, AnOwnedFormBackToNormalStyleIsNoLongerTopmost) {
    // The control panel is owned by the application window; after a countdown it must not stay
    // above other programs' windows.
    fw::Form owned(L"Owned");
    owned.SetBounds(30, 30, 200, 120);
    owned.CreateForm();
    owned.ShowForm();
    owned.SetFormStyle(fw::FormStyle::StayOnTop);
    ASSERT_TRUE(::GetWindowLongW(owned.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    owned.SetFormStyle(fw::FormStyle::Normal);
    EXPECT_FALSE(::GetWindowLongW(owned.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::GetWindowLongW(fw::Application::Instance().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Still owned by the application window: it goes with its taskbar button.
    EXPECT_EQ(::GetWindow(owned.Handle(), GW_OWNER), fw::Application::Instance().Handle());
}
