/* Pixels read back from a window, a device context or the screen, for the
 * art tool's previews, the painting tests and the demo tour, and written out
 * as BMP files. */
#pragma once
#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

struct Picture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels; // COLORREF values, row by row

    uint32_t At(int x, int y) const { return Pixels[(size_t)y * Width + x]; }
    /* Bounding box of pixels that are not `background`; empty when none. */
    RECT InkBox(uint32_t background = 0xFFFFFF) const;
    /* The commonest colour other than `background` (0xFFFFFFFF when none). */
    uint32_t CommonestInk(uint32_t background = 0xFFFFFF) const;
    int Count(uint32_t colour) const;
};

/* Copies width x height pixels from (0, 0) of dc. */
Picture CaptureDC(HDC dc, int width, int height);
/* Paints the window now and copies its client area. */
Picture CaptureWindow(HWND window);
/* The whole screen, other processes' windows and menus included. */
Picture CaptureScreen();
/* Writes the picture as a 24-bit BMP file. */
bool SaveBitmap(const Picture &picture, const std::wstring &path);
