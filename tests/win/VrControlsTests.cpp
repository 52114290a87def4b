// The component base: version stamp, start-up cursor, hooks, and the off-screen image control
// with its opaque-flag dance over a background captured from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "components/VrAnimate.h"
#include "components/VrBorder.h"
#include "components/VrControls.h"
#include "components/VrGradient.h"
#include "framework/Gdi.h"
#include "framework/Application.h"
#include "support/DibCanvas.h"
#include "support/VrTestForm.h"

namespace {

// An image control that draws a 4 x 4 red square in its middle over the prepared image.
class SquareImage : public TVrGraphicImageControl {
public:
    using TVrGraphicImageControl::TVrGraphicImageControl;
    void Paint() override {
        ++paints;
        PrepareImage();
        fw::Brush red(::CreateSolidBrush(RGB(255, 0, 0)));
        RECT r{Width() / 2 - 2, Height() / 2 - 2, Width() / 2 + 2, Height() / 2 + 2};
        ::FillRect(ImageCanvas().Handle(), &r, red.Get());
        TVrGraphicImageControl::Paint();
    }
    int paints = 0;
};

// A windowless control that fills itself with a colour that the test changes.
class Backdrop : public fw::GraphicControl {
public:
    using fw::GraphicControl::GraphicControl;
    void Paint() override {
        ++paints;
        fw::Brush b(::CreateSolidBrush(color));
        RECT r{0, 0, Width(), Height()};
        ::FillRect(canvas_.Handle(), &r, b.Get());
    }
    COLORREF color = RGB(0, 0, 255);
    int paints = 0;
};

TEST(VrControls, EveryInstanceCarriesVersion370) {
    TVrTimer timer;
    TVrGradient gradient(nullptr, L"g");
    TVrBorder border(nullptr, L"b");
    TVrAnimate animate(nullptr, L"a");
    EXPECT_EQ(timer.Version(), L"3.70");
    EXPECT_EQ(gradient.Version(), L"3.70");
    EXPECT_EQ(border.Version(), L"3.70");
    EXPECT_EQ(animate.Version(), L"3.70");
}

TEST(VrControls, StartupRegistersTheHandPointAsCursor99) {
    VrControlsStartup();
    HCURSOR hand = fw::Application::Instance().CursorById(99);
    ASSERT_NE(hand, nullptr);
    EXPECT_NE(hand, ::LoadCursorW(nullptr, IDC_ARROW));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(hand, &info));  // a real cursor from the program's resources
    EXPECT_FALSE(info.fIcon);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
}

TEST(VrControls, HooksRunAfterTheFrameworksOwnHandling) {
    VrTestForm form(100, 80);
    TVrBorder border(&form, L"b");
    border.SetBounds(10, 10, 40, 30);
    form.Open();
    std::vector<std::string> calls;
    auto hook = [&](const char* name, bool expectInvalid) {
        return [&calls, &form, &border, name, expectInvalid](TVrGraphicControl& sender) {
            EXPECT_EQ(&sender, &border);
            // Font and text changes invalidate the control before the hook runs.
            RECT r{};
            if (expectInvalid) {
                EXPECT_TRUE(::GetUpdateRect(form.Handle(), &r, FALSE)) << name;
            }
            calls.push_back(name);
        };
    };
    border.SetMouseEnterHandler(hook("enter", false));
    border.SetMouseLeaveHandler(hook("leave", false));
    border.SetFontChangeHandler(hook("font", true));
    border.SetTextChangeHandler(hook("text", true));

    ::SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ::SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(25, 25));
    ::SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(70, 70));
    ::ValidateRect(form.Handle(), nullptr);
    fw::FontSpec font = border.GetFont();
    font.bold = !font.bold;
    border.SetFont(font);
    ::ValidateRect(form.Handle(), nullptr);
    border.SetText(L"x");
    EXPECT_EQ(calls, (std::vector<std::string>{"enter", "leave", "font", "text"}));
}

TEST(VrImageControl, ImageBitmapFollowsTheBounds) {
    SquareImage image(nullptr, L"i");
    EXPECT_TRUE(image.ImageBitmap().Empty());
    image.SetBounds(3, 4, 30, 20);
    EXPECT_EQ(image.ImageBitmap().Width(), 30);
    EXPECT_EQ(image.ImageBitmap().Height(), 20);
    image.SetBounds(3, 4, 45, 10);
    EXPECT_EQ(image.ImageBitmap().Width(), 45);
    EXPECT_EQ(image.ImageBitmap().Height(), 10);
}

TEST(VrImageControl, APaintWithoutADcDrawsNothing) {
    SquareImage image(nullptr, L"i");
    image.SetBounds(0, 0, 10, 10);
    EXPECT_EQ(image.Perform(WM_PAINT, 0, 0), 0);
    EXPECT_EQ(image.paints, 0);
}

TEST(VrImageControl, AnOpaqueControlPaintsOverItsColourAndRestoresTheDc) {
    SquareImage image(nullptr, L"i");
    image.SetBounds(0, 0, 12, 10);
    image.SetColor(fw::kLime);
    DibCanvas c(12, 10, RGB(1, 2, 3));
    HGDIOBJ brush0 = ::GetCurrentObject(c.Dc(), OBJ_BRUSH);
    PaintControl(image, c.Dc());
    EXPECT_EQ(image.paints, 1);
    EXPECT_EQ(c.Pixel(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.Pixel(11, 9), RGB(0, 255, 0));
    EXPECT_EQ(c.Pixel(6, 5), RGB(255, 0, 0));
    EXPECT_EQ(::GetCurrentObject(c.Dc(), OBJ_BRUSH), brush0);
    EXPECT_TRUE(image.BackgroundBitmap().Empty());  // nothing captured when not transparent
}

// The form: white, with a backdrop control and a transparent square image over it.
struct TransparentScene {
    TransparentScene() : form(100, 80, fw::kWhite), backdrop(&form, L"Backdrop"), image(&form, L"Image") {
        backdrop.SetBounds(0, 0, 100, 80);
        image.SetBounds(30, 20, 20, 16);
        image.SetTransparent(true);
        form.Open();
    }
    // What the screen shows at a corner and the middle of the image.
    COLORREF Corner() {
        DibCanvas c(100, 80);
        form.Grab(c);
        EXPECT_EQ(c.Pixel(40, 28), RGB(255, 0, 0));  // the square
        return c.Pixel(30, 20);
    }
    VrTestForm form;
    Backdrop backdrop;
    SquareImage image;
};

TEST(VrImageControl, ATransparentControlCapturesItsBackgroundAfreshAfterEveryPaint) {
    TransparentScene s;
    EXPECT_EQ(s.Corner(), RGB(0, 0, 255));
    EXPECT_FALSE(s.image.Opaque());
    EXPECT_TRUE(s.image.BackgroundStale());

    // The parent repaints with a new backdrop: captured again.
    s.backdrop.color = RGB(0, 255, 0);
    s.backdrop.Invalidate();
    ::UpdateWindow(s.form.Handle());
    EXPECT_EQ(s.Corner(), RGB(0, 255, 0));
    EXPECT_FALSE(s.image.Opaque());

    // A redraw the control starts itself goes straight over the cached background: the parent
    // paints nothing beneath it (the changed backdrop does not show). The paint leaves the
    // control non-opaque and stale again.
    s.backdrop.color = RGB(255, 255, 0);
    const int paints = s.image.paints, backdropPaints = s.backdrop.paints;
    s.image.RedrawControl();
    EXPECT_EQ(s.image.paints, paints + 1);
    EXPECT_EQ(s.backdrop.paints, backdropPaints);
    EXPECT_EQ(s.Corner(), RGB(0, 255, 0));
    EXPECT_FALSE(s.image.Opaque());
    EXPECT_TRUE(s.image.BackgroundStale());

    // Moving the control makes the parent repaint beneath it: the new backdrop shows.
    s.image.SetBounds(32, 20, 20, 16);
    ::UpdateWindow(s.form.Handle());
    DibCanvas c(100, 80);
    s.form.Grab(c);
    EXPECT_EQ(c.Pixel(32, 20), RGB(255, 255, 0));
    EXPECT_EQ(c.Pixel(42, 28), RGB(255, 0, 0));
}

TEST(VrImageControl, ATransparentControlWithoutBackgroundRedrawsThroughItsParent) {
    VrTestForm form(100, 80, fw::kWhite);
    Backdrop backdrop(&form, L"Backdrop");
    backdrop.SetBounds(0, 0, 100, 80);
    form.Open();
    SquareImage image(&form, L"Image");
    image.SetBounds(30, 20, 20, 16);
    image.SetTransparent(true);  // redraws at once: the parent paints first
    EXPECT_FALSE(image.Opaque());
    EXPECT_FALSE(image.BackgroundBitmap().Empty());
    DibCanvas c(100, 80);
    form.Grab(c);
    EXPECT_EQ(c.Pixel(30, 20), RGB(0, 0, 255));
    EXPECT_EQ(c.Pixel(40, 28), RGB(255, 0, 0));

    image.SetTransparent(false);  // opaque again: its colour instead of the backdrop
    EXPECT_TRUE(image.Opaque());
    form.Grab(c);
    EXPECT_EQ(c.Pixel(30, 20), ::GetSysColor(COLOR_BTNFACE));
}

TEST(VrImageControl, BitmapsAndDcAreFreedWithTheControl) {
    HGDIOBJ image = nullptr, background = nullptr;
    HDC imageDc = nullptr;
    {
        TransparentScene s;
        image = s.image.ImageBitmap().Handle();
        background = s.image.BackgroundBitmap().Handle();
        imageDc = s.image.ImageCanvas().Handle();
        EXPECT_EQ(::GetObjectType(image), DWORD(OBJ_BITMAP));
        EXPECT_EQ(::GetObjectType(background), DWORD(OBJ_BITMAP));
        EXPECT_EQ(::GetObjectType(imageDc), DWORD(OBJ_MEMDC));
    }
    EXPECT_EQ(::GetObjectType(image), 0u);
    EXPECT_EQ(::GetObjectType(background), 0u);
    EXPECT_EQ(::GetObjectType(imageDc), 0u);
}

}  // namespace
