#include "framework/DialogTemplate.h"

#include <algorithm>

namespace fw {

void DialogTemplate::Dialog(DWORD style, short cx, short cy, WORD items, const wchar_t* font, WORD points) {
    Dword(style | DS_SETFONT);
    Dword(0);  // extended style
    words_.push_back(items);
    Box(0, 0, cx, cy);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    Text(L"");            // no title
    words_.push_back(points);
    Text(font);
}

void DialogTemplate::Item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text) {
    if (words_.size() % 2) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Box(x, y, cx, cy);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    Text(text);
    words_.push_back(0);  // no creation data
}

void DialogTemplate::Dword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
}

void DialogTemplate::Box(short x, short y, short cx, short cy) {
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
}

void DialogTemplate::Text(const wchar_t* s) {
    do words_.push_back(static_cast<WORD>(*s));
    while (*s++);
}

DialogTemplateBlock::DialogTemplateBlock(const DialogTemplate& dialog) {
    const std::vector<WORD>& words = dialog.Words();
    block_ = ::GlobalAlloc(GMEM_FIXED, words.size() * sizeof(WORD));
    if (block_) std::copy(words.begin(), words.end(), static_cast<WORD*>(block_));
}

DialogTemplateBlock::~DialogTemplateBlock() {
    if (block_) ::GlobalFree(block_);
}

}  // namespace fw
