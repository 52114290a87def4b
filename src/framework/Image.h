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
    void SetAutoSize(bool a);
    void SetTransparent(bool t);
    void Paint() override;
    // A picture is shown 1:1 at every scale: an auto-sized one keeps the picture's size.
    void ScaleForDpi(int fromDpi, int toDpi) override;

private:
    void PictureChanged();
    Bitmap picture_;
    bool autoSize_ = false;
    bool transparent_ = false;
};

}  // namespace fw
