// What a save writes: the extension taken from the dialog's file type, and the BMP headers.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

#include "base/BmpLayout.h"
#include "base/FilterExtension.h"

namespace base {
namespace {

TEST(ExtensionFromFilter, EveryEntryOfThePictureFilter) {
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 1), L".bmp");
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 2), L".jpg");
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 3), L".gif");
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 4), L".emf");
    // The last pattern has no closing bar: it runs to the end of the text.
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 5), L".wmf");
}

TEST(ExtensionFromFilter, OutOfRangeIndexGivesNothing) {
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 0), L"");
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, -1), L"");
    EXPECT_EQ(ExtensionFromFilter(kPictureFilter, 6), L"");
}

TEST(ExtensionFromFilter, DropsFirstCharacterWhateverItIs) {
    EXPECT_EQ(ExtensionFromFilter(L"Text|?.txt|Any|x", 1), L".txt");
    // A one-character pattern, and an empty one, give no extension.
    EXPECT_EQ(ExtensionFromFilter(L"Text|?.txt|Any|x", 2), L"");
    EXPECT_EQ(ExtensionFromFilter(L"Empty||Next|*.n", 1), L"");
    EXPECT_EQ(ExtensionFromFilter(L"Empty||Next|*.n", 2), L".n");
}

TEST(FilterForDialog, NulSeparatedAndDoubleNulTerminated) {
    const std::wstring f = FilterForDialog(L"Bitmaps (*.bmp)|*.bmp|Metafiles (*.wmf)|*.wmf");
    constexpr wchar_t kExpected[] = L"Bitmaps (*.bmp)\0*.bmp\0Metafiles (*.wmf)\0*.wmf\0\0";
    const std::wstring expected(kExpected, std::size(kExpected) - 1);  // less the literal's own NUL
    EXPECT_EQ(f, expected);
}

TEST(BmpLayout, RowsArePaddedToWholeWords) {
    EXPECT_EQ(ComputeBmpLayout(101, 1, 32).rowStride, 404u);
    EXPECT_EQ(ComputeBmpLayout(101, 1, 24).rowStride, 304u);  // 303 bytes + 1 of padding
    EXPECT_EQ(ComputeBmpLayout(101, 1, 16).rowStride, 204u);  // 202 + 2
    EXPECT_EQ(ComputeBmpLayout(33, 1, 1).rowStride, 8u);      // 33 bits take two words
    EXPECT_EQ(ComputeBmpLayout(32, 1, 1).rowStride, 4u);
}

TEST(BmpLayout, TrueColourHasNoColourTable) {
    const BmpLayout l = ComputeBmpLayout(324, 180, 32);
    EXPECT_EQ(l.colorTableEntries, 0u);
    EXPECT_EQ(l.headerSize, 40u);
    EXPECT_EQ(l.offBits, 54u);
    EXPECT_EQ(l.imageSize, 324u * 4 * 180);
    EXPECT_EQ(l.fileSize, 54u + 324 * 4 * 180);
}

TEST(BmpLayout, PaletteDepthsCarryAFullTable) {
    const BmpLayout l8 = ComputeBmpLayout(3, 3, 8);
    EXPECT_EQ(l8.colorTableEntries, 256u);
    EXPECT_EQ(l8.headerSize, 40u + 1024);
    EXPECT_EQ(l8.offBits, 1078u);
    EXPECT_EQ(l8.fileSize, 1078u + 4 * 3);
    EXPECT_EQ(ComputeBmpLayout(3, 3, 4).colorTableEntries, 16u);
    EXPECT_EQ(ComputeBmpLayout(3, 3, 1).colorTableEntries, 2u);
    EXPECT_EQ(ComputeBmpLayout(3, 3, 16).colorTableEntries, 0u);
}

// An independent little-endian reader, so the round trip does not reuse the writer's code.
uint32_t Read(const std::array<uint8_t, kBmpHeadersSize>& b, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}

TEST(BmpHeaders, EveryFieldAtItsOffset) {
    const BmpLayout l = ComputeBmpLayout(101, 51, 8);
    const auto b = EncodeBmpHeaders(l);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Read(b, 2, 4), 1078u + 104 * 51);
    EXPECT_EQ(Read(b, 6, 2), 0u);
    EXPECT_EQ(Read(b, 8, 2), 0u);
    EXPECT_EQ(Read(b, 10, 4), 1078u);
    EXPECT_EQ(Read(b, 14, 4), 40u);
    EXPECT_EQ(Read(b, 18, 4), 101u);
    EXPECT_EQ(Read(b, 22, 4), 51u);
    EXPECT_EQ(Read(b, 26, 2), 1u);
    EXPECT_EQ(Read(b, 28, 2), 8u);
    EXPECT_EQ(Read(b, 30, 4), 0u);
    EXPECT_EQ(Read(b, 34, 4), 104u * 51);
    EXPECT_EQ(Read(b, 38, 4), 0u);
    EXPECT_EQ(Read(b, 42, 4), 0u);
    EXPECT_EQ(Read(b, 46, 4), 256u);
    EXPECT_EQ(Read(b, 50, 4), 0u);
}

TEST(BmpHeaders, LargeValuesKeepTheirByteOrder) {
    // 4000 x 3000 at 32 bpp: a file size that fills more than two bytes.
    const auto b = EncodeBmpHeaders(ComputeBmpLayout(4000, 3000, 32));
    EXPECT_EQ(Read(b, 2, 4), 54u + 48000000u);
    EXPECT_EQ(b[2], 0x36);  // 48000054 = 0x02DC6C36
    EXPECT_EQ(b[5], 0x02);
    EXPECT_EQ(Read(b, 46, 4), 0u);  // no table above 8 bpp
}

}  // namespace
}  // namespace base
