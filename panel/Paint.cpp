/* Painting: every paint redraws the whole frame into the off-screen surface
 * and copies it to the window with one BitBlt, so no GDI object is made here. */
#include "Paint.h"

#include "Frames.h"
#include "Rainbow.h"
#include "Surface.h"

void PaintPanel(HDC dc)
{
    PatBlt(Surface.DC, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, WHITENESS);

    // The phase steps on every paint, cycling or not.
    Colour.Phase += 10;
    if (Colour.Phase > 80)
        Colour.Phase = 0;
    SetTextColor(Surface.DC, Colour.Cycling ? (COLORREF)RainbowColour(Colour.Phase) : PLAIN_TEXT_COLOUR);

    RECT rect;
    GetClientRect(Panel.Window, &rect);
    rect.left += TEXT_INSET;
    rect.top += TEXT_INSET;
    DrawTextA(Surface.DC, CurrentFrameText(), -1, &rect, 0);

    BitBlt(dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, Surface.DC, 0, 0, SRCCOPY);
}
