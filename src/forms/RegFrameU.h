#pragma once
// The preview of the "Countdown" and "Capture regularily" pages.
#include "forms/PreviewFrame.h"

class TRegFrame : public TPreviewFrame {
public:
    TRegFrame(fw::Container* parent, std::wstring name)
        : TPreviewFrame(parent, std::move(name), L"Captured bitmap|Captured bitmap saved to file") {}
};
