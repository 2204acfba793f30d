#include "Surface.h"

HDC SurfaceDC = nullptr;
HBITMAP SurfaceBitmap = nullptr;
HFONT PanelFont = nullptr;
HFONT SavedFont = nullptr;

// "ＭＳ Ｐゴシック"
const char PanelFontFace[] = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

namespace {
// The screen's device context, released on every path.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { if (dc_) ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC &) = delete;
    ScreenDC &operator=(const ScreenDC &) = delete;
    HDC get() const { return dc_; }
private:
    HDC dc_;
};
} // namespace

bool CreateSurface()
{
    ScreenDC screen;
    SurfaceDC = CreateCompatibleDC(screen.get());
    if (!SurfaceDC)
        return false;
    // Compatible with the screen, not with the memory DC (which is 1 bit deep).
    SurfaceBitmap = CreateCompatibleBitmap(screen.get(), SURFACE_WIDTH, SURFACE_HEIGHT);
    if (!SurfaceBitmap)
        return false;
    SelectObject(SurfaceDC, SurfaceBitmap);
    SetTextColor(SurfaceDC, PLAIN_TEXT_COLOUR);
    return true;
}

int FontHeightForPoints(int32_t points, int pixelsPerInch)
{
    // Negative: match the character height, not the cell height.
    return -MulDiv(points, pixelsPerInch, 72);
}

static void DeselectFont()
{
    if (SavedFont) {
        SelectObject(SurfaceDC, SavedFont);
        SavedFont = nullptr;
    }
    if (PanelFont) {
        DeleteObject(PanelFont);
        PanelFont = nullptr;
    }
}

bool CreatePanelFont(int32_t points)
{
    DeselectFont();
    ScreenDC screen;
    int height = FontHeightForPoints(points, GetDeviceCaps(screen.get(), LOGPIXELSY));
    PanelFont = CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, PanelFontFace);
    if (!PanelFont)
        return false;
    SavedFont = (HFONT)SelectObject(SurfaceDC, PanelFont);
    return true;
}

void ReleaseSurface()
{
    // The font leaves the DC before it is deleted; the DC goes before the
    // bitmap selected into it.
    DeselectFont();
    if (SurfaceDC) {
        DeleteDC(SurfaceDC);
        SurfaceDC = nullptr;
    }
    if (SurfaceBitmap) {
        DeleteObject(SurfaceBitmap);
        SurfaceBitmap = nullptr;
    }
}
