#pragma once
// A windowless picture: it owns its bitmap (the picture holder), optionally sizes itself to
// it and optionally leaves out the colour of its bottom-left pixel.
#include "framework/Bitmap.h"
#include "framework/Control.h"

namespace fw {

class Image : public GraphicControl {
public:
    Image(Container* parent, std::wstring name);
    // The picture this control shows; assigning to it repaints and (auto size) resizes.
    Bitmap& Picture() { return picture_; }
    // Loads the program's bitmap `name` drawn for the scale of a window of `dpi`; a change of
    // scale loads it again for the new one (a picture assigned otherwise stays as it is).
    void LoadPicture(const wchar_t* name, int dpi);
    void SetAutoSize(bool a);
    void SetTransparent(bool t);
    void Paint() override;
    // A picture is shown 1:1 at every scale: an auto-sized one keeps the picture's size.
    void ScaleForDpi(int fromDpi, int toDpi) override;

private:
    void PictureChanged();
    Bitmap picture_;
    std::wstring resource_;  // the resource the picture was loaded from, if it was
    bool loading_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
};

}  // namespace fw
