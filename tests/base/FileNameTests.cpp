// What a file name can hold, and the names a replacement is written under.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/FileName.h"
#include "base/TypedPath.h"

namespace base {
namespace {

// The ASCII letters of a name, for failure messages.
std::string Narrow(std::wstring_view name) {
    std::string out;
    for (wchar_t c : name) out += c < 128 ? char(c) : '?';
    return out;
}

TEST(IsCreatableFilePath, FoldersAndNamesAsTheProgramBuildsThem) {
    EXPECT_TRUE(IsCreatableFilePath(L"C:\\Shots\\screen0.jpg"));
    EXPECT_TRUE(IsCreatableFilePath(L"C:\\\\screen0.bmp")) << "a drive root as the save folder";
    EXPECT_TRUE(IsCreatableFilePath(L"\\shot3.gif")) << "an empty save folder";
    EXPECT_TRUE(IsCreatableFilePath(L"D:\\x\\ a b 1.emf"));
    EXPECT_TRUE(IsCreatableFilePath(L"Z:\\tmp\\sub\\shot0.bmp")) << "a \\ in the file name is a sub-folder";
    EXPECT_TRUE(IsCreatableFilePath(L"Z:/tmp/shot0.bmp"));
    EXPECT_TRUE(IsCreatableFilePath(L"\\\\server\\share\\shot0.bmp"));
    EXPECT_TRUE(IsCreatableFilePath(L"\\\\?\\C:\\Shots\\shot0.bmp"));
    EXPECT_TRUE(IsCreatableFilePath(L"\\\\?\\UNC\\server\\share\\shot0.bmp"));
    EXPECT_TRUE(IsCreatableFilePath(L"C:shot.bmp")) << "relative to the drive's folder";
    EXPECT_TRUE(IsCreatableFilePath(L"C:\\a\\..\\b\\.\\shot.bmp"));
    EXPECT_TRUE(IsCreatableFilePath(L"C:\\Bild \u00e4\u00df \u56fe\u7247.png.bmp"));
    EXPECT_TRUE(IsCreatableFilePath(L"C:\\shot.bmp.bmp"));
}

TEST(IsCreatableFilePath, CharactersNoFileNameCanHold) {
    // ':' past the drive would make a stream of another file ("a" with the stream "b0.bmp").
    EXPECT_FALSE(IsCreatableFilePath(L"C:\\Shots\\a:b0.bmp"));
    EXPECT_FALSE(IsCreatableFilePath(L"C:\\Shots:x\\shot0.bmp"));
    EXPECT_FALSE(IsCreatableFilePath(L"1:\\shot0.bmp")) << "not a drive letter";
    for (wchar_t c : std::wstring(L"<>\"|?*")) {
        const std::wstring path = std::wstring(L"C:\\Shots\\a") + c + L"0.bmp";
        EXPECT_FALSE(IsCreatableFilePath(path)) << int(c);
    }
    for (wchar_t c = 1; c < 32; ++c) EXPECT_FALSE(IsCreatableFilePath(std::wstring(L"C:\\a") + c + L".bmp")) << int(c);
    EXPECT_FALSE(IsCreatableFilePath(std::wstring(L"C:\\a\0b.bmp", 10)));
    // The layout hint of the Path edit as the save folder.
    EXPECT_FALSE(IsCreatableFilePath(L"Path|Path to where to save the bitmaps\\shot0.bmp"));
}

TEST(IsCreatableFilePath, DeviceNamesWithAnyExtensionInAnyCase) {
    for (const wchar_t* name : {L"CON", L"PRN", L"AUX", L"NUL", L"COM1", L"COM9", L"LPT1", L"LPT9", L"con.bmp",
                                L"Nul.txt.bmp", L"com3.jpg", L"lPt5", L"CON .bmp", L"COM\u00b9.bmp", L"LPT\u00b3"}) {
        EXPECT_FALSE(IsCreatableFilePath(std::wstring(L"C:\\Shots\\") + name)) << Narrow(name);
        EXPECT_FALSE(IsCreatableFilePath(std::wstring(L"C:\\") + name + L"\\shot0.bmp"));
    }
    // Only the names themselves: longer or other names are files like any other.
    for (const wchar_t* name : {L"CONS.bmp", L"COM.bmp", L"COM10.bmp", L"COM0.bmp", L"LPT.bmp", L"xNUL.bmp",
                                L"AUX1.bmp", L"NULL", L"my.CON", L"COMa.bmp"})
        EXPECT_TRUE(IsCreatableFilePath(std::wstring(L"C:\\Shots\\") + name)) << Narrow(name);
}

TEST(IsCreatableFilePath, TheLastPartMustNameAFile) {
    EXPECT_FALSE(IsCreatableFilePath(L""));
    EXPECT_FALSE(IsCreatableFilePath(L"C:"));
    EXPECT_FALSE(IsCreatableFilePath(L"C:\\Shots\\"));
    EXPECT_FALSE(IsCreatableFilePath(L"C:\\Shots\\.."));
    EXPECT_FALSE(IsCreatableFilePath(L"C:\\Shots\\. . "));
    EXPECT_TRUE(IsCreatableFilePath(L"C:\\Shots\\.bmp"));
}

TEST(FileNameStart, AfterTheLastSeparatorOrTheDrive) {
    EXPECT_EQ(FileNameStart(L"C:\\Shots\\shot0.bmp"), 9u);
    EXPECT_EQ(FileNameStart(L"Z:/tmp/a.bmp"), 7u);
    EXPECT_EQ(FileNameStart(L"C:shot.bmp"), 2u);
    EXPECT_EQ(FileNameStart(L"shot.bmp"), 0u);
    EXPECT_EQ(FileNameStart(L"\\\\server\\share\\x"), 15u);
}

TEST(ReplacementName, NeverLongerThanTheNameAndDifferentForEachAttempt) {
    EXPECT_EQ(ReplacementName(L"shot0.bmp", 0), L"shot0.~00");
    EXPECT_EQ(ReplacementName(L"shot0.bmp", 1), L"shot0.~01");
    EXPECT_EQ(ReplacementName(L"shot0.bmp", 37), L"shot0.~11");
    const struct {
        std::wstring name;
        size_t distinct;
    } cases[] = {{L"a", 37}, {L"ab", 36}, {L"abc", 1296}, {L"shot0.bmp", 1296}, {std::wstring(255, L'x'), 1296}};
    for (const auto& c : cases) {
        std::set<std::wstring> names;
        for (unsigned attempt = 0; attempt < c.distinct; ++attempt) {
            const std::wstring name = ReplacementName(c.name, attempt);
            EXPECT_LE(name.size(), c.name.size());
            EXPECT_TRUE(IsCreatableFilePath(L"C:\\" + name)) << attempt;
            names.insert(name);
        }
        EXPECT_EQ(names.size(), c.distinct) << c.name.size();
    }
}

TEST(ReplacementName, CreatableWheneverTheNameIs) {
    // The mark takes the end of the name: a device name never comes out of a good one, and a
    // character of two UTF-16 units is never cut in half.
    for (const wchar_t* name : {L"COM", L"COM12", L"LPT1x", L"CONxy", L"NUL1.bmp", L"AUXx.y", L"a. b", L"x.y"}) {
        ASSERT_TRUE(IsCreatableFilePath(std::wstring(L"C:\\") + name));
        for (unsigned attempt = 0; attempt < 1296; attempt += 7)
            EXPECT_TRUE(IsCreatableFilePath(L"C:\\" + ReplacementName(name, attempt))) << attempt;
    }
    const wchar_t high = wchar_t(0xD83D), low = wchar_t(0xDE00);  // one character in UTF-16
    EXPECT_EQ(ReplacementName(std::wstring{L'a', L'b', high, low, L'.', L'b', L'm'}, 0),
              (std::wstring{L'a', L'b', high, low, L'~', L'0', L'0'}));
    // The mark would take the second unit alone: the first goes too.
    EXPECT_EQ(ReplacementName(std::wstring{L'a', L'b', high, low, L'x', L'y'}, 0), L"ab~00");
}

// A name typed or pasted into the save dialog, in the folder it shows.
TEST(PathOfTypedName, EveryFormANameBoxTakes) {
    const std::wstring folder = L"C:\\Shots";
    EXPECT_EQ(PathOfTypedName(L"a.bmp", folder), L"C:\\Shots\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"  sub\\a.bmp ", L"C:\\Shots\\"), L"C:\\Shots\\sub\\a.bmp");
    // Explorer's "Copy as path", pasted: the quotes are not part of the name.
    EXPECT_EQ(PathOfTypedName(L"\"D:\\My pictures\\a.bmp\"", folder), L"D:\\My pictures\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L" \"a b.bmp\" ", folder), L"C:\\Shots\\a b.bmp");
    EXPECT_EQ(PathOfTypedName(L"\"a\"b\".bmp\"", folder), L"C:\\Shots\\\"a\"b\".bmp\"")
        << "quotes inside the name are the name's: the system refuses it, not this";
    EXPECT_EQ(PathOfTypedName(L"E:/x/a.bmp", folder), L"E:/x/a.bmp");
    // On the folder's drive "C:a.bmp" is in the folder; on another drive that drive decides.
    EXPECT_EQ(PathOfTypedName(L"c:a.bmp", folder), L"C:\\Shots\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"D:a.bmp", folder), L"D:a.bmp");
    EXPECT_EQ(PathOfTypedName(L"\\a.bmp", folder), L"C:\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"", folder), L"");
    EXPECT_EQ(PathOfTypedName(L" \"\" ", folder), L"");
}

TEST(PathOfTypedName, RootRelativeNamesStayOnTheFoldersShare) {
    EXPECT_EQ(PathOfTypedName(L"\\a.bmp", L"\\\\server\\share\\dir\\sub"), L"\\\\server\\share\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"/a.bmp", L"\\\\server\\share"), L"\\\\server\\share/a.bmp");
    EXPECT_EQ(PathOfTypedName(L"\\a.bmp", L"\\\\?\\C:\\long\\dir"), L"\\\\?\\C:\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"\\a.bmp", L"\\\\?\\UNC\\server\\share\\dir"), L"\\\\?\\UNC\\server\\share\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"C:a.bmp", L"\\\\?\\C:\\long"), L"\\\\?\\C:\\long\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"a.bmp", L"\\\\server\\share\\dir"), L"\\\\server\\share\\dir\\a.bmp");
    EXPECT_EQ(PathOfTypedName(L"\\\\other\\s\\a.bmp", L"C:\\x"), L"\\\\other\\s\\a.bmp");
    EXPECT_EQ(RootOf(L"\\\\server"), L"\\\\server") << "a server without a share";
    EXPECT_EQ(RootOf(L"relative\\dir"), L"");
    EXPECT_EQ(PathOfTypedName(L"\\a.bmp", L"relative"), L"\\a.bmp") << "no root to take it from";
}

}  // namespace
}  // namespace base
