// The control panel's pictures as the screen shows them, each drawn for the scale of the
// panel's dpi: the button glyphs, the tab icons, the logo, the animation's frames, the
// caption's and the taskbar's icons and the hand cursor; the pictures of every scale in the
// program's resources; and the same checks run at 120, 144 and 192 dpi, each in a process of
// its own (Wine reads the screen's dpi when a process starts).
#include "framework/Hints.h"
#include "support/FormsFixture.h"

#include <commctrl.h>

#include <functional>
#include <set>

#include "base/PictureScale.h"
#include "components/VrControls.h"
#include "support/DibCanvas.h"

using namespace forms_test;

namespace {

// The sizes of the pictures at the scale of a dpi, as the pictures are drawn: the faces of
// the 16- and the 24-pixel glyphs (the tab icons are 16), the logo, the animation's frames and
// its 65-unit control, the small and the large icon (the system's metrics).
struct ScaleSizes {
    int dpi, scale, glyph16, glyph24, logoWidth, logoHeight, frame, animation, smallIcon, bigIcon;
};
constexpr ScaleSizes kScaleSizes[] = {
    {96, 100, 16, 24, 169, 41, 64, 65, 16, 32},
    {120, 125, 20, 30, 211, 51, 80, 81, 20, 40},
    {144, 150, 24, 36, 254, 62, 96, 98, 24, 48},
    {192, 200, 32, 48, 338, 82, 128, 130, 32, 64},
};

constexpr uint32_t kOliveKey = 0x808000;  // the glyphs' transparent colour, 0x00RRGGBB
constexpr uint32_t kNoKey = 0xFF000000;   // no pixel has it: every pixel counts

int DpiVariable(const wchar_t* name) {
    wchar_t value[16] = L"";
    return ::GetEnvironmentVariableW(name, value, 16) ? _wtoi(value) : 0;
}

// The dpi a run at another scale was started for (PicturesAtOtherScales below), else 0.
int StartDpi() { return DpiVariable(L"SNAPVANE_TEST_DPI"); }
// The dpi such a run moves the panel to before each test, as a move to a monitor of that
// scale does (WM_DPICHANGED, as Windows sends it), else 0.
int MovedToDpi() { return DpiVariable(L"SNAPVANE_TEST_MOVE_TO_DPI"); }
// The dpi the panel's pictures are for in this run.
int AskedDpi() { return MovedToDpi() ? MovedToDpi() : StartDpi(); }

// The sizes for the panel's dpi; a run at another scale must have got the dpi it asked for.
const ScaleSizes* SizesFor(int dpi) {
    for (const ScaleSizes& s : kScaleSizes)
        if (s.dpi == dpi) return &s;
    ADD_FAILURE() << "no picture sizes for " << dpi << " dpi";
    return nullptr;
}

const ScaleSizes* SizesOf(const TCopyForm& panel) {
    if (AskedDpi()) {
        EXPECT_EQ(panel.Dpi(), AskedDpi()) << "the run did not get the dpi it asked for";
    }
    return SizesFor(panel.Dpi());
}

// A picture's pixels, 0x00RRGGBB, rows top first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[size_t(y) * size_t(width) + size_t(x)]; }
    Pixels Part(int x0, int y0, int w, int h) const {
        Pixels p{w, h, {}};
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) p.px.push_back(At(x, y));
        return p;
    }
};

// A bitmap of the program's resources, as its file holds it.
Pixels ResourcePixels(const std::wstring& name) {
    fw::Bitmap bitmap;
    bitmap.Adopt(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    EXPECT_FALSE(bitmap.Empty()) << "no bitmap " << fw::Utf8(name);
    return Pixels{bitmap.Width(), bitmap.Height(), capture_test::PixelsOf(bitmap)};
}

// What the screen shows of a rectangle of a window's client area.
Pixels ShownPixels(HWND wnd, const RECT& r) {
    POINT at{r.left, r.top};
    ::ClientToScreen(wnd, &at);
    const int w = r.right - r.left, h = r.bottom - r.top;
    return Pixels{w, h, ScreenPixels(at.x, at.y, w, h)};
}

// What the screen shows of a control, windowed or not.
Pixels ShownPixels(fw::Control& c) {
    return ShownPixels(c.Parent()->Handle(), RECT{c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()});
}

// Where `face` shows within `area` pixel for pixel, its pixels of colour `key` left out (they
// show what lies behind): the place, or (-1, -1) where it shows nowhere.
POINT FindFace(const Pixels& area, const Pixels& face, uint32_t key) {
    for (int oy = 0; oy + face.height <= area.height; ++oy) {
        for (int ox = 0; ox + face.width <= area.width; ++ox) {
            bool all = true;
            for (int y = 0; y < face.height && all; ++y)
                for (int x = 0; x < face.width && all; ++x) {
                    const uint32_t p = face.At(x, y);
                    all = p == key || area.At(ox + x, oy + y) == p;
                }
            if (all) return POINT{ox, oy};
        }
    }
    return POINT{-1, -1};
}

// FindFace on what the screen shows, as `shown` reads it, waiting up to 3 s for the windows
// to paint; `last` gets the pixels read last.
POINT FindShownFace(const std::function<Pixels()>& shown, const Pixels& face, uint32_t key, Pixels* last = nullptr) {
    POINT at{-1, -1};
    PumpUntil(
        [&] {
            Pixels now = shown();
            at = FindFace(now, face, key);
            if (last) *last = std::move(now);
            return at.x != -1;
        },
        3000);
    return at;
}

bool Shows(const Pixels& area, uint32_t colour) {
    return std::find(area.px.begin(), area.px.end(), colour) != area.px.end();
}

std::wstring Scaled(const wchar_t* name, const ScaleSizes& s) { return base::ScaledName(name, s.scale); }

// The edge of an icon or cursor and its hot spot.
SIZE IconSize(HICON icon, POINT* hotSpot = nullptr) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return SIZE{0, 0};
    BITMAP bm{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    SIZE size{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
    if (hotSpot) *hotSpot = POINT{LONG(info.xHotspot), LONG(info.yHotspot)};
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return size;
}

// The image of one size in the program's icon or cursor file, made from the file's own
// entry; null when the file has no image of exactly that size.
fw::IconHandle FileImage(bool icon, const wchar_t* name, int size) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC group = ::FindResourceW(module, name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
    if (!group) return {};
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(module, group)));
    const int id = ::LookupIconIdFromDirectoryEx(directory, icon, size, size, LR_DEFAULTCOLOR);
    HRSRC entry = ::FindResourceW(module, MAKEINTRESOURCEW(id), icon ? RT_ICON : RT_CURSOR);
    if (!entry) return {};
    auto* bits = static_cast<BYTE*>(::LockResource(::LoadResource(module, entry)));
    // A cursor's entry starts with its hot spot, then the picture's header.
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits + (icon ? 0 : 4));
    if (header->biWidth != size) return {};
    return fw::IconHandle(::CreateIconFromResourceEx(bits, ::SizeofResource(module, entry), icon, 0x00030000, size,
                                                     size, LR_DEFAULTCOLOR));
}

// An icon or cursor drawn at its own size over a colour none of the pictures has.
std::vector<uint32_t> DrawnPixels(HICON icon) {
    const SIZE size = IconSize(icon);
    DibCanvas c(size.cx, size.cy, RGB(1, 2, 3));
    ::DrawIconEx(c.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return c.Pixels();
}

}  // namespace

// The panel as built; in a run that moves it, every page opened once (every control has its
// window) and the panel then moved to a monitor of the other scale.
class FormsPictures : public FormsTest {
protected:
    FormsPictures() {
        const int to = MovedToDpi();
        if (!to) return;
        ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);  // no hint left over a control
        for (fw::Control* c :
             {static_cast<fw::Control*>(&panel->Image1), static_cast<fw::Control*>(&panel->Stop),
              static_cast<fw::Control*>(&panel->StartButton), static_cast<fw::Control*>(&panel->Capture)})
            OpenPageOf(*c);
        RECT suggested{panel->Left(), panel->Top(), panel->Left() + ::MulDiv(574, to, 96),
                       panel->Top() + ::MulDiv(346, to, 96)};
        ::SendMessageW(panel->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        fw::Hints::Instance().MouseMove(nullptr);
        PumpFor(30);
    }
};

TEST_F(FormsPictures, ButtonGlyphsAreTheFacesDrawnForTheScale) {
    const ScaleSizes* sizes = SizesOf(*panel);
    ASSERT_NE(sizes, nullptr);
    ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);  // no tooltip over a button
    struct Case {
        fw::Control& button;
        const wchar_t* strip;
        int face;  // the glyph's face size
        bool enabled;
    };
    const Case cases[] = {
        {panel->Capture, L"GLYPH_CAPTURE", sizes->glyph16, true},
        {panel->Copy, L"GLYPH_COPY", sizes->glyph24, false},
        {panel->Save, L"GLYPH_SAVE", sizes->glyph24, false},
        {panel->Print, L"GLYPH_PRINT", sizes->glyph24, false},
        {panel->StartButton, L"GLYPH_START", sizes->glyph24, true},
        {panel->BtnCopy, L"GLYPH_COPY_S", sizes->glyph16, false},
        {panel->BtnSave, L"GLYPH_SAVE_S", sizes->glyph16, false},
        {panel->BtnPrint, L"GLYPH_PRINT_S", sizes->glyph16, false},
        {panel->Stop, L"GLYPH_STOP", sizes->glyph24, false},
        {panel->Play, L"PLAYFACES", sizes->glyph24, true},  // image 0 of the play button's list
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fw::Utf8(c.button.Name()));
        const Pixels strip = ResourcePixels(Scaled(c.strip, *sizes));
        ASSERT_EQ(strip.height, c.face);
        ASSERT_EQ(strip.width, (c.button.Name() == L"Play" ? 4 : 2) * c.face);
        EXPECT_EQ(strip.At(0, strip.height - 1), kOliveKey) << "the glyph reads its key from its bottom-left pixel";
        OpenPageOf(c.button);
        // The enabled face or the greyed one, at its own size: every pixel of it in place.
        const Pixels face = strip.Part(c.enabled ? 0 : c.face, 0, c.face, c.face);
        Pixels shown;
        const POINT at = FindShownFace([&] { return ShownPixels(c.button); }, face, kOliveKey, &shown);
        EXPECT_NE(at.x, -1) << "the button does not show the " << c.face << "-pixel face drawn for " << sizes->scale
                            << " %";
        EXPECT_FALSE(Shows(shown, kOliveKey)) << "the glyph's key colour shows";
    }
}

TEST_F(FormsPictures, TabIconsLogoAndAnimationAreDrawnForTheScale) {
    const ScaleSizes* sizes = SizesOf(*panel);
    ASSERT_NE(sizes, nullptr);
    ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    const int n = sizes->glyph16;
    EXPECT_EQ(panel->ImageList.Width(), n);
    EXPECT_EQ(panel->ImageList.Height(), n);
    EXPECT_EQ(panel->ImageList.Count(), 5);
    EXPECT_EQ(panel->BtnImageList.Width(), 2 * sizes->glyph24);
    EXPECT_EQ(panel->BtnImageList.Height(), sizes->glyph24);

    // Each tab shows its icon, at its own size, from the strip drawn for the scale.
    const Pixels icons = ResourcePixels(Scaled(L"TABICONS", *sizes));
    ASSERT_EQ(icons.width, 5 * n);
    ASSERT_EQ(icons.height, n);
    OpenPageOf(panel->StartButton);  // the sub-pages' tabs show too
    struct Tab {
        fw::PageControl& tabs;
        int index, icon;
    };
    for (const Tab& t : {Tab{panel->PageControl, 0, 0}, Tab{panel->PageControl, 1, 1}, Tab{panel->PageControl, 2, 2},
                         Tab{panel->PageControl1, 0, 3}, Tab{panel->PageControl1, 1, 4}}) {
        SCOPED_TRACE("icon " + std::to_string(t.icon));
        RECT item{};
        ASSERT_TRUE(TabCtrl_GetItemRect(t.tabs.Handle(), t.index, &item));
        const Pixels icon = icons.Part(t.icon * n, 0, n, n);
        EXPECT_NE(FindShownFace([&] { return ShownPixels(t.tabs.Handle(), item); }, icon, kOliveKey).x, -1);
    }

    // The logo at its place, left out where it has the colour of its bottom-left pixel.
    OpenPageOf(panel->Image1);
    EXPECT_EQ(panel->Image1.Width(), sizes->logoWidth);
    EXPECT_EQ(panel->Image1.Height(), sizes->logoHeight);
    const Pixels logo = ResourcePixels(Scaled(L"LOGO", *sizes));
    ASSERT_EQ(logo.width, sizes->logoWidth);
    ASSERT_EQ(logo.height, sizes->logoHeight);
    const POINT logoAt = FindShownFace([&] { return ShownPixels(panel->Image1); }, logo, logo.At(0, logo.height - 1));
    EXPECT_EQ(logoAt.x, 0);
    EXPECT_EQ(logoAt.y, 0);

    // The animation: its frames grow with its control, each shown centred at its own size.
    TVrAnimate& anim = panel->VrAnimate1;
    EXPECT_EQ(anim.Width(), sizes->animation);
    EXPECT_EQ(anim.Height(), sizes->animation);
    EXPECT_EQ(anim.FrameWidth(), sizes->frame);
    EXPECT_EQ(anim.FrameHeight(), sizes->frame);
    EXPECT_EQ(anim.FrameCount(), 6);
    const Pixels sheet = ResourcePixels(Scaled(L"ANIMSHEET", *sizes));
    ASSERT_EQ(sheet.width, 6 * sizes->frame);
    ASSERT_EQ(sheet.height, sizes->frame);
    for (int step = 0; step < 2; ++step) {
        SCOPED_TRACE("frame " + std::to_string(anim.CurrentFrame()));
        anim.SetActive(false);
        anim.Invalidate();
        PumpFor(30);
        const Pixels frame = sheet.Part(anim.CurrentFrame() * sizes->frame, 0, sizes->frame, sizes->frame);
        const POINT at = FindShownFace([&] { return ShownPixels(anim); }, frame, kNoKey);
        EXPECT_EQ(at.x, (sizes->animation - sizes->frame) / 2);
        EXPECT_EQ(at.y, (sizes->animation - sizes->frame) / 2);
        anim.AdvanceFrame();
    }
}

TEST_F(FormsPictures, TheIconsAndTheHandCursorAreTheImagesDrawnForTheirSizes) {
    const ScaleSizes* sizes = SizesOf(*panel);
    ASSERT_NE(sizes, nullptr);
    // The caption's and the taskbar's icons of the panel and of the application window (its
    // taskbar button): the images of those sizes in the icon file, not others resized.
    // The application window has no place on a monitor: it keeps the screen's dpi.
    auto& app = fw::Application::Instance();
    const ScaleSizes* screenSizes = SizesFor(::GetDeviceCaps(fw::WindowDc(nullptr).Get(), LOGPIXELSX));
    ASSERT_NE(screenSizes, nullptr);
    for (HWND wnd : {panel->Handle(), app.Handle()}) {
        for (const bool small : {true, false}) {
            SCOPED_TRACE(std::string(wnd == app.Handle() ? "application window, " : "panel, ") +
                         (small ? "small icon" : "large icon"));
            const auto icon =
                reinterpret_cast<HICON>(::SendMessageW(wnd, WM_GETICON, small ? ICON_SMALL : ICON_BIG, 0));
            ASSERT_NE(icon, nullptr);
            const ScaleSizes& of = wnd == app.Handle() ? *screenSizes : *sizes;
            const int size = small ? of.smallIcon : of.bigIcon;
            EXPECT_EQ(IconSize(icon).cx, size);
            EXPECT_EQ(IconSize(icon).cy, size);
            const fw::IconHandle drawn = FileImage(true, MAKEINTRESOURCEW(1), size);
            ASSERT_TRUE(drawn) << "the icon file has no " << size << "-pixel image";
            EXPECT_EQ(DrawnPixels(icon), DrawnPixels(drawn.Get()));
        }
    }
    // The component library's hand cursor, at the size the system asks for.
    const HCURSOR hand = app.CursorById(kVrCursorHandPoint);
    ASSERT_NE(hand, nullptr);
    const int size = ::GetSystemMetrics(SM_CXCURSOR);
    POINT spot{}, fileSpot{};
    EXPECT_EQ(IconSize(hand, &spot).cx, size);
    const fw::IconHandle drawn = FileImage(false, L"VRCURSORHANDPOINT", size);
    ASSERT_TRUE(drawn) << "the cursor file has no " << size << "-pixel image";
    IconSize(drawn.Get(), &fileSpot);
    EXPECT_EQ(DrawnPixels(hand), DrawnPixels(drawn.Get()));
    EXPECT_EQ(spot.x, fileSpot.x);
    EXPECT_EQ(spot.y, fileSpot.y);
}

TEST(FormsPictureResources, EveryPictureIsThereForEveryScaleAtItsSizeAndCrisp) {
    struct Picture {
        const wchar_t* name;
        int width, height;
        bool keyed;  // olive where transparent, drawn in the glyphs' palette
    };
    const Picture pictures[] = {
        {L"TABICONS", 80, 16, true},     {L"GLYPH_CAPTURE", 32, 16, true}, {L"GLYPH_COPY", 48, 24, true},
        {L"GLYPH_SAVE", 48, 24, true},   {L"GLYPH_PRINT", 48, 24, true},   {L"GLYPH_COPY_S", 32, 16, true},
        {L"GLYPH_SAVE_S", 32, 16, true}, {L"GLYPH_PRINT_S", 32, 16, true}, {L"GLYPH_START", 48, 24, true},
        {L"GLYPH_STOP", 48, 24, true},   {L"PLAYFACES", 96, 24, true},     {L"LOGO", 169, 41, false},
        {L"ANIMSHEET", 384, 64, false},
    };
    // The colours of the keyed pictures at 100 %: a picture resized smoothly would show blends.
    std::set<uint32_t> palette;
    for (const Picture& p : pictures)
        if (p.keyed) {
            const Pixels base = ResourcePixels(p.name);
            palette.insert(base.px.begin(), base.px.end());
        }
    for (const Picture& p : pictures) {
        for (const int scale : base::kPictureScales) {
            SCOPED_TRACE(fw::Utf8(base::ScaledName(p.name, scale)));
            const Pixels drawn = ResourcePixels(base::ScaledName(p.name, scale));
            // As the layout rounds its units: halves up.
            EXPECT_EQ(drawn.width, (p.width * scale + 50) / 100);
            EXPECT_EQ(drawn.height, (p.height * scale + 50) / 100);
            if (!p.keyed || drawn.px.empty()) continue;
            EXPECT_EQ(drawn.At(0, drawn.height - 1), kOliveKey);
            size_t foreign = 0;
            for (uint32_t c : drawn.px) foreign += palette.count(c) ? 0 : 1;
            EXPECT_EQ(foreign, 0u) << "pixels of colours the pictures are not drawn in";
        }
    }
}

// ---- the same pictures at other scales

namespace {

// While it lives, the Wine processes started read `dpi` as the screen's: the LogPixels of the
// current user's desktop settings, which a process reads when it starts. The value it had
// comes back after. (On Windows the setting counts only after the next sign-in.)
class DpiOfNewProcesses {
public:
    explicit DpiOfNewProcesses(DWORD dpi) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, &type_, old_, &size) == ERROR_SUCCESS;
        oldSize_ = size;
        ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~DpiOfNewProcesses() {
        if (had_)
            ::RegSetValueExW(key_, L"LogPixels", 0, type_, old_, oldSize_);
        else
            ::RegDeleteValueW(key_, L"LogPixels");
        ::RegCloseKey(key_);
    }
    DpiOfNewProcesses(const DpiOfNewProcesses&) = delete;
    DpiOfNewProcesses& operator=(const DpiOfNewProcesses&) = delete;

private:
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD type_ = 0, oldSize_ = 0;
    BYTE old_[64] = {};
};

// Runs this program's FormsPictures tests in a process of its own at another dpi and says how
// they went: every one of them ran and passed.
void RunPictureTestsAt(int dpi, int movedToDpi = 0) {
    int expected = 0;
    const auto* unit = ::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit->total_test_suite_count(); ++i)
        if (std::string(unit->GetTestSuite(i)->name()) == "FormsPictures")
            expected = unit->GetTestSuite(i)->total_test_count();
    ASSERT_GT(expected, 0);

    wchar_t exe[MAX_PATH] = L"", temp[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring report =
        std::wstring(temp) + L"sv-pictures-" + std::to_wstring(dpi) + L"-" + std::to_wstring(movedToDpi) + L".xml";
    ::DeleteFileW(report.c_str());
    std::wstring command =
        L"\"" + std::wstring(exe) + L"\" --gtest_filter=FormsPictures.* --gtest_output=xml:" + report;

    DWORD waited = WAIT_FAILED, code = 1;
    {
        DpiOfNewProcesses asked{DWORD(dpi)};
        ::SetEnvironmentVariableW(L"SNAPVANE_TEST_DPI", std::to_wstring(dpi).c_str());
        if (movedToDpi) ::SetEnvironmentVariableW(L"SNAPVANE_TEST_MOVE_TO_DPI", std::to_wstring(movedToDpi).c_str());
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;  // its report goes where this program's goes
        si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        const BOOL started =
            ::CreateProcessW(exe, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
        ::SetEnvironmentVariableW(L"SNAPVANE_TEST_DPI", nullptr);
        ::SetEnvironmentVariableW(L"SNAPVANE_TEST_MOVE_TO_DPI", nullptr);
        ASSERT_TRUE(started) << "error " << ::GetLastError();
        waited = ::WaitForSingleObject(pi.hProcess, 75000);
        if (waited != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);  // the run this test started
        ::GetExitCodeProcess(pi.hProcess, &code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the run at " << dpi << " dpi did not end";
    const std::vector<uint8_t> bytes = capture_test::ReadFileBytes(report);
    const std::string xml(bytes.begin(), bytes.end());
    ::DeleteFileW(report.c_str());
    EXPECT_NE(xml.find("tests=\"" + std::to_string(expected) + "\""), std::string::npos)
        << "not every picture test ran at " << dpi << " dpi";
    EXPECT_EQ(code, 0u) << "picture tests failed at " << dpi << " dpi; their report is above";
}

}  // namespace

// Wine's screen dpi is read when a process starts: each scale runs in a process of its own.
TEST(PicturesAtOtherScales, At120Dpi) { RunPictureTestsAt(120); }
TEST(PicturesAtOtherScales, At144Dpi) { RunPictureTestsAt(144); }
TEST(PicturesAtOtherScales, At192Dpi) { RunPictureTestsAt(192); }
// Moved to a monitor of another scale, the panel shows every picture drawn for the new one.
TEST(PicturesAtOtherScales, MovedFrom96To144Dpi) { RunPictureTestsAt(96, 144); }
TEST(PicturesAtOtherScales, MovedFrom192To120Dpi) { RunPictureTestsAt(192, 120); }
