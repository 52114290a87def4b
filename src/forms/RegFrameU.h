#pragma once
// The preview of the "Countdown" and "Capture regularily" pages: a grey frame that scrolls
// when its picture is larger than it; the picture sits at the top-left corner.
#include "framework/Image.h"
#include "framework/ScrollBox.h"

class TRegFrame : public fw::ScrollBox {
public:
    TRegFrame(fw::Container* parent, std::wstring name);
    fw::Image Image;
};
