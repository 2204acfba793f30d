/* Painting: every paint redraws the whole frame into the off-screen surface
 * and copies it to the window with one BitBlt, so no GDI object is made here. */
#include "Frames.h"
#include "PanelWindow.h"
#include "Rainbow.h"
#include "Surface.h"

bool ColourCycling = false;
double ColourPhase = 0.0;

void PaintPanel(HDC dc)
{
    PatBlt(SurfaceDC, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, WHITENESS);

    // The phase steps on every paint, cycling or not.
    ColourPhase += 10;
    if (ColourPhase > 80)
        ColourPhase = 0;
    SetTextColor(SurfaceDC, ColourCycling ? (COLORREF)RainbowColour(ColourPhase) : PLAIN_TEXT_COLOUR);

    RECT rect;
    GetClientRect(PanelWindow, &rect);
    rect.left += TEXT_INSET;
    rect.top += TEXT_INSET;
    DrawTextA(SurfaceDC, CurrentFrameText(), -1, &rect, 0);

    BitBlt(dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, SurfaceDC, 0, 0, SRCCOPY);
}
