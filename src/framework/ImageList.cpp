#include "framework/ImageList.h"

#include "base/PictureScale.h"
#include "framework/Error.h"
#include "framework/ScaledResource.h"

namespace fw {

ImageList::ImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4)),
      baseWidth_(width),
      baseHeight_(height),
      width_(width),
      height_(height) {}

void ImageList::AddResourceStrip(const wchar_t* name, Color mask, int dpi) {
    mask_ = mask;
    strips_.emplace_back(name);
    Bitmap strip;
    const int scale = LoadScaledBitmap(strip, name, dpi);
    const int w = base::ScaledLength(baseWidth_, scale), h = base::ScaledLength(baseHeight_, scale);
    if (w != width_ || h != height_) {
        ImageList_SetIconSize(list_.Get(), w, h);  // also empties the list
        width_ = w;
        height_ = h;
    }
    strip.ReleaseDc();  // ImageList_AddMasked needs the bitmap out of any DC
    ImageList_AddMasked(list_.Get(), strip.Handle(), ToRgb(mask));
}

void ImageList::ChangeDpi(int dpi) {
    std::vector<std::wstring> strips;
    strips.swap(strips_);
    ImageList_RemoveAll(list_.Get());
    for (const std::wstring& name : strips) AddResourceStrip(name.c_str(), mask_, dpi);
}

void ImageList::GetBitmap(int index, Bitmap& out) const {
    out.SetSize(width_, height_);
    HDC dc = out.Dc();
    RECT r{0, 0, width_, height_};
    Brush back(::CreateSolidBrush(ToRgb(mask_)));
    ::FillRect(dc, &r, back.Get());
    ImageList_Draw(list_.Get(), index, dc, 0, 0, ILD_TRANSPARENT);
}

}  // namespace fw
