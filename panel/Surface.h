/* The off-screen surface that every paint draws into, and the frame font
 * selected into it. Both live from PanelCreate to PanelDestroy; the font is
 * made again on every size change. */
#pragma once
#include <windows.h>
#include <stdint.h>

enum { SURFACE_WIDTH = 320, SURFACE_HEIGHT = 240 };
enum : COLORREF { PLAIN_TEXT_COLOUR = 0x808080 };

extern HDC SurfaceDC;
extern HBITMAP SurfaceBitmap;
extern HFONT PanelFont;
extern HFONT SavedFont; // the surface's own font, put back before PanelFont goes

extern const char PanelFontFace[]; // "ＭＳ Ｐゴシック" in cp932

bool CreateSurface();
bool CreatePanelFont(int32_t points);

/* Font height in logical units for a point size at the given resolution. */
int FontHeightForPoints(int32_t points, int pixelsPerInch);

/* Releases font, surface DC and bitmap, each only if present. */
void ReleaseSurface();
