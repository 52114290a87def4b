#pragma once
// The preview of the "Simple capturing" page.
#include "forms/PreviewFrame.h"

class TSimpleFrame : public TPreviewFrame {
public:
    TSimpleFrame(fw::Container* parent, std::wstring name)
        : TPreviewFrame(parent, std::move(name), L"Captured picture|Captured picture from selected area") {}
};
