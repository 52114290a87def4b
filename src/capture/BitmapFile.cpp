#include "capture/BitmapFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/BmpLayout.h"
#include "base/FileName.h"
#include "framework/Error.h"
#include "framework/Gdi.h"

namespace capture {

namespace {

constexpr DWORD kWriteChunk = 4u << 20;  // a few large writes; one per row costs ~5 us each

[[noreturn]] void ThrowCannotCreate(const std::wstring& target) {
    throw fw::FileError(fw::FormatMessage1(L"Cannot create file %s", target));
}

// Room for the information header and the largest colour table (8 bpp).
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

DibInfo DibInfoFor(const base::BmpLayout& layout) {
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = layout.width;
    info.header.biHeight = layout.height;  // positive: bottom row first, as in the file
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(layout.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = layout.imageSize;
    return info;
}

// Sizes `file` for a layout. The buffer is kept from one save to the next: a series saves
// the same size every tick, and fresh memory of a full-screen picture costs more in page
// faults than the copy into it. It shrinks when a much smaller picture follows.
void SizeBuffer(std::vector<uint8_t>& file, size_t size) {
    if (size < file.capacity() / 2) std::vector<uint8_t>().swap(file);
    file.resize(size);
}

// Row padding is not ours to leave to chance in a reused buffer: zero it.
void ClearPadding(std::vector<uint8_t>& file, const base::BmpLayout& layout) {
    const size_t used = (size_t(layout.width) * size_t(layout.bitsPerPixel) + 7) / 8;
    if (used == layout.rowStride) return;
    for (int y = 0; y < layout.height; ++y) {
        uint8_t* row = file.data() + layout.offBits + size_t(y) * layout.rowStride;
        std::memset(row + used, 0, layout.rowStride - used);
    }
}

// The whole file in memory: headers, colour table (8 bpp or fewer) and pixel rows.
void EncodeBitmapFile(fw::Bitmap& bitmap, std::vector<uint8_t>& file) {
    const base::BmpLayout layout = base::ComputeBmpLayout(bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel());
    SizeBuffer(file, layout.fileSize);
    const auto headers = base::EncodeBmpHeaders(layout);
    std::memcpy(file.data(), headers.data(), headers.size());

    DibInfo info = DibInfoFor(layout);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(&info);
    const int height = layout.height;

    if (layout.colorTableEntries == 0) {
        // Deeper than 8 bpp: the rows go straight into their place in the file, read with the
        // bitmap left in its own DC, as Windows' own screen-capture example reads its grab:
        // no colour table is involved, and the next grab finds the bitmap where it wants it.
        if (::GetDIBits(bitmap.Dc(), bitmap.Handle(), 0, UINT(height), file.data() + layout.offBits, bmi,
                        DIB_RGB_COLORS) != height)
            throw fw::OutOfResources();
        ClearPadding(file, layout);
        return;
    }

    // GetDIBits with a colour table wants the bitmap selected into no DC; the bitmap selects
    // itself again when its DC is next used.
    bitmap.Deselect();
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) throw fw::OutOfResources();

    // A palette depth: the indices mean something only with the table they were read with.
    // Ask for the table first, make the device-independent bitmap with it, read the rows into
    // that, and write the table that the DIB itself reports. A DDB of a palette display
    // carries its palette: both reads see it selected, so the table and the rows agree.
    fw::PaletteSelection selection(dc.Get(), bitmap.Palette());
    if (!::GetDIBits(dc.Get(), bitmap.Handle(), 0, UINT(height), nullptr, bmi, DIB_RGB_COLORS))
        throw fw::OutOfResources();
    info.header.biClrUsed = 0;  // the call above may have set it; the DIB gets a full table
    void* bits = nullptr;
    fw::BitmapHandle dib(::CreateDIBSection(dc.Get(), bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) throw fw::OutOfResources();
    if (::GetDIBits(dc.Get(), bitmap.Handle(), 0, UINT(height), bits, bmi, DIB_RGB_COLORS) != height)
        throw fw::OutOfResources();
    RGBQUAD table[256]{};
    {
        fw::MemoryDc dibDc(::CreateCompatibleDC(nullptr));
        fw::SelectGuard select(dibDc.Get(), dib.Get());
        ::GetDIBColorTable(dibDc.Get(), 0, layout.colorTableEntries, table);
    }
    for (RGBQUAD& entry : table) entry.rgbReserved = 0;
    std::memcpy(file.data() + base::kBmpHeadersSize, table, layout.colorTableEntries * sizeof(RGBQUAD));
    ::GdiFlush();  // the DIB's bits are complete before they are read directly
    std::memcpy(file.data() + layout.offBits, bits, layout.imageSize);
    ClearPadding(file, layout);
}

// The file being written for a target. A name that is new (as each file of a series is) is
// written in place: CREATE_NEW makes it only if no file of that name exists, so nothing
// earlier can be lost, and it is removed again if the write fails. Only when a file of that
// name exists is the new one written beside it, under a name no longer than the target's (so
// that it fits wherever the target fits), and renamed over it once complete. Any other refusal
// of the name is the end of the save: nothing is written anywhere. Removed on destruction
// unless committed.
class PendingFile {
public:
    explicit PendingFile(const std::wstring& target) : target_(target) {
        file_.Reset(Create(target));
        if (file_) {
            path_ = target;
            inPlace_ = true;
            return;
        }
        if (!NameTaken()) ThrowCannotCreate(target_);
        // Refused before anything is written, as CREATE_ALWAYS would refuse it: a folder or a
        // read-only file in the way, a file that another program holds or that may not be
        // written. The look costs nothing on the way of a new name.
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            ThrowCannotCreate(target_);
        if (!fw::KernelHandle(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr)))
            ThrowCannotCreate(target_);
        const size_t nameStart = base::FileNameStart(target);
        const std::wstring folder = target.substr(0, nameStart);
        const std::wstring_view name = std::wstring_view(target).substr(nameStart);
        // CREATE_NEW never takes over somebody else's file; a name in use moves on to the next.
        for (unsigned attempt = 0; attempt < kReplacementAttempts; ++attempt) {
            std::wstring beside = folder + base::ReplacementName(name, attempt);
            file_.Reset(Create(beside));
            if (file_) {
                path_ = std::move(beside);
                return;
            }
            if (!NameTaken()) break;
        }
        ThrowCannotCreate(target_);
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        file_.Reset();
        if (!path_.empty()) ::DeleteFileW(path_.c_str());
    }

    void Write(const uint8_t* data, size_t size) {
        while (size > 0) {
            const DWORD chunk = DWORD(std::min<size_t>(size, kWriteChunk));
            DWORD written = 0;
            if (!::WriteFile(file_.Get(), data, chunk, &written, nullptr) || written != chunk)
                throw fw::FileError(L"Stream write error");
            data += chunk;
            size -= chunk;
        }
    }

    // Closes the file and puts it in the target's place, replacing an earlier file there.
    void Commit() {
        file_.Reset();
        if (inPlace_) {
            path_.clear();
            return;
        }
        if (!::MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            ThrowCannotCreate(target_);
        path_.clear();
    }

private:
    static constexpr unsigned kReplacementAttempts = 64;

    static HANDLE Create(const std::wstring& path) {
        return ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    }
    // Whether the last CREATE_NEW failed because the name is in use.
    static bool NameTaken() {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    }

    std::wstring target_;
    std::wstring path_;
    fw::KernelHandle file_;
    bool inPlace_ = false;
};

}  // namespace

void SaveBitmapFile(fw::Bitmap& bitmap, const std::wstring& path) {
    if (bitmap.Empty()) return;
    // A name no file can have: a ":" would write a stream of another file and a device name
    // the device, so the file system is not even asked.
    if (!base::IsCreatableFilePath(path)) ThrowCannotCreate(path);
    // Read the pixels out first: a bitmap that cannot be read leaves no file behind at all.
    thread_local std::vector<uint8_t> file;
    EncodeBitmapFile(bitmap, file);
    PendingFile pending(path);
    pending.Write(file.data(), file.size());
    pending.Commit();
}

}  // namespace capture
