#pragma once
// The pictures of the program's module drawn for several scales (base/PictureScale.h): finds
// and loads the one for a window's dpi, shown at its own size. Where the module has no picture
// for that scale, the 100 % one under the name itself serves.
#include <windows.h>

#include <string>

#include "framework/Bitmap.h"
#include "framework/Gdi.h"

namespace fw {

struct ScaledResource {
    std::wstring name;  // the resource found
    int scale = 100;    // the scale it is drawn for, in percent
};

// The resource of a type for a dpi: the picture of the nearest drawn scale when the module
// holds it, else the 100 % one.
ScaledResource FindScaledResource(HINSTANCE module, const wchar_t* name, const wchar_t* type, int dpi);

// Loads the program's bitmap `name` for a dpi into `into`; returns the scale of the picture
// loaded. Throws as Bitmap::LoadFromResource does when not even the 100 % picture is there.
int LoadScaledBitmap(Bitmap& into, const wchar_t* name, int dpi);

// The edge of the system's icons for a dpi: the small icon of captions or the large one of the
// taskbar and the task switcher.
int IconSizeForDpi(int dpi, bool small);

// The program's icon resource at the system's icon size for a dpi: the image of that size
// from the icon file (the system's nearest when the file has none). The caller owns it; null
// when the module has no such icon.
HICON LoadIconForDpi(const wchar_t* name, int dpi, bool small);

// A window's caption and taskbar icons: the program's icon (resource 1) drawn for its dpi.
// The window refers to them, so they live as long as it may show them.
class WindowIcons {
public:
    // Gives the window the icons for `dpi`, loaded anew only when the dpi is another.
    void Apply(HWND wnd, int dpi);

private:
    IconHandle small_, big_;
    int dpi_ = 0;
};

}  // namespace fw
