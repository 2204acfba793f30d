#include "ObjectCount.h"

#include <stdint.h>

static bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

int CountGdiObjects()
{
    if (!RunningUnderWine())
        return (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const uint8_t *teb = (const uint8_t *)NtCurrentTeb();
    const uint8_t *peb = *(const uint8_t *const *)(teb + 0x30);
    const uint8_t *table = *(const uint8_t *const *)(peb + 0x94);
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
