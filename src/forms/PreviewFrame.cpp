#include "forms/PreviewFrame.h"

TPreviewFrame::TPreviewFrame(fw::Container* parent, std::wstring name, const wchar_t* imageHint)
    : ScrollBox(parent, std::move(name)),
      Image(this, L"Image") {
    SetColor(fw::kGray);
    Image.SetAutoSize(true);
    Image.SetBounds(0, 0, 0, 0);
    Image.SetHint(imageHint);
}
