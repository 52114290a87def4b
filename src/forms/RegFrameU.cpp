#include "forms/RegFrameU.h"

TRegFrame::TRegFrame(fw::Container* parent, std::wstring name)
    : ScrollBox(parent, std::move(name)),
      Image(this, L"Image") {
    SetColor(fw::kGray);
    Image.SetAutoSize(true);
    Image.SetBounds(0, 0, 0, 0);
    Image.SetHint(L"Captured bitmap|Captured bitmap saved to file");
}
