/* The off-screen surface that every paint draws into, and the frame font
 * selected into it, in Surface (PanelState.h). Both live from PanelCreate to
 * PanelDestroy; the font is made again on every size change. Each create
 * releases what it replaces, so a second call, or one after a failed first,
 * leaks nothing. */
#pragma once
#include "PanelState.h"

enum { SURFACE_WIDTH = 320, SURFACE_HEIGHT = 240 };
enum : COLORREF { PLAIN_TEXT_COLOUR = 0x808080 };

extern const wchar_t PanelFontFace[]; // "ＭＳ Ｐゴシック", asked for by its wide name on any code page

/* A 320 x 240 surface compatible with the screen, grey text; true when both
 * its device context and its bitmap exist. Releases the surface (and font)
 * there was. */
bool CreateSurface();
/* The frame font of `points` points, selected into the surface in place of
 * the one before, which is released. False when no font could be made: the
 * font before stays (at the first call, the surface's own). */
bool CreatePanelFont(int32_t points);

/* Font height in logical units for a point size at the given resolution. */
int FontHeightForPoints(int32_t points, int pixelsPerInch);

/* Releases font, surface DC and bitmap, each only if present. */
void ReleaseSurface();
