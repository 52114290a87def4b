#include "capture/PaletteCopy.h"

#include <vector>

#include "framework/Error.h"

namespace capture {

fw::PaletteHandle CopyPalette(HPALETTE palette) {
    if (!palette) return {};
    WORD count = 0;
    if (!::GetObjectW(palette, sizeof count, &count)) throw fw::OutOfResources(L"Out of system resources");
    // LOGPALETTE declares one entry; the others follow it.
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = count;
    ::GetPaletteEntries(palette, 0, count, logical->palPalEntry);
    fw::PaletteHandle copy(::CreatePalette(logical));
    if (!copy) throw fw::OutOfResources(L"Out of system resources");
    return copy;
}

}  // namespace capture
