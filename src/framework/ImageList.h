#pragma once
// A list of equal-sized images with a mask colour (HIMAGELIST owner).
#include <windows.h>
#include <commctrl.h>

#include "framework/Bitmap.h"
#include "framework/Color.h"

namespace fw {

class ImageList {
public:
    ImageList(int width, int height);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Adds every image of a bitmap resource strip; pixels of the mask colour are see-through.
    void AddResourceStrip(const wchar_t* name, Color mask);
    HIMAGELIST Handle() const { return list_; }
    int Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Copies image `index` into a bitmap of the image's size, on the mask colour.
    void GetBitmap(int index, Bitmap& out) const;

private:
    HIMAGELIST list_ = nullptr;
    int width_, height_;
    Color mask_ = kOlive;
};

}  // namespace fw
