/* Painting the panel: the frame on show, through the off-screen surface. The
 * drawing itself (DrawFrame) also serves the art tool's previews, so a
 * preview is the panel's own picture. */
#pragma once
#include "PanelState.h"

enum { TEXT_INSET = 8 }; // pixels from the left and the top of the client area

/* What one paint shows: the frame text in its colour, drawn through the
 * off-screen surface and clipped to the panel window's client area. */
struct PanelPicture {
    HDC Surface;
    RECT Client;
    const wchar_t *Text;
    COLORREF Colour;
};

/* The picture window shows at its next paint: the frame on show, grey, or in
 * the rainbow colour of the next phase. The phase steps on every paint,
 * cycling or not, so this steps it. Text is null when there was no memory
 * to convert the frame. */
PanelPicture NextPicture(HWND window);

/* Draws the picture into dc through its surface with one BitBlt; reads no
 * module state and makes no GDI object. A picture without text draws
 * nothing. */
void PaintPanel(HDC dc, const PanelPicture &picture);

/* Draws `text` (a frame's text in UTF-16) into `surface` as the panel shows it: the whole surface white,
 * then the text in `colour` and the surface's font from TEXT_INSET in,
 * clipped to `client` (the panel window's client area). */
void DrawFrame(HDC surface, RECT client, const wchar_t *text, COLORREF colour);

/* The pixels `text` takes when DrawFrame draws it in the surface's font. */
SIZE MeasureFrame(HDC surface, const wchar_t *text);
