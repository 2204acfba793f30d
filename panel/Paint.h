/* Painting the panel: the frame on show, through the off-screen surface. */
#pragma once
#include "PanelState.h"

enum { TEXT_INSET = 8 }; // pixels from the left and the top of the client area

/* Draws the current frame through the surface into dc, stepping the colour
 * phase; makes no GDI object. */
void PaintPanel(HDC dc);
