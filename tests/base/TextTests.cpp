// Small text rules: the error display's full stop, hints and access keys.
#include <gtest/gtest.h>

#include "base/Text.h"

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

}  // namespace
}  // namespace base
