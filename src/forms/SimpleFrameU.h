#pragma once
// The preview of the "Simple capturing" page: a grey frame that scrolls when its picture is
// larger than it; the picture sits at the top-left corner and sizes itself.
#include "framework/Image.h"
#include "framework/ScrollBox.h"

class TSimpleFrame : public fw::ScrollBox {
public:
    TSimpleFrame(fw::Container* parent, std::wstring name);
    fw::Image Image;
};
