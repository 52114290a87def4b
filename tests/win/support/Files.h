#pragma once
// Files for the tests that save: whole files read and written, little-endian fields, a
// scratch folder and a watch on what comes into a folder.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace capture_test {

std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::wstring& path);
// The names in a folder but "." and "..", in the system's listing order.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

// Little-endian fields of a file read back.
inline uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}
inline uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b.at(at) | b.at(at + 1) << 8); }

// A new folder under the system's temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // The names in the folder, in the system's listing order.
    std::vector<std::wstring> Entries() const;

private:
    std::wstring path_;
};

// Watches a folder from construction on and tells every name that came into it (made, or the
// new and the old name of a rename), as the system reports them: a file written and removed
// again between two looks is seen too.
class FolderWatch {
public:
    explicit FolderWatch(const std::wstring& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Watching() const { return pending_; }

    // The names seen until `quietMs` passed without a new report.
    std::vector<std::wstring> NamesSeen(DWORD quietMs = 400);

private:
    void Ask();
    HANDLE dir_;
    HANDLE event_;
    OVERLAPPED overlapped_{};
    alignas(DWORD) BYTE buffer_[16384];
    bool pending_ = false;
    std::vector<std::wstring> names_;
};

}  // namespace capture_test
