#pragma once
// A preview of the captured picture: a grey frame that scrolls when its picture is larger
// than it; the picture sits at the top-left corner and sizes itself.
#include "framework/Image.h"
#include "framework/ScrollBox.h"

class TPreviewFrame : public fw::ScrollBox {
public:
    fw::Image Image;

protected:
    TPreviewFrame(fw::Container* parent, std::wstring name, const wchar_t* imageHint);
};
