#pragma once
// Live GDI objects of this process. GetGuiResources is a stub under Wine (always 0), so there
// they are counted in Wine's GDI handle table, which Wine keeps at PEB.GdiSharedHandleTable:
// 0x10000 entries of 24 bytes whose type byte is 0 while the entry is free. On Windows,
// GetGuiResources counts them. -1 where neither can be read.
#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace fw {

inline int GdiObjectCount() {
#pragma pack(push, 1)
    struct Entry {
        uint64_t object;
        uint32_t owner;
        uint16_t unique;
        uint8_t type;
        uint8_t flags;
        uint64_t userPointer;
    };
#pragma pack(pop)
    static_assert(sizeof(Entry) == 24);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!::GetProcAddress(ntdll, "wine_get_version"))
        return static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    const size_t tableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
    const Entry* table = *reinterpret_cast<const Entry* const*>(peb + tableOffset);
    if (!table) return -1;
    int n = 0;
    for (int i = 0; i < 0x10000; ++i)
        if (table[i].type) ++n;
    return n;
}

}  // namespace fw
