// Counts of a process's objects. Under Wine GetProcessHandleCount and GetGuiResources give 0,
// so the handles come from the system's handle list and the GDI objects from the process's GDI
// handle table; windows stand for the USER objects.
#include "support/objectcount.h"

#include <psapi.h>

#include <vector>

long CountHandles(HANDLE process, DWORD processId)
{
    typedef LONG(NTAPI * QuerySystem)(ULONG, void*, ULONG, ULONG*);
    QuerySystem query = reinterpret_cast<QuerySystem>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    const ULONG ExtendedHandleList = 64;
    const LONG LengthMismatch = static_cast<LONG>(0xC0000004L);
    struct Entry {
        void* object;
        ULONG_PTR processId, handle;
        ULONG access;
        USHORT backTrace, type;
        ULONG attributes, reserved;
    };
    LONG status = -1;
    std::vector<unsigned char> list(1 << 16);
    if (query) {
        ULONG needed = 0;
        while ((status = query(ExtendedHandleList, list.data(), static_cast<ULONG>(list.size()), &needed)) ==
               LengthMismatch)
            list.resize(list.size() * 2);
    }
    if (status != 0) {
        DWORD count = 0;
        return GetProcessHandleCount(process, &count) ? static_cast<long>(count) : -1;
    }
    ULONG_PTR count = *reinterpret_cast<ULONG_PTR*>(list.data());
    const Entry* entries = reinterpret_cast<const Entry*>(list.data() + 2 * sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG_PTR i = 0; i < count; ++i) mine += entries[i].processId == processId;
    return mine;
}

long CountGdiObjects(HANDLE process)
{
    DWORD reported = GetGuiResources(process, GR_GDIOBJECTS);
    if (reported) return static_cast<long>(reported);
    typedef LONG(NTAPI * QueryProcess)(HANDLE, ULONG, void*, ULONG, ULONG*);
    QueryProcess query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return -1;
    struct BasicInformation {
        LONG_PTR exitStatus;
        unsigned char* peb;
        ULONG_PTR affinity;
        LONG_PTR priority;
        ULONG_PTR processId, parentId;
    } basic = {};
    ULONG got = 0;
    if (query(process, 0, &basic, sizeof basic, &got) != 0) return -1;
    // The process block's GdiSharedHandleTable; Wine keeps each process's table there, 65536
    // entries of 24 bytes. A live entry has a nonzero type; a freed one has type 0 and keeps,
    // in its object field, the link to the next free entry, so that field says nothing.
    const SIZE_T TableField = 0xF8;
    struct GdiEntry {
        unsigned long long object;
        ULONG owner;
        USHORT instance, type;
        unsigned long long user;
    };
    static_assert(sizeof(GdiEntry) == 24, "Wine's GDI handle entry");
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, basic.peb + TableField, &table, sizeof table, &read) || !table) return -1;
    std::vector<GdiEntry> entries(0x10000);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiEntry), &read)) return -1;
    long used = 0;
    for (const GdiEntry& e : entries) used += e.type != 0;
    return used;
}

namespace {
struct WindowCount {
    DWORD processId;
    long count;
};

// Child windows are enumerated from each top-level window, which already walks all
// descendants; only top-level windows start a walk.
BOOL CALLBACK CountChild(HWND window, LPARAM param)
{
    WindowCount* c = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == c->processId) ++c->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param)
{
    WindowCount* c = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != c->processId) return TRUE;
    ++c->count;
    EnumChildWindows(window, CountChild, param);
    return TRUE;
}
}  // namespace

long CountWindows(DWORD processId)
{
    WindowCount windows = {processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows.count;
}

long CountUserObjects(HANDLE process) { return static_cast<long>(GetGuiResources(process, GR_USEROBJECTS)); }

SIZE_T PrivateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        return 0;
    return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}
