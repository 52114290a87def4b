#include "framework/Image.h"

#include <oleacc.h>

#include "framework/ScaledResource.h"

namespace fw {

Image::Image(Container* parent, std::wstring name) : GraphicControl(parent, std::move(name)) {
    accessibleRole_ = ROLE_SYSTEM_GRAPHIC;
    picture_.onChange = [this] {
        if (!loading_) resource_.clear();  // a picture of the caller's
        PictureChanged();
    };
}

void Image::LoadPicture(const wchar_t* name, int dpi) {
    loading_ = true;
    try {
        LoadScaledBitmap(picture_, name, dpi);
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
    resource_ = name;
}

void Image::SetAutoSize(bool a) {
    autoSize_ = a;
    PictureChanged();
}

void Image::SetTransparent(bool t) {
    transparent_ = t;
    Invalidate();
}

void Image::PictureChanged() {
    if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void Image::ScaleForDpi(int fromDpi, int toDpi) {
    GraphicControl::ScaleForDpi(fromDpi, toDpi);
    if (!resource_.empty()) {
        const std::wstring name = resource_;
        LoadPicture(name.c_str(), toDpi);  // sizes itself through the picture's change
    } else {
        PictureChanged();
    }
}

void Image::Paint() {
    if (picture_.Empty()) return;
    HDC dc = canvas_.Handle();
    HDC src = picture_.Dc();
    if (transparent_) {
        COLORREF key = ::GetPixel(src, 0, picture_.Height() - 1);
        ::GdiTransparentBlt(dc, 0, 0, picture_.Width(), picture_.Height(), src, 0, 0, picture_.Width(),
                            picture_.Height(), key);
    } else {
        ::BitBlt(dc, 0, 0, picture_.Width(), picture_.Height(), src, 0, 0, SRCCOPY);
    }
}

}  // namespace fw
