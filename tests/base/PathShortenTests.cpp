// Shortening the save folder for its edit: whole folder names go first, then the drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/PathShorten.h"

namespace base {
namespace {

// Every character 7 px wide, so a limit of 7 * n fits exactly n characters.
int SevenPx(std::wstring_view text) { return static_cast<int>(text.size()) * 7; }

std::wstring Cut(std::wstring dir) {
    CutFirstFolder(dir);
    return dir;
}

TEST(CutFirstFolder, ReplacesTheFirstNameByTheMark) {
    EXPECT_EQ(Cut(L"\\a\\b\\"), L"\\...\\b\\");
    EXPECT_EQ(Cut(L"a\\b\\"), L"...\\b\\");           // no leading "\": none is put back
    EXPECT_EQ(Cut(L"\\...\\b\\c\\"), L"\\...\\c\\");  // an earlier mark is taken off first
    EXPECT_EQ(Cut(L"\\last\\"), L"\\...\\");
    EXPECT_EQ(Cut(L"\\"), L"");
    EXPECT_EQ(Cut(L"noslash"), L"");
}

TEST(CutFirstFolder, DotFolderLosesFourCharactersFirst) {
    // ".a\b" are the four characters taken as a mark, so two names go in one cut.
    EXPECT_EQ(Cut(L"\\.a\\b\\c\\"), L"\\...\\c\\");
    // A dot-name of four characters or more loses only its first four, then the rest of it.
    EXPECT_EQ(Cut(L"\\.config\\x\\"), L"\\...\\x\\");
    // Fewer than four characters in all: the names are gone, the root "\" is put back.
    EXPECT_EQ(Cut(L"\\.a"), L"\\");
    EXPECT_EQ(Cut(L".a"), L"");
}

// A character beyond the Basic Multilingual Plane as its two UTF-16 units (one wchar_t each
// natively too, where wchar_t is wider), as Windows holds it.
const std::wstring kCamera = std::wstring(L"\xD83D") + L"\xDCF7";

TEST(CutFirstFolder, DotFolderCountsCharactersNotUtf16Units) {
    // ".", the camera, "a" and "\" are the four characters taken as the mark, as ".xa\" would
    // be; counted in UTF-16 units the cut would stop before the "\" and leave "b" in.
    EXPECT_EQ(Cut(L"\\." + kCamera + L"a\\b\\c\\"), L"\\...\\c\\");
    EXPECT_EQ(Cut(L"\\.xa\\b\\c\\"), L"\\...\\c\\");
}

TEST(ShortenPath, WorkedExampleStopsAtTheFirstTextThatFits) {
    const std::vector<std::wstring> steps = {
        L"C:\\Documents and Settings\\Owner\\My Documents\\Shots",
        L"C:\\...\\Owner\\My Documents\\Shots",
        L"C:\\...\\My Documents\\Shots",
        L"C:\\...\\Shots",
        L"...\\Shots",
        L"Shots",
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        const int fits = SevenPx(steps[i]);
        EXPECT_EQ(ShortenPath(steps[0], SevenPx, fits), steps[i]) << "step " << i;
        // One pixel less and the next step is taken (the last one stays: nothing to cut).
        const std::wstring& next = steps[std::min(i + 1, steps.size() - 1)];
        EXPECT_EQ(ShortenPath(steps[0], SevenPx, fits - 1), next) << "step " << i;
    }
}

TEST(ShortenPath, ShortPathsAreShownWhole) {
    EXPECT_EQ(ShortenPath(L"C:\\", SevenPx, 195), L"C:\\");
    EXPECT_EQ(ShortenPath(L"C:\\Shots", SevenPx, 195), L"C:\\Shots");
}

TEST(ShortenPath, FolderOfTheRootLosesTheBackslashThenTheDrive) {
    EXPECT_EQ(ShortenPath(L"C:\\Shots", SevenPx, 7 * 7), L"C:Shots");
    EXPECT_EQ(ShortenPath(L"C:\\Shots", SevenPx, 7 * 6), L"Shots");
}

TEST(ShortenPath, PathWithoutDrive) {
    const std::wstring path = L"\\Users\\Me\\Shots";
    EXPECT_EQ(ShortenPath(path, SevenPx, 7 * 13), L"\\...\\Me\\Shots");
    EXPECT_EQ(ShortenPath(path, SevenPx, 7 * 10), L"\\...\\Shots");
    EXPECT_EQ(ShortenPath(path, SevenPx, 7 * 9), L"...\\Shots");
}

TEST(ShortenPath, NameWiderThanTheLimitEndsAlone) {
    EXPECT_EQ(ShortenPath(L"C:\\a\\b\\AVeryLongFolderName", SevenPx, 7 * 5), L"AVeryLongFolderName");
    EXPECT_EQ(ShortenPath(L"JustAName", SevenPx, 7), L"JustAName");
}

TEST(ShortenPath, EmptyPathStaysEmpty) { EXPECT_EQ(ShortenPath(L"", SevenPx, 0), L""); }

TEST(ShortenPath, DecidesByMeasuredWidthNotCharacterCount) {
    // Accented letters twice as wide: C:\Été\Bilder is 13 characters but 105 px.
    auto accentsWide = [](std::wstring_view t) {
        int w = 0;
        for (wchar_t c : t) w += (c < 0x80) ? 7 : 14;
        return w;
    };
    const std::wstring path = L"C:\\\u00c9t\u00e9\\Bilder";
    EXPECT_EQ(ShortenPath(path, accentsWide, 105), path);
    EXPECT_EQ(ShortenPath(path, accentsWide, 98), L"C:\\...\\Bilder");
}

}  // namespace
}  // namespace base
