#pragma once
// A dialog template built in memory: a DLGTEMPLATE and its items as the dialog manager reads
// them (WORDs, items on DWORD boundaries, strings in UTF-16 with their NUL), and the fixed
// global block that hands it to a dialog that wants a memory handle.
#include <windows.h>

#include <vector>

namespace fw {

class DialogTemplate {
public:
    // The predefined classes an item may be of.
    static constexpr WORD kButton = 0x0080, kStatic = 0x0082;

    // The dialog itself, first: `items` items follow; dialog units; DS_SETFONT is added.
    void Dialog(DWORD style, short cx, short cy, WORD items, const wchar_t* font, WORD points);
    // An item of a predefined class; WS_CHILD and WS_VISIBLE are added.
    void Item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text);
    const std::vector<WORD>& Words() const { return words_; }

private:
    void Dword(DWORD v);
    void Box(short x, short y, short cx, short cy);
    void Text(const wchar_t* s);
    std::vector<WORD> words_;
};

// A template in a fixed global block, freed with the block: OFN_ENABLETEMPLATEHANDLE wants a
// memory handle, and a fixed block's handle is its address. Get() is null when the memory
// could not be had.
class DialogTemplateBlock {
public:
    explicit DialogTemplateBlock(const DialogTemplate& dialog);
    ~DialogTemplateBlock();
    DialogTemplateBlock(const DialogTemplateBlock&) = delete;
    DialogTemplateBlock& operator=(const DialogTemplateBlock&) = delete;
    HGLOBAL Get() const { return block_; }

private:
    HGLOBAL block_ = nullptr;
};

}  // namespace fw
