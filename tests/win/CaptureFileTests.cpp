// The bitmap file writer: the file read back field by field, at every depth, and its
// failures, which must leave an earlier file and the folder as they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "capture/BitmapFile.h"
#include "support/ErrorOf.h"
#include "support/Files.h"
#include "support/Pixels.h"

using namespace capture_test;

namespace {

// The message of the FileError that a save raises, or "" when it raises none.
std::wstring SaveError(fw::Bitmap& bitmap, const std::wstring& path) {
    return ErrorOf<fw::FileError>([&] { capture::SaveBitmapFile(bitmap, path); });
}

// A bottom-up DIB section of the given depth whose row bytes and colour table are known.
struct KnownDib {
    int width, height, bits;
    std::vector<RGBQUAD> table;
    std::vector<uint8_t> rows;  // as they lie in the section, bottom row first, padded
};

KnownDib MakeKnownDib(fw::Bitmap& bitmap, int width, int height, int bits) {
    KnownDib dib{width, height, bits, {}, {}};
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bits), BI_RGB};
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i) {
            info.colors[i] = RGBQUAD{BYTE(i * 3), BYTE(255 - i), BYTE(i * 7 + 1), 0};
            dib.table.push_back(info.colors[i]);
        }
    }
    void* bitsPtr = nullptr;
    HBITMAP h = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bitsPtr, nullptr, 0);
    const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    const size_t used = (size_t(width) * bits) / 8;  // whole bytes of pixel data in a row
    dib.rows.assign(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (size_t i = 0; i < used; ++i) {
            uint8_t v = uint8_t(i * 29 + y * 71 + 3);
            if (bits == 32 && i % 4 == 3) v = 0;      // the unused byte of a pixel
            if (bits == 16 && i % 2 == 1) v &= 0x7F;  // 5-5-5: the top bit is unused
            dib.rows[y * stride + i] = v;
        }
    std::memcpy(bitsPtr, dib.rows.data(), dib.rows.size());
    bitmap.Adopt(h);
    return dib;
}

}  // namespace

TEST(CaptureFile, ScreenBitmapIsWrittenAsADibOfItsDepth) {
    // 101 px wide: at 32 bpp a row is 404 bytes, no padding; nothing follows the rows.
    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 101, 7);
    ASSERT_EQ(bitmap.BitsPerPixel(), 32) << "the tests expect a true-colour display";
    TempFolder folder;
    const std::wstring path = folder / L"shot.bmp";
    capture::SaveBitmapFile(bitmap, path);
    const auto file = ReadFileBytes(path);

    const uint32_t image = 404 * 7;
    ASSERT_EQ(file.size(), 54 + image);
    EXPECT_EQ(U16(file, 0), 0x4D42);  // "BM"
    EXPECT_EQ(U32(file, 2), 54 + image);
    EXPECT_EQ(U32(file, 6), 0u);  // both reserved words
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(U32(file, 18), 101u);
    EXPECT_EQ(U32(file, 22), 7u);  // positive: bottom row first
    EXPECT_EQ(U16(file, 26), 1);
    EXPECT_EQ(U16(file, 28), 32);
    EXPECT_EQ(U32(file, 30), 0u);  // BI_RGB
    EXPECT_EQ(U32(file, 34), image);
    EXPECT_EQ(U32(file, 38), 0u);
    EXPECT_EQ(U32(file, 42), 0u);
    EXPECT_EQ(U32(file, 46), 0u);
    EXPECT_EQ(U32(file, 50), 0u);

    // Blue, green, red and an unused byte per pixel, the bottom row first.
    const auto grabbed = PixelsOf(bitmap);
    int wrong = 0;
    for (int row = 0; row < 7; ++row)
        for (int x = 0; x < 101; ++x) {
            const size_t at = 54 + size_t(row) * 404 + size_t(x) * 4;
            const uint32_t pixel = uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16;
            if (pixel != grabbed[size_t(6 - row) * 101 + x]) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(grabbed, PatternArea(0, 0, 101, 7)) << "saving changed the picture";
}

TEST(CaptureFile, EveryDepthKeepsItsRowsPaddingAndColourTable) {
    // Row strides of a 101 px wide picture: padded to whole 32-bit words.
    const struct {
        int bits;
        uint32_t stride;
    } cases[] = {{1, 16}, {4, 52}, {8, 104}, {16, 204}, {24, 304}, {32, 404}};
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        fw::Bitmap bitmap;
        const KnownDib dib = MakeKnownDib(bitmap, 101, 5, c.bits);
        ASSERT_EQ(bitmap.BitsPerPixel(), c.bits);
        const std::wstring path = folder / (L"d" + std::to_wstring(c.bits) + L".bmp");
        capture::SaveBitmapFile(bitmap, path);
        const auto file = ReadFileBytes(path);

        const uint32_t entries = c.bits <= 8 ? 1u << c.bits : 0u;
        const uint32_t offBits = 54 + 4 * entries;
        ASSERT_EQ(file.size(), offBits + c.stride * 5);
        EXPECT_EQ(U32(file, 2), offBits + c.stride * 5);
        EXPECT_EQ(U32(file, 10), offBits);
        EXPECT_EQ(U16(file, 28), c.bits);
        EXPECT_EQ(U32(file, 34), c.stride * 5);
        EXPECT_EQ(U32(file, 46), entries);
        for (uint32_t i = 0; i < entries; ++i) {
            const RGBQUAD& q = dib.table[i];
            EXPECT_EQ(file[54 + 4 * i], q.rgbBlue);
            EXPECT_EQ(file[55 + 4 * i], q.rgbGreen);
            EXPECT_EQ(file[56 + 4 * i], q.rgbRed);
            EXPECT_EQ(file[57 + 4 * i], 0);
        }
        // The whole bytes of every row as the picture holds them; the padding is zero.
        const size_t used = (size_t(101) * c.bits) / 8;
        int wrong = 0, dirtyPadding = 0;
        for (int y = 0; y < 5; ++y) {
            const uint8_t* got = file.data() + offBits + size_t(y) * c.stride;
            const uint8_t* want = dib.rows.data() + size_t(y) * c.stride;
            wrong += !std::equal(got, got + used, want);
            const size_t partial = (size_t(101) * c.bits) % 8 ? 1 : 0;
            dirtyPadding += std::any_of(got + used + partial, got + c.stride, [](uint8_t b) { return b != 0; });
        }
        EXPECT_EQ(wrong, 0) << "rows differ";
        EXPECT_EQ(dirtyPadding, 0);
    }
}

TEST(CaptureFile, AnEmptyBitmapWritesNothing) {
    TempFolder folder;
    fw::Bitmap empty;
    EXPECT_EQ(SaveError(empty, folder / L"nothing.bmp"), L"");
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(CaptureFile, ReplacesAnEarlierFileAndTakesAnyName) {
    TempFolder folder;
    // Non-ASCII names and a second extension: the name is used as it stands.
    const std::wstring path = folder / L"Bild \u00e4\u00df \u56fe\u7247.png.bmp";
    ASSERT_TRUE(WriteFileBytes(path, {'o', 'l', 'd'}));
    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 10, 4);
    capture::SaveBitmapFile(bitmap, path);
    const auto file = ReadFileBytes(path);
    ASSERT_EQ(file.size(), 54u + 40 * 4);
    EXPECT_EQ(U16(file, 0), 0x4D42);
    EXPECT_EQ(folder.Entries().size(), 1u) << "a temporary file was left beside the target";
}

TEST(CaptureFile, AFailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    TempFolder folder;
    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 33, 9);
    const std::vector<uint8_t> old = {'k', 'e', 'e', 'p', ' ', 'm', 'e'};

    // A folder that does not exist.
    const std::wstring missing = folder / L"no such folder\\shot.bmp";
    EXPECT_EQ(SaveError(bitmap, missing), L"Cannot create file " + missing);
    EXPECT_TRUE(folder.Entries().empty());

    // A folder in the way of the file.
    const std::wstring directory = folder / L"taken.bmp";
    ASSERT_TRUE(::CreateDirectoryW(directory.c_str(), nullptr));
    EXPECT_EQ(SaveError(bitmap, directory), L"Cannot create file " + directory);
    EXPECT_NE(::GetFileAttributesW(directory.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"taken.bmp"});

    // An earlier file that another program holds open without sharing.
    const std::wstring locked = folder / L"locked.bmp";
    ASSERT_TRUE(WriteFileBytes(locked, old));
    HANDLE holder = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveError(bitmap, locked), L"Cannot create file " + locked);
    ::CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(locked), old);
    EXPECT_EQ(folder.Entries().size(), 2u) << "a temporary file was left beside the target";

    // A name the file system cannot take.
    const std::wstring invalid = folder / L"what?.bmp";
    EXPECT_EQ(SaveError(bitmap, invalid), L"Cannot create file " + invalid);
    EXPECT_EQ(folder.Entries().size(), 2u);
}

TEST(CaptureFile, ANameNoFileCanHaveIsRefusedAndNothingIsWrittenAnywhere) {
    TempFolder folder;
    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 33, 9);
    FolderWatch watch(folder.Path());
    ASSERT_TRUE(watch.Watching());
    // A ":" would write a stream of a file "a" (under Wine: a file of that name), a device
    // name the device; a part too long for any file system is refused by the system, and the
    // save must not try its way beside the target for it.
    const std::wstring names[] = {L"a:b0.bmp",         L"x?0.bmp",
                                  L"x*0.bmp",          L"x<0.bmp",
                                  L"x>0.bmp",          L"x|0.bmp",
                                  L"x\"0.bmp",         L"x\t0.bmp",
                                  L"CON.bmp",          L"nul",
                                  L"COM1.bmp",         L"lpt3.jpg",
                                  L"sub:x\\shot0.bmp", std::wstring(300, L'n') + L"0.bmp"};
    for (const std::wstring& name : names) {
        const std::wstring path = folder / name;
        EXPECT_EQ(SaveError(bitmap, path), L"Cannot create file " + path) << fw::Utf8(name.substr(0, 20));
    }
    EXPECT_EQ(watch.NamesSeen(), std::vector<std::wstring>{}) << "a refused name wrote a file all the same";
    EXPECT_TRUE(folder.Entries().empty());

    // A "\" in the name keeps its meaning: a file in a sub-folder.
    ASSERT_TRUE(::CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    EXPECT_EQ(SaveError(bitmap, folder / L"sub\\shot0.bmp"), L"");
    EXPECT_EQ(U16(ReadFileBytes(folder / L"sub\\shot0.bmp"), 0), 0x4D42);
}

TEST(CaptureFile, ReplacingWorksWhereverTheNameFitsAndLeavesNoOtherName) {
    // The replacement is written beside the earlier file under a name no longer than the
    // target's: at the longest path the system takes without a prefix (259 characters) a
    // longer name beside it would not fit.
    TempFolder folder;
    std::wstring deep = folder.Path();
    // Folders this deep are made with the long-path prefix (without it the limit for a folder
    // is 248 characters).
    const auto makeFolder = [](const std::wstring& path) {
        return ::CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr) != FALSE;
    };
    while (deep.size() + 1 + 40 + 1 + 5 < MAX_PATH - 1) {
        deep += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(makeFolder(deep));
    }
    deep += L"\\" + std::wstring(MAX_PATH - 1 - deep.size() - 1 - 6, L'e');
    ASSERT_TRUE(makeFolder(deep));
    const std::wstring target = deep + L"\\a.bmp";
    ASSERT_EQ(target.size(), size_t(MAX_PATH - 1));
    ASSERT_TRUE(WriteFileBytes(target, {'o', 'l', 'd'}));

    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 12, 5);
    FolderWatch watch(deep);
    ASSERT_TRUE(watch.Watching());
    EXPECT_EQ(SaveError(bitmap, target), L"");
    const auto file = ReadFileBytes(target);
    ASSERT_EQ(file.size(), 54u + 48 * 5);
    EXPECT_EQ(U16(file, 0), 0x4D42);
    for (const std::wstring& name : watch.NamesSeen())
        EXPECT_LE(name.size(), 5u) << "a name longer than the target's was made beside it: " << fw::Utf8(name);
    EXPECT_EQ(FolderEntries(deep), std::vector<std::wstring>{L"a.bmp"});

    // A one-letter name is replaced too, and a read-only earlier file is refused before
    // anything is written, as a plain replace would be.
    const std::wstring shortName = folder / L"b";
    ASSERT_TRUE(WriteFileBytes(shortName, {'o', 'l', 'd'}));
    EXPECT_EQ(SaveError(bitmap, shortName), L"");
    EXPECT_EQ(ReadFileBytes(shortName).size(), 54u + 48 * 5);
    const std::wstring readOnly = folder / L"ro.bmp";
    ASSERT_TRUE(WriteFileBytes(readOnly, {'o', 'l', 'd'}));
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    FolderWatch watchTop(folder.Path());
    ASSERT_TRUE(watchTop.Watching());
    EXPECT_EQ(SaveError(bitmap, readOnly), L"Cannot create file " + readOnly);
    EXPECT_EQ(watchTop.NamesSeen(), std::vector<std::wstring>{});
    EXPECT_EQ(ReadFileBytes(readOnly), (std::vector<uint8_t>{'o', 'l', 'd'}));
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CaptureFile, APathPastTheClassicLimitIsWrittenWhereTheSystemTakesIt) {
    // The program declares itself long-path aware; whether a path of more than MAX_PATH
    // characters is taken is the system's choice (Windows: a policy; Wine: always).
    TempFolder folder;
    const std::wstring deep = folder.Path() + L"\\" + std::wstring(150, L'p') + L"\\\u0444\u56fe" +
                              std::wstring(L"\xD83D") + L"\xDCF7" + std::wstring(150, L'q');
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep.substr(0, deep.rfind(L'\\'))).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    const std::wstring target = deep + L"\\shot0.bmp";
    ASSERT_GT(target.size(), size_t(MAX_PATH));
    HANDLE probe = ::CreateFileW((deep + L"\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    const bool taken = probe != INVALID_HANDLE_VALUE;
    if (taken) {
        ::CloseHandle(probe);
        ::DeleteFileW((deep + L"\\probe").c_str());
    }
    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 12, 5);
    FolderWatch watch(L"\\\\?\\" + deep);
    ASSERT_TRUE(watch.Watching());
    if (!taken) {
        EXPECT_EQ(SaveError(bitmap, target), L"Cannot create file " + target);
        EXPECT_EQ(watch.NamesSeen(), std::vector<std::wstring>{});
        return;
    }
    // A new file, then the same name again: replaced, and nothing left beside it.
    EXPECT_EQ(SaveError(bitmap, target), L"");
    FillWithPattern(bitmap, 20, 5);
    EXPECT_EQ(SaveError(bitmap, target), L"");
    const auto file = ReadFileBytes(target);
    ASSERT_EQ(file.size(), 54u + 80 * 5);
    EXPECT_EQ(U16(file, 0), 0x4D42);
    EXPECT_EQ(FolderEntries(deep), std::vector<std::wstring>{L"shot0.bmp"});
}

// Disk full needs a small file system of its own, which a test cannot make: the test
// environment mounts one (256 KiB) as a drive and names it in WINE_ENV_FULL_DISK ("R:").
TEST(CaptureFile, ADiskFullWriteKeepsTheOldFile) {
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"WINE_ENV_FULL_DISK", full, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH)
        << "WINE_ENV_FULL_DISK names no small drive: run under WineEnvUp --full-disk";
    const std::wstring folder = full;
    const std::wstring target = folder + L"\\series0.bmp";
    const std::vector<uint8_t> old(100, 'x');
    ASSERT_TRUE(WriteFileBytes(target, old));
    fw::Bitmap bitmap;
    bitmap.SetSize(1000, 1000);  // 4 MB at 32 bpp: more than the file system holds
    EXPECT_EQ(SaveError(bitmap, target), L"Stream write error");
    EXPECT_EQ(ReadFileBytes(target), old);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::wstring>{L"series0.bmp"}) << "a temporary file was left behind";
    ::DeleteFileW(target.c_str());
}
