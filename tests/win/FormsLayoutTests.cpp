// The control panel as it stands at start: every named control with its place, texts and
// states, the lists, the pages, the status bar, the previews, and the "show border" links.
#include "framework/Hints.h"
#include "support/FormsFixture.h"

#include <commctrl.h>

#include <cstdlib>

using namespace forms_test;

namespace {

constexpr int kAny = -1;  // a size the layout leaves to the control (labels, list heights)

struct Expected {
    const wchar_t* name;
    const wchar_t* parent;
    int left, top, width, height;
    const wchar_t* text;  // nullptr: not checked (multi-line texts are checked apart)
    const wchar_t* hint;  // nullptr: none given
    bool enabled;
    bool visible;
};

// Places are client pixels of the parent at 96 dots per inch.
const Expected kLayout[] = {
    {L"TopPanel", L"CopyForm", 0, 0, kAny, 57, nullptr, nullptr, true, true},
    {L"Minimize", L"CopyForm", 478, 59, 87, 17, L"Minimize this",
     L"Minimize this window|Minimize only this window, not red border", true, true},
    // "Simple capturing"
    {L"Label2", L"Simple", 8, 8, kAny, kAny, L"Select area within the red border.", nullptr, true, true},
    {L"Label3", L"Simple", 16, 24, kAny, kAny, L"show border", L"Show border|Show the red border", true, true},
    {L"Label4", L"Simple", 8, 40, 195, 56, nullptr, nullptr, true, true},
    {L"Capture", L"Simple", 16, 104, 185, 30, L"&Capture bitmap",
     L"Capture selected area|Capture selection for further copying/saving", true, true},
    {L"Copy", L"Simple", 16, 144, 49, 49, L"C&opy", L"Copy bitmap to clipboard|Copy captured bitmap into clipboard",
     false, true},
    {L"Save", L"Simple", 86, 144, 49, 49, L"&Save", L"Save bitmap to file|Save captured bitmap to imagefile", false,
     true},
    {L"Print", L"Simple", 152, 144, 49, 49, L"&Print", L"Print bitmap|Print captured bitmap", false, true},
    {L"SimplePanel", L"Simple", 213, 9, 337, 185, nullptr, nullptr, true, true},
    {L"SimpleFrame1", L"SimplePanel", 3, 3, 326, 173, nullptr, nullptr, true, true},
    // "Advanced capturing"
    {L"Panel2", L"CaptureLoop", 480, 8, 73, 17, L"show border", L"Show border|Show the red border", true, true},
    {L"PageControl1", L"CaptureLoop", 5, 5, 549, 196, nullptr, nullptr, true, true},
    // "Countdown"
    {L"Label11", L"CountDown", 8, 0, kAny, kAny, nullptr, nullptr, true, true},
    {L"StartButton", L"CountDown", 8, 64, 137, 33, L"Start countdown", L"Start countdown|Start countdown in red border",
     true, true},
    {L"Label9", L"CountDown", 160, 59, kAny, kAny, L"Interval:", nullptr, true, true},
    {L"CountInterval", L"CountDown", 160, 75, 73, kAny, nullptr, L"Interval|Seconds before capturing", true, true},
    {L"CheckMinimize", L"CountDown", 8, 104, 233, 17, L"Minimize this form when capturing", nullptr, true, true},
    {L"BtnCopy", L"CountDown", 8, 136, 65, 25, L"Copy", L"Copy to clipboard|Copy captured bitmap to clipboard", false,
     true},
    {L"BtnSave", L"CountDown", 80, 136, 73, 25, L"Save", L"Save to file|Save captured bitmap to file", false, true},
    {L"BtnPrint", L"CountDown", 160, 136, 73, 25, L"&Print", L"Print bitmap|Print captured bitmap", false, true},
    {L"CountPanel", L"CountDown", 259, 1, 281, 161, nullptr, nullptr, true, true},
    {L"RegFrame2", L"CountPanel", 3, 3, 270, 151, nullptr, nullptr, true, true},
    // "Capture regularily"
    {L"Label10", L"CaptureRegularily", 24, 8, 81, 14, L"Recording...", nullptr, true, false},
    {L"Play", L"CaptureRegularily", 24, 24, 41, 41, nullptr, L"Start capturing|Start the capturing of selected area",
     true, true},
    {L"Stop", L"CaptureRegularily", 80, 24, 41, 41, nullptr, L"Stop capturing", false, true},
    {L"Label7", L"CaptureRegularily", 152, 24, kAny, kAny, L"Capture every:", nullptr, true, true},
    {L"Intervall", L"CaptureRegularily", 152, 40, 89, kAny, nullptr,
     L"Interval|Choose how often capturing will take place", true, true},
    {L"Filename", L"CaptureRegularily", 8, 94, 161, kAny, L"", L"Filename|Filename for the saved files", true, true},
    {L"Label6", L"CaptureRegularily", 168, 78, kAny, kAny, L"Filetype:", nullptr, true, true},
    {L"Filetype", L"CaptureRegularily", 168, 94, 73, kAny, nullptr, L"Filetype|Choose filetype to save to", true, true},
    {L"Path", L"CaptureRegularily", 8, 142, 169, kAny, L"", L"Path|Path to where to save the bitmaps", true, true},
    {L"Browse", L"CaptureRegularily", 178, 142, 64, 21, L"Browse...",
     L"Browse|Select path to where to save the bitmaps", true, true},
    {L"RegPanel", L"CaptureRegularily", 259, 1, 281, 163, nullptr, nullptr, true, true},
    {L"RegFrame1", L"RegPanel", 3, 3, 270, 151, nullptr, nullptr, true, true},
};

// The window of a windowed control where its parent's client area has it.
RECT ChildRect(HWND child) {
    RECT r = ScreenRect(child);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring TabText(HWND tabs, int index, int* image) {
    wchar_t text[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(tabs, index, &item);
    *image = item.iImage;
    return text;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const int n = int(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[64] = L"";
        ::SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

}  // namespace

using FormsLayout = FormsTest;

TEST_F(FormsLayout, EveryControlHasItsPlaceTextsAndStateAtStart) {
    // What a control's window shows agrees with the control's state.
    auto checkWindow = [&](const Expected& e, fw::WinControl& w) {
        ASSERT_NE(w.Handle(), nullptr);
        const RECT r = ChildRect(w.Handle());
        EXPECT_EQ(r.left, w.Left());
        EXPECT_EQ(r.top, w.Top());
        EXPECT_EQ(r.right - r.left, w.Width());
        if (e.height != kAny) {
            EXPECT_EQ(r.bottom - r.top, w.Height());
        }
        EXPECT_EQ(::IsWindowEnabled(w.Handle()) != FALSE, e.enabled);
    };
    // The places of the table are this run's: the screen is at 96 dpi.
    ASSERT_EQ(panel->Dpi(), 96);
    std::vector<std::pair<const Expected*, fw::WinControl*>> unopened;
    for (const Expected& e : kLayout) {
        SCOPED_TRACE(fw::Utf8(e.name));
        fw::Control* c = panel->FindControl(e.name);
        ASSERT_NE(c, nullptr);
        ASSERT_NE(c->Parent(), nullptr);
        EXPECT_EQ(c->Parent()->Name(), e.parent);
        EXPECT_EQ(c->Left(), e.left);
        EXPECT_EQ(c->Top(), e.top);
        if (e.width != kAny) {
            EXPECT_EQ(c->Width(), e.width);
        }
        if (e.height != kAny) {
            EXPECT_EQ(c->Height(), e.height);
        }
        if (e.text) {
            EXPECT_EQ(c->Text(), e.text);
        }
        EXPECT_EQ(c->Hint(), e.hint ? e.hint : L"");
        EXPECT_EQ(c->Enabled(), e.enabled);
        EXPECT_EQ(c->Visible(), e.visible);
        if (auto* w = dynamic_cast<fw::WinControl*>(c)) {
            if (w->Handle()) {
                checkWindow(e, *w);
            } else {
                // Only a control on a page that has not been shown yet has no window.
                EXPECT_FALSE(w->Showing());
                unopened.push_back({&e, w});
            }
        }
    }
    EXPECT_TRUE(::IsWindowVisible(panel->Capture.Handle()));
    EXPECT_EQ(panel->StartButton.Handle(), nullptr) << "the advanced page made its windows before it was shown";
    EXPECT_EQ(panel->Memo1.Handle(), nullptr) << "the about page made its windows before it was shown";
    EXPECT_GE(unopened.size(), 10u);
    // Each page, once opened, shows its windows as the controls describe them.
    for (const auto& [e, w] : unopened) {
        SCOPED_TRACE(fw::Utf8(e->name));
        OpenPageOf(*w);
        checkWindow(*e, *w);
        EXPECT_TRUE(::IsWindowVisible(w->Handle()) != FALSE || !w->Visible());
    }

    // Label4's four lines, "&&" standing for one ampersand.
    for (const wchar_t* line : {L"Use the right side, the bottom or ", L"bottomleft corner to resize border.",
                                L"Push && hold CTRL and drag on the", L"red border to move the frame."})
        EXPECT_NE(panel->Label4.Text().find(line), std::wstring::npos) << fw::Utf8(line);
    EXPECT_NE(panel->Label11.Text().find(L"will be seen within the red border."), std::wstring::npos);
    EXPECT_EQ(panel->Filename.EditLabel().Text(), L"Filename:");
    EXPECT_EQ(panel->Path.EditLabel().Text(), L"Path to where to save the bitmaps:");

    // The "show border" links: red, bold, underlined, 9 px, with the hand cursor.
    for (fw::Control* link : {static_cast<fw::Control*>(&panel->Label3), static_cast<fw::Control*>(&panel->Panel2)}) {
        EXPECT_EQ(link->GetFont().color, fw::kRed);
        EXPECT_TRUE(link->GetFont().bold);
        EXPECT_TRUE(link->GetFont().underline);
        EXPECT_EQ(link->GetFont().height, 9);
        EXPECT_NE(link->Cursor(), nullptr);
    }
    EXPECT_EQ(panel->GetFont().name, L"Georgia");
    EXPECT_EQ(panel->GetFont().height, 11);

    // The pointer over a control shows the long part of its hint in panel 0 of the status bar.
    fw::Hints::Instance().MouseMove(&panel->Capture);
    EXPECT_EQ(panel->StatusBar.PanelText(0), L"Capture selection for further copying/saving");
    fw::Hints::Instance().MouseMove(&panel->Stop);  // a hint without "|" serves as both parts
    EXPECT_EQ(panel->StatusBar.PanelText(0), L"Stop capturing");
    fw::Hints::Instance().MouseMove(&panel->Label2);
    EXPECT_EQ(panel->StatusBar.PanelText(0), L"");
}

TEST_F(FormsLayout, PagesListsCheckBoxTimersAndPreviewsAtStart) {
    // Pages: "Simple capturing" and "Countdown" showing.
    EXPECT_EQ(panel->PageControl.ActivePage(), &panel->Simple);
    EXPECT_EQ(panel->PageControl1.ActivePage(), &panel->CountDown);
    EXPECT_TRUE(::IsWindowVisible(panel->Simple.Handle()));
    EXPECT_FALSE(::IsWindowVisible(panel->CaptureLoop.Handle()));
    EXPECT_FALSE(::IsWindowVisible(panel->About.Handle()));
    HWND tabs = panel->PageControl.Handle();
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), 3);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
    int image = -1;
    EXPECT_EQ(TabText(tabs, 0, &image), L"Simple capturing");
    EXPECT_EQ(image, 0);
    EXPECT_EQ(TabText(tabs, 1, &image), L"Advanced capturing");
    EXPECT_EQ(image, 1);
    EXPECT_EQ(TabText(tabs, 2, &image), L"About");
    EXPECT_EQ(image, 2);
    OpenPageOf(panel->Play);
    OpenPageOf(panel->StartButton);  // back to the first sub-page, which stays chosen
    HWND subTabs = panel->PageControl1.Handle();
    ASSERT_EQ(TabCtrl_GetItemCount(subTabs), 2);
    EXPECT_EQ(TabCtrl_GetCurSel(subTabs), 0);
    EXPECT_EQ(TabText(subTabs, 0, &image), L"Countdown");
    EXPECT_EQ(image, 3);
    EXPECT_EQ(TabText(subTabs, 1, &image), L"Capture regularily");
    EXPECT_EQ(image, 4);

    // The lists, item 0 chosen, as the list windows hold them.
    const std::vector<std::wstring> counts{L"3 sec", L"5 sec", L"10 sec", L"20 sec", L"30 sec", L"60 sec"};
    const std::vector<std::wstring> intervals{L"1 sec", L"2 sec", L"3 sec", L"5 sec",  L"10 sec", L"25 sec", L"1 min",
                                              L"2 min", L"3 min", L"5 min", L"10 min", L"30 min", L"1 hour"};
    const std::vector<std::wstring> types{L".bmp", L".jpg", L".gif", L".emf", L".wmf"};
    struct List {
        fw::ComboBox& combo;
        const std::vector<std::wstring>& items;
    };
    for (const List& l :
         {List{panel->CountInterval, counts}, List{panel->Intervall, intervals}, List{panel->Filetype, types}}) {
        SCOPED_TRACE(fw::Utf8(l.combo.Name()));
        EXPECT_EQ(ComboItems(l.combo.Handle()), l.items);
        EXPECT_EQ(::SendMessageW(l.combo.Handle(), CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(l.combo.ItemIndex(), 0);
        EXPECT_EQ(l.combo.SelectedText(), l.items[0]);
        EXPECT_EQ(::GetWindowLongW(l.combo.Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "a list without typing";
    }

    EXPECT_TRUE(panel->CheckMinimize.Checked());
    EXPECT_EQ(::SendMessageW(panel->CheckMinimize.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(panel->Filename.Handle(), EM_GETLIMITTEXT, 0, 0), 60);

    EXPECT_FALSE(panel->Timer.Enabled());
    EXPECT_FALSE(panel->CountTimer.Enabled());
    EXPECT_EQ(panel->CountTimer.Interval(), 1000u);

    for (fw::Image* preview : {&panel->SimpleFrame1.Image, &panel->RegFrame1.Image, &panel->RegFrame2.Image})
        EXPECT_TRUE(preview->Picture().Empty());
    EXPECT_FALSE(panel->SimpleFrame1.HorzScrollVisible());
    EXPECT_FALSE(panel->SimpleFrame1.VertScrollVisible());
    EXPECT_EQ(panel->SimpleFrame1.Image.Hint(), L"Captured picture|Captured picture from selected area");
    EXPECT_EQ(panel->RegFrame1.Image.Hint(), L"Captured bitmap|Captured bitmap saved to file");
    EXPECT_EQ(panel->RegFrame2.Image.Hint(), L"Captured bitmap|Captured bitmap saved to file");
    EXPECT_EQ(panel->PrintedWidth(), 0);
    EXPECT_EQ(panel->PrintedHeight(), 0);
    EXPECT_EQ(panel->SeriesCounter(), 0);
    EXPECT_EQ(panel->Play.Tag(), 0);
    EXPECT_FALSE(panel->Play.Down());
    EXPECT_EQ(frame->NumInterval.Text(), L"");
}

TEST_F(FormsLayout, StatusBarHasTheHintPanelAndTheReadoutPanelAtTheBottom) {
    HWND bar = panel->StatusBar.Handle();
    ASSERT_NE(bar, nullptr);
    int edges[4] = {};
    ASSERT_EQ(::SendMessageW(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    ASSERT_EQ(panel->Dpi(), 96);
    EXPECT_EQ(edges[0], 290);
    EXPECT_TRUE(edges[1] == -1 || edges[1] >= 340) << edges[1];
    EXPECT_FALSE(::GetWindowLongW(bar, GWL_STYLE) & SBARS_SIZEGRIP);

    RECT client;
    ::GetClientRect(panel->Handle(), &client);
    const RECT r = ChildRect(bar);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(r.bottom - r.top, 19);
    EXPECT_EQ(r.right - r.left, client.right);

    // Panel 1 holds the frame readout, as the window shows it.
    wchar_t text[128] = L"";
    ::SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"x: 704, y: 100  |  width: 324, height: 180");
}

TEST_F(FormsLayout, ShowBorderLinksRaiseTheFrameAboveACoveringWindow) {
    for (int link = 0; link < 2; ++link) {
        SCOPED_TRACE(link == 0 ? "Label3 on the simple page" : "Panel2 on the advanced page");
        // An ordinary window of another kind laid over the frame.
        HWND cover = ::CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, 650, 80, 450, 260, nullptr,
                                       nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(cover, nullptr);
        ::SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PumpFor(20);
        ASSERT_TRUE(Above(cover, frame->Handle()));

        if (link == 0) {
            // A click of the mouse on the windowless label, as the page's window receives it.
            HWND page = panel->Simple.Handle();
            const LPARAM at = MAKELPARAM(panel->Label3.Left() + 3, panel->Label3.Top() + 3);
            ::SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::SendMessageW(page, WM_LBUTTONUP, 0, at);
        } else {
            panel->PageControl.SetActivePage(&panel->CaptureLoop);
            // The link lies over the sub-pages' tab row: the window at its place is the link.
            POINT middle{panel->Panel2.Left() + panel->Panel2.Width() / 2, panel->Panel2.Top() + 8};
            ::ClientToScreen(panel->CaptureLoop.Handle(), &middle);
            EXPECT_EQ(::WindowFromPoint(middle), panel->Panel2.Handle());
            const LPARAM at = MAKELPARAM(5, 5);
            ::SendMessageW(panel->Panel2.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::SendMessageW(panel->Panel2.Handle(), WM_LBUTTONUP, 0, at);
        }
        PumpFor(20);
        EXPECT_TRUE(Above(frame->Handle(), cover)) << "the frame is not above the covering window";
        EXPECT_FALSE(Topmost(frame->Handle())) << "raised, not made stay-on-top";
        ::DestroyWindow(cover);
    }
}

TEST_F(FormsLayout, APreviewScrollsWhenItsPictureIsLargerThanItShows) {
    struct Preview {
        fw::ScrollBox& frame;
        fw::Image& image;
    };
    for (const Preview& p :
         {Preview{panel->SimpleFrame1, panel->SimpleFrame1.Image}, Preview{panel->RegFrame1, panel->RegFrame1.Image},
          Preview{panel->RegFrame2, panel->RegFrame2.Image}}) {
        SCOPED_TRACE(fw::Utf8(p.frame.Name()));
        OpenPageOf(p.frame);
        // The preview shows a pattern of that size; whether the frame scrolls either way.
        auto show = [&](int width, int height, bool horizontal, bool vertical) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
            fw::Bitmap picture;
            capture_test::FillWithPattern(picture, width, height);
            p.image.Picture().Assign(picture);
            PumpFor(10);
            EXPECT_EQ(p.image.Width(), width) << "the picture control takes the picture's size";
            EXPECT_EQ(p.image.Height(), height);
            EXPECT_EQ(p.frame.HorzScrollVisible(), horizontal);
            EXPECT_EQ(p.frame.VertScrollVisible(), vertical);
        };
        show(100, 50, false, false);
        EXPECT_EQ(p.image.Left(), 0);
        EXPECT_EQ(p.image.Top(), 0);
        show(600, 80, true, false);
        show(700, 500, true, true);
    }
}

TEST_F(FormsLayout, APageFirstShownLaterShowsWhatWasSetWhileItHadNoWindows) {
    ASSERT_EQ(panel->Filename.Handle(), nullptr);
    panel->Filename.SetText(L"shot");
    panel->Intervall.SetItemIndex(6);
    panel->Browse.SetEnabled(false);
    panel->CheckMinimize.SetChecked(false);

    OpenPageOf(panel->Filename);
    wchar_t text[64] = L"";
    ::GetWindowTextW(panel->Filename.Handle(), text, 64);
    EXPECT_STREQ(text, L"shot");
    EXPECT_EQ(::SendMessageW(panel->Filename.Handle(), EM_GETLIMITTEXT, 0, 0), 60);
    EXPECT_EQ(::SendMessageW(panel->Intervall.Handle(), CB_GETCURSEL, 0, 0), 6);
    EXPECT_EQ(panel->Intervall.SelectedText(), L"1 min");
    EXPECT_FALSE(::IsWindowEnabled(panel->Browse.Handle()));
    EXPECT_TRUE(::IsWindowVisible(panel->Filename.Handle()));
    EXPECT_EQ(panel->Memo1.Handle(), nullptr) << "only the pages shown make their windows";

    OpenPageOf(panel->CheckMinimize);
    EXPECT_EQ(::SendMessageW(panel->CheckMinimize.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(::IsWindowVisible(panel->Filename.Handle()));
    // Shown again, a page keeps the windows it made and what the user did in them.
    ::SendMessageW(panel->CheckMinimize.Handle(), BM_SETCHECK, BST_CHECKED, 0);
    OpenPageOf(panel->Filename);
    OpenPageOf(panel->CheckMinimize);
    EXPECT_TRUE(panel->CheckMinimize.Checked());
}

// Moved to a monitor of another scale, the control panel lays itself out again for the new
// dpi, in the rectangle the system suggests (Windows sends WM_DPICHANGED; Wine 8 does not, so
// the test sends it as Windows does), and back again without drift; the frame stays as it is,
// in physical pixels.
TEST_F(FormsLayout, AChangeOfScaleLaysThePanelOutAgainAndTheFrameStaysInPixels) {
    ASSERT_EQ(panel->Dpi(), 96) << "the test starts at 96 dpi";
    // Every page opened once, so that every control has its window.
    panel->PageControl.SetActivePage(&panel->About);
    panel->PageControl.SetActivePage(&panel->CaptureLoop);
    panel->PageControl1.SetActivePage(&panel->CaptureRegularily);
    panel->PageControl1.SetActivePage(&panel->CountDown);
    panel->PageControl.SetActivePage(&panel->Simple);
    const RECT frameBefore = ScreenRect(frame->Handle());
    const int labelWidth96 = panel->Label2.Width();
    HFONT font96 = reinterpret_cast<HFONT>(::SendMessageW(panel->Capture.Handle(), WM_GETFONT, 0, 0));
    LOGFONTW lf96{};
    ::GetObjectW(font96, sizeof lf96, &lf96);

    auto changeTo = [&](int dpi, RECT suggested) {
        ::SendMessageW(panel->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ::SendMessageW(frame->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        PumpFor(30);
    };
    auto checkLayout = [&](int dpi) {
        auto at = [dpi](int v) { return ::MulDiv(v, dpi, 96); };
        for (const Expected& e : kLayout) {
            SCOPED_TRACE(fw::Utf8(e.name) + " at " + std::to_string(dpi) + " dpi");
            fw::Control* c = panel->FindControl(e.name);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->Left(), at(e.left));
            EXPECT_EQ(c->Top(), at(e.top));
            if (e.width != kAny) {
                EXPECT_EQ(c->Left() + c->Width(), at(e.left + e.width));
            }
            if (e.height != kAny) {
                EXPECT_EQ(c->Top() + c->Height(), at(e.top + e.height));
            }
            if (auto* w = dynamic_cast<fw::WinControl*>(c); w && w->Handle()) {
                const RECT r = ChildRect(w->Handle());
                EXPECT_EQ(r.left, w->Left());
                EXPECT_EQ(r.right - r.left, w->Width());
            }
        }
        // The captions of the labelled edits stay right above their edits, 3 px apart.
        for (fw::LabeledEdit* e : {&panel->Filename, &panel->Path}) {
            SCOPED_TRACE(fw::Utf8(e->Name()) + " caption at " + std::to_string(dpi) + " dpi");
            const fw::Label& caption = e->EditLabel();
            EXPECT_EQ(caption.Left(), e->Left());
            EXPECT_EQ(caption.Top() + caption.Height() + 3, e->Top());
        }
    };

    // Asked first, before WM_DPICHANGED: the panel's one size at the new scale, the frame's
    // size as it is.
    SIZE scaled{574, 346};
    EXPECT_TRUE(
        ::SendMessageW(panel->Handle(), 0x02E4 /* WM_GETDPISCALEDSIZE */, 144, reinterpret_cast<LPARAM>(&scaled)));
    EXPECT_EQ(scaled.cx, 861);
    EXPECT_EQ(scaled.cy, 519);
    SIZE frameScaled{336, 192};
    ::SendMessageW(frame->Handle(), 0x02E4, 144, reinterpret_cast<LPARAM>(&frameScaled));
    EXPECT_EQ(frameScaled.cx, frameBefore.right - frameBefore.left);
    EXPECT_EQ(frameScaled.cy, frameBefore.bottom - frameBefore.top);

    const RECT big{200, 150, 200 + 861, 150 + 519};
    changeTo(144, big);
    EXPECT_EQ(panel->Dpi(), 144);
    const RECT r = ScreenRect(panel->Handle());
    EXPECT_TRUE(::EqualRect(&r, &big)) << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
    checkLayout(144);
    // Fonts and what is measured with them follow.
    HFONT font144 = reinterpret_cast<HFONT>(::SendMessageW(panel->Capture.Handle(), WM_GETFONT, 0, 0));
    LOGFONTW lf144{};
    ::GetObjectW(font144, sizeof lf144, &lf144);
    EXPECT_EQ(std::abs(lf144.lfHeight), ::MulDiv(std::abs(lf96.lfHeight), 144, 96));
    EXPECT_GT(panel->Label2.Width(), labelWidth96 * 13 / 10);
    int edges[2] = {};
    ::SendMessageW(panel->StatusBar.Handle(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 435);
    // The panel still cannot be resized: its one size is the new scale's.
    MINMAXINFO mmi{};
    ::SendMessageW(panel->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 861);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 519);
    // The frame keeps its band the 6-pixel inset of the capture: it does not scale.
    const RECT frameAfter = ScreenRect(frame->Handle());
    EXPECT_TRUE(::EqualRect(&frameAfter, &frameBefore));

    changeTo(96, RECT{100, 100, 100 + 574, 100 + 346});
    checkLayout(96);
    EXPECT_EQ(panel->Label2.Width(), labelWidth96);
    ::SendMessageW(panel->StatusBar.Handle(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 290);

    // Started on a monitor of 144 dpi while the screen's (the system's) dpi is 96: no
    // WM_DPICHANGED comes, and the panel is laid out for its window's dpi from the start.
    const auto systemWindowDpi = fw::Form::windowDpi;
    fw::Form::windowDpi = [](HWND) { return 144; };
    NewPair();
    fw::Form::windowDpi = systemWindowDpi;
    EXPECT_EQ(panel->Dpi(), 144);
    const RECT started = ScreenRect(panel->Handle());
    EXPECT_EQ(started.left, 100);
    EXPECT_EQ(started.top, 100);
    EXPECT_EQ(started.right - started.left, 861);
    EXPECT_EQ(started.bottom - started.top, 519);
    panel->PageControl.SetActivePage(&panel->About);
    panel->PageControl.SetActivePage(&panel->CaptureLoop);
    panel->PageControl1.SetActivePage(&panel->CaptureRegularily);
    checkLayout(144);
    const RECT frameStarted = ScreenRect(frame->Handle());
    EXPECT_EQ(frameStarted.right - frameStarted.left, 336) << "the frame keeps physical pixels";
}
