#include "Picture.h"

#include "Paths.h"

#include <algorithm>
#include <map>

RECT Picture::InkBox(uint32_t background) const
{
    RECT box = {Width, Height, 0, 0};
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            if (At(x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    if (box.right == 0)
        box = RECT{0, 0, 0, 0};
    return box;
}

uint32_t Picture::CommonestInk(uint32_t background) const
{
    std::map<uint32_t, int> counts;
    for (uint32_t p : Pixels)
        if (p != background)
            ++counts[p];
    uint32_t best = 0xFFFFFFFF;
    int most = 0;
    for (const auto &c : counts)
        if (c.second > most) {
            most = c.second;
            best = c.first;
        }
    return best;
}

int Picture::Count(uint32_t colour) const
{
    int n = 0;
    for (uint32_t p : Pixels)
        n += p == colour;
    return n;
}

Picture CaptureDC(HDC dc, int width, int height)
{
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize((size_t)width * height);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t *bgrx = (const uint32_t *)bits;
    for (size_t i = 0; i < picture.Pixels.size(); ++i) {
        uint32_t v = bgrx[i];
        picture.Pixels[i] = ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    return picture;
}

Picture CaptureWindow(HWND window)
{
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Picture picture = CaptureDC(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return picture;
}

Picture CaptureScreen()
{
    HDC screen = GetDC(nullptr);
    Picture picture = CaptureDC(screen, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES));
    ReleaseDC(nullptr, screen);
    return picture;
}

bool SaveBitmap(const Picture &picture, const std::wstring &path)
{
    int stride = (picture.Width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = picture.Width;
    info.biHeight = -picture.Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * picture.Height;
    std::string bytes((const char *)&file, sizeof file);
    bytes.append((const char *)&info, sizeof info);
    for (int y = 0; y < picture.Height; ++y) {
        std::string row(stride, '\0');
        for (int x = 0; x < picture.Width; ++x) {
            uint32_t c = picture.At(x, y);
            row[x * 3] = (char)((c >> 16) & 0xFF);
            row[x * 3 + 1] = (char)((c >> 8) & 0xFF);
            row[x * 3 + 2] = (char)(c & 0xFF);
        }
        bytes += row;
    }
    return WriteFileBytes(path, bytes);
}
