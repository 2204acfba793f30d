/* Painting the panel: the frame on show, through the off-screen surface. The
 * drawing itself (DrawFrame) also serves the art tool's previews, so a
 * preview is the panel's own picture. */
#pragma once
#include "PanelState.h"

enum { TEXT_INSET = 8 }; // pixels from the left and the top of the client area

/* Draws the current frame through the surface into dc, stepping the colour
 * phase; makes no GDI object. */
void PaintPanel(HDC dc);

/* Draws `text` into `surface` as the panel shows it: the whole surface white,
 * then the text in `colour` and the surface's font from TEXT_INSET in,
 * clipped to `client` (the panel window's client area). */
void DrawFrame(HDC surface, RECT client, const char *text, COLORREF colour);

/* The pixels `text` takes when DrawFrame draws it in the surface's font. */
SIZE MeasureFrame(HDC surface, const char *text);
