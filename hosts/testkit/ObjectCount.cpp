#include "ObjectCount.h"

#include <stdint.h>

static bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The process environment block, asked of ntdll (no compiler intrinsics).
static const uint8_t *ProcessBlock()
{
    struct BasicInformation {
        LONG ExitStatus;
        void *PebBaseAddress;
        ULONG_PTR AffinityMask, BasePriority, UniqueProcessId, InheritedFromUniqueProcessId;
    } info = {};
    typedef LONG(WINAPI * QueryFn)(HANDLE, int, void *, ULONG, ULONG *);
    QueryFn query = (QueryFn)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    if (!query || query(GetCurrentProcess(), 0 /* basic information */, &info, sizeof info, nullptr) != 0)
        return nullptr;
    return (const uint8_t *)info.PebBaseAddress;
}

int CountGdiObjects()
{
    if (!RunningUnderWine())
        return (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const uint8_t *peb = ProcessBlock();
    const uint8_t *table = peb ? *(const uint8_t *const *)(peb + 0x94) : nullptr;
    if (!table)
        return 0;
    int live = 0;
    for (int i = 0; i < 16384; ++i) {
        const uint8_t *entry = table + i * 24;
        if (entry[14] != 0 && !(entry[12] & 0x80))
            ++live;
    }
    return live;
}

static BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*(int *)count;
    return TRUE;
}

static BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    ++*(int *)count;
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

int CountThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, (LPARAM)&count);
    return count;
}

SIZE_T CountCommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char *p = nullptr; VirtualQuery(p, &region, sizeof region);
         p = (const char *)region.BaseAddress + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        if ((uintptr_t)region.BaseAddress + region.RegionSize < (uintptr_t)region.BaseAddress)
            break; // the last region reaches the top of the address space
    }
    return total;
}

void WarmUpGdi()
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HFONT font = CreateFontA(-12, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(memory, font);
    RECT r = {0, 0, 8, 8};
    DrawTextA(memory, "x", 1, &r, 0);
    SelectObject(memory, oldFont);
    DeleteObject(font);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
