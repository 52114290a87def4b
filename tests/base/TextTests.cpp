// Small text rules: the error display's full stop, hints, their lines and access keys.
#include <gtest/gtest.h>

#include "base/Text.h"

#include <vector>

namespace base {
namespace {

TEST(WithFullStop, AddedAfterLettersAndDigits) {
    EXPECT_EQ(WithFullStop(L"Cannot open clipboard"), L"Cannot open clipboard.");
    EXPECT_EQ(WithFullStop(L"Cannot create file C:\\x\\shot0.bmp"), L"Cannot create file C:\\x\\shot0.bmp.");
    EXPECT_EQ(WithFullStop(L"slash/"), L"slash/.");  // "/" sorts just after "."
}

TEST(WithFullStop, NotAddedAtOrBeforeTheFullStop) {
    EXPECT_EQ(WithFullStop(L"Enter filename and path."), L"Enter filename and path.");
    EXPECT_EQ(WithFullStop(L"Done!"), L"Done!");
    EXPECT_EQ(WithFullStop(L"dash-"), L"dash-");  // "-" sorts just before "."
    EXPECT_EQ(WithFullStop(L""), L"");
}

TEST(Hints, ShortBeforeAndLongAfterTheFirstBar) {
    const std::wstring_view hint = L"Capture selected area|Capture selection for further copying/saving";
    EXPECT_EQ(ShortHint(hint), L"Capture selected area");
    EXPECT_EQ(LongHint(hint), L"Capture selection for further copying/saving");
    EXPECT_EQ(LongHint(L"a|b|c"), L"b|c");
}

TEST(Hints, WithoutBarBothAreTheWholeHint) {
    EXPECT_EQ(ShortHint(L"Pause capturing"), L"Pause capturing");
    EXPECT_EQ(LongHint(L"Pause capturing"), L"Pause capturing");
    EXPECT_EQ(LongHint(L"C:\\Shots"), L"C:\\Shots");
}

TEST(AccessKeyFree, SingleMarksGoDoubleMarksStayOnce) {
    EXPECT_EQ(AccessKeyFree(L"&Capture bitmap"), L"Capture bitmap");
    EXPECT_EQ(AccessKeyFree(L"Push && hold CTRL"), L"Push & hold CTRL");
    EXPECT_EQ(AccessKeyFree(L"a&&&b"), L"a&b");
    EXPECT_EQ(AccessKeyFree(L"end&"), L"end");
}

TEST(AccessKey, LetterAfterTheFirstSingleMark) {
    EXPECT_EQ(AccessKey(L"&Capture bitmap"), L'C');
    EXPECT_EQ(AccessKey(L"Brow&se..."), L'S');     // upper-cased to match the key code
    EXPECT_EQ(AccessKey(L"Push && &hold"), L'H');  // "&&" is no mark
    EXPECT_EQ(AccessKey(L"Push && hold"), L'\0');
    EXPECT_EQ(AccessKey(L"trailing&"), L'\0');
    EXPECT_EQ(AccessKey(L"&1 sec"), L'1');
}

// Every UTF-16 unit 5 px wide: a character of two units is 10 px.
int FivePxAUnit(std::wstring_view text) { return static_cast<int>(text.size()) * 5; }

using Lines = std::vector<std::wstring>;

TEST(WrapToWidth, BreaksAfterTheLastSeparatorThatFits) {
    // 30 px: six units a line. A path breaks after its "\", a sentence after its blanks.
    EXPECT_EQ(WrapToWidth(L"C:\\ab\\cdef\\g", FivePxAUnit, 30), (Lines{L"C:\\ab\\", L"cdef\\g"}));
    EXPECT_EQ(WrapToWidth(L"one two three", FivePxAUnit, 30), (Lines{L"one ", L"two ", L"three"}));
    // Two "/" fit in the first line: the break goes after the later one, not after the
    // character that last fits.
    EXPECT_EQ(WrapToWidth(L"Z:/a/bcdefg", FivePxAUnit, 30), (Lines{L"Z:/a/", L"bcdefg"}));
    EXPECT_EQ(WrapToWidth(L"fits", FivePxAUnit, 30), Lines{L"fits"});
    EXPECT_EQ(WrapToWidth(L"", FivePxAUnit, 30), Lines{});
}

TEST(WrapToWidth, ANameWiderThanALineIsBrokenBetweenWholeCharacters) {
    const std::wstring camera = std::wstring(L"\xD83D") + L"\xDCF7";
    EXPECT_EQ(WrapToWidth(L"abcdefghij", FivePxAUnit, 20), (Lines{L"abcd", L"efgh", L"ij"}));
    // 25 px: the camera after "abcd" would end the line in its middle; it goes whole to the next.
    EXPECT_EQ(WrapToWidth(L"abcd" + camera + L"ef", FivePxAUnit, 25), (Lines{L"abcd", camera + L"ef"}));
    // Cyrillic and CJK letters are characters like any other.
    EXPECT_EQ(WrapToWidth(L"\u0444\u0430\u0439\u56fe\u7247", FivePxAUnit, 10),
              (Lines{L"\u0444\u0430", L"\u0439\u56fe", L"\u7247"}));
    // Too narrow for one character: one a line all the same, the pair kept whole.
    EXPECT_EQ(WrapToWidth(camera + L"a", FivePxAUnit, 1), (Lines{camera, L"a"}));
}

}  // namespace
}  // namespace base
