#include "support/Files.h"

namespace capture_test {

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    std::vector<uint8_t> out;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(h, &size);
    out.resize(size_t(size.QuadPart));
    DWORD read = 0;
    if (!out.empty()) ::ReadFile(h, out.data(), DWORD(out.size()), &read, nullptr);
    out.resize(read);
    ::CloseHandle(h);
    return out;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
    return ok && written == bytes.size();
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

namespace {

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(full);
            else
                ::DeleteFileW(full.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ =
        std::wstring(base) + L"sv-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveFolder(path_); }

std::vector<std::wstring> TempFolder::Entries() const { return FolderEntries(path_); }

FolderWatch::FolderWatch(const std::wstring& folder)
    : dir_(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
      event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    Ask();
}

FolderWatch::~FolderWatch() {
    if (pending_) {
        ::CancelIo(dir_);
        DWORD ignored = 0;
        ::GetOverlappedResult(dir_, &overlapped_, &ignored, TRUE);
    }
    ::CloseHandle(event_);
    if (dir_ != INVALID_HANDLE_VALUE) ::CloseHandle(dir_);
}

std::vector<std::wstring> FolderWatch::NamesSeen(DWORD quietMs) {
    while (pending_ && ::WaitForSingleObject(event_, quietMs) == WAIT_OBJECT_0) {
        DWORD bytes = 0;
        pending_ = false;
        if (!::GetOverlappedResult(dir_, &overlapped_, &bytes, FALSE)) break;
        for (size_t at = 0; bytes > 0 && at < bytes;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
            if (info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_OLD_NAME ||
                info->Action == FILE_ACTION_RENAMED_NEW_NAME)
                names_.emplace_back(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (!info->NextEntryOffset) break;
            at += info->NextEntryOffset;
        }
        Ask();
    }
    return names_;
}

void FolderWatch::Ask() {
    if (dir_ == INVALID_HANDLE_VALUE) return;
    ::ResetEvent(event_);
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_;
    pending_ = ::ReadDirectoryChangesW(dir_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                       &overlapped_, nullptr) != FALSE;
}

}  // namespace capture_test
