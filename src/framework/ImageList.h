#pragma once
// A list of equal-sized images with a mask colour (HIMAGELIST owner). Its size is given at
// 100 %; a strip drawn for another scale gives the list that scale's image size.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Color.h"
#include "framework/Gdi.h"

namespace fw {

inline void DestroyImageList(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
using ImageListHandle = Unique<HIMAGELIST, DestroyImageList>;

class ImageList {
public:
    ImageList(int width, int height);

    // Adds every image of the bitmap resource strip drawn for the scale of a window of `dpi`;
    // pixels of the mask colour are see-through. The images take the size of that scale; a
    // strip of another scale than the images already held replaces them (the handle stays).
    void AddResourceStrip(const wchar_t* name, Color mask, int dpi);
    // Holds the same strips again as drawn for the scale of a window of `dpi` (the handle
    // stays; a tab control showing the list must be given it again to take the new size).
    void ChangeDpi(int dpi);
    HIMAGELIST Handle() const { return list_.Get(); }
    int Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Copies image `index` into a bitmap of the image's size, on the mask colour.
    void GetBitmap(int index, Bitmap& out) const;

private:
    ImageListHandle list_;
    int baseWidth_, baseHeight_;  // at 100 %
    int width_, height_;          // of the images held
    Color mask_ = kOlive;
    std::vector<std::wstring> strips_;  // the resources added, in order
};

}  // namespace fw
