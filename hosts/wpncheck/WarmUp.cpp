#include "WarmUp.h"

#include "MenuCloser.h"
#include "ObjectCount.h"

void WarmUpHost(HWND owner)
{
    WarmUpGdi();
    HDC screen = GetDC(owner);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    // A face-less font in the ANSI code page's character set, drawing both
    // single- and double-byte text (cp932: "A" and a katakana letter).
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
    HGDIOBJ oldFont = SelectObject(memory, font);
    RECT r = {0, 0, 64, 64};
    DrawTextA(memory, "A\x83\x41\r\n&x", -1, &r, DT_LEFT | DT_NOCLIP);
    BitBlt(screen, 0, 0, 8, 8, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldFont);
    DeleteObject(font);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(owner, screen);

    HMENU menu = CreatePopupMenu(), sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 2, "\x83\x41(&b)");
    AppendMenuA(menu, MF_STRING, 1, "\x83\x41(&a)...");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, (UINT_PTR)sub, "\x83\x41(&c)");
    CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED);
    {
        MenuCloser closer;
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, 40, 40, 0, owner, nullptr);
    }
    DestroyMenu(menu);
}
