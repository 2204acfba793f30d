/* The surface and its font. The font leaves the surface before it is
 * deleted, and the surface's device context goes before the bitmap selected
 * into it. */
#include "Surface.h"

// "ＭＳ Ｐゴシック"
const wchar_t PanelFontFace[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";

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
    ReleaseSurface();
    ScreenDC screen;
    Surface.DC = CreateCompatibleDC(screen.get());
    if (!Surface.DC)
        return false;
    // Compatible with the screen, not with the memory DC (which is 1 bit deep).
    Surface.Bitmap = CreateCompatibleBitmap(screen.get(), SURFACE_WIDTH, SURFACE_HEIGHT);
    if (!Surface.Bitmap)
        return false;
    SelectObject(Surface.DC, Surface.Bitmap);
    SetTextColor(Surface.DC, PLAIN_TEXT_COLOUR);
    return true;
}

int FontHeightForPoints(int32_t points, int pixelsPerInch)
{
    // Negative: match the character height, not the cell height.
    return -MulDiv(points, pixelsPerInch, 72);
}

static void DeselectFont()
{
    if (Surface.SavedFont) {
        SelectObject(Surface.DC, Surface.SavedFont);
        Surface.SavedFont = nullptr;
    }
    if (Surface.Font) {
        DeleteObject(Surface.Font);
        Surface.Font = nullptr;
    }
}

bool CreatePanelFont(int32_t points)
{
    ScreenDC screen;
    int height = FontHeightForPoints(points, GetDeviceCaps(screen.get(), LOGPIXELSY));
    HFONT font = CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, PanelFontFace);
    if (!font)
        return false; // the font in use, if any, stays
    DeselectFont();
    Surface.Font = font;
    Surface.SavedFont = (HFONT)SelectObject(Surface.DC, Surface.Font);
    return true;
}

void ReleaseSurface()
{
    DeselectFont();
    if (Surface.DC) {
        DeleteDC(Surface.DC);
        Surface.DC = nullptr;
    }
    if (Surface.Bitmap) {
        DeleteObject(Surface.Bitmap);
        Surface.Bitmap = nullptr;
    }
}
