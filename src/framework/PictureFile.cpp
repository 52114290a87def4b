#include "framework/PictureFile.h"

namespace fw {

namespace {

// Files whose contents are elsewhere: reading one fetches it from a slow or offline store
// (a cloud drive's placeholder, an archived file).
constexpr DWORD kNotHere =
    FILE_ATTRIBUTE_OFFLINE | 0x00040000 /* RECALL_ON_OPEN */ | 0x00400000 /* RECALL_ON_DATA_ACCESS */;

}  // namespace

BitmapHandle LoadPictureFile(const std::wstring& path, SIZE& size) {
    size = SIZE{0, 0};
    if (path.empty()) return {};
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | kNotHere))) return {};
    BitmapHandle picture(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!picture || !::GetObjectW(picture.Get(), sizeof info, &info)) return {};
    size = SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    return picture;
}

void DrawPicture(HDC dc, HBITMAP picture, SIZE size, const RECT& target) {
    MemoryDc source(::CreateCompatibleDC(dc));
    SelectGuard select(source.Get(), picture);
    SavedDc saved(dc);
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.Get(), 0,
                 0, size.cx, size.cy, SRCCOPY);
}

}  // namespace fw
