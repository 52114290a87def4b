// The series' file names and the two timing tables, and reading the countdown back.
#include <gtest/gtest.h>

#include "base/Series.h"

namespace base {
namespace {

TEST(SeriesFileName, JoinsFolderNameCounterAndExtension) {
    EXPECT_EQ(SeriesFileName(L"C:\\Shots", L"screen", 0, L".jpg"), L"C:\\Shots\\screen0.jpg");
    EXPECT_EQ(SeriesFileName(L"C:\\Shots", L"screen", 10, L".bmp"), L"C:\\Shots\\screen10.bmp");
}

TEST(SeriesFileName, NothingIsTrimmedOrChecked) {
    EXPECT_EQ(SeriesFileName(L"C:\\", L"screen", 0, L".bmp"), L"C:\\\\screen0.bmp");
    EXPECT_EQ(SeriesFileName(L"", L"shot", 3, L".gif"), L"\\shot3.gif");
    EXPECT_EQ(SeriesFileName(L"D:\\x", L" a b ", 1, L".emf"), L"D:\\x\\ a b 1.emf");
}

TEST(SeriesInterval, TableFromOneSecondToOneHour) {
    const int expected[] = {1000,   2000,   3000,   5000,   10000,   25000,  60000,
                            120000, 180000, 300000, 600000, 1800000, 3600000};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(SeriesIntervalMs(i), expected[i]) << i;
}

TEST(SeriesInterval, IndexOutsideTheListIsClamped) {
    EXPECT_EQ(SeriesIntervalMs(-1), 1000);
    EXPECT_EQ(SeriesIntervalMs(13), 3600000);
}

TEST(CountdownStartText, SixTextsClampedAtBothEnds) {
    const wchar_t* expected[] = {L"3", L"5", L"10", L"20", L"30", L"60"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(CountdownStartText(i), expected[i]) << i;
    EXPECT_EQ(CountdownStartText(-4), L"3");
    EXPECT_EQ(CountdownStartText(6), L"60");
}

TEST(ParseCount, ReadsWhatTheCountdownWrites) {
    EXPECT_EQ(ParseCount(L"60"), 60);
    EXPECT_EQ(ParseCount(L"1"), 1);
    EXPECT_EQ(ParseCount(L"0"), 0);
    EXPECT_EQ(ParseCount(L"-1"), -1);
    EXPECT_EQ(ParseCount(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseCount(L"-2147483648"), -2147483647 - 1);
}

TEST(ParseCount, RefusesAnythingElse) {
    // An emptied label is what a failed last tick leaves behind.
    EXPECT_EQ(ParseCount(L""), std::nullopt);
    EXPECT_EQ(ParseCount(L"-"), std::nullopt);
    EXPECT_EQ(ParseCount(L"1 "), std::nullopt);
    EXPECT_EQ(ParseCount(L"x3"), std::nullopt);
    EXPECT_EQ(ParseCount(L"2147483648"), std::nullopt);
    EXPECT_EQ(ParseCount(L"99999999999999999999"), std::nullopt);
}

}  // namespace
}  // namespace base
