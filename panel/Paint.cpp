/* Painting: every paint redraws the whole frame into the off-screen surface
 * and copies it to the window with one BitBlt, so no GDI object is made here.
 *
 * The text is drawn with format 0: top-left, lines broken only at the text's
 * own line ends, clipped, and an ampersand taken as a mnemonic prefix (a lone
 * one underlines the next character). No background mode is set, so the
 * surface's default (opaque white) applies. The text is wide, converted from
 * the frame's code page 932 bytes (JapaneseText.h), so it reads the same
 * whatever the system's code page. */
#include "Paint.h"

#include "Frames.h"
#include "Rainbow.h"
#include "Surface.h"

static const UINT FrameTextFormat = 0;

void DrawFrame(HDC surface, RECT client, const wchar_t *text, COLORREF colour)
{
    PatBlt(surface, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, WHITENESS);
    SetTextColor(surface, colour);
    client.left += TEXT_INSET;
    client.top += TEXT_INSET;
    DrawTextW(surface, text, -1, &client, FrameTextFormat);
}

SIZE MeasureFrame(HDC surface, const wchar_t *text)
{
    RECT rect = {0, 0, 0, 0};
    DrawTextW(surface, text, -1, &rect, FrameTextFormat | DT_CALCRECT);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

PanelPicture NextPicture(HWND window)
{
    Colour.Phase += RAINBOW_PHASE_STEP;
    if (Colour.Phase > RAINBOW_LAST_PHASE)
        Colour.Phase = 0;

    PanelPicture picture;
    picture.Surface = Surface.DC;
    GetClientRect(window, &picture.Client);
    picture.Text = CurrentFrameWide();
    picture.Colour = Colour.Cycling ? (COLORREF)RainbowColour(Colour.Phase) : PLAIN_TEXT_COLOUR;
    return picture;
}

void PaintPanel(HDC dc, const PanelPicture &picture)
{
    if (!picture.Text)
        return; // no memory to convert the frame: the window keeps its last picture
    DrawFrame(picture.Surface, picture.Client, picture.Text, picture.Colour);
    BitBlt(dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, picture.Surface, 0, 0, SRCCOPY);
}
