/* The panel child window: its class, its window procedure (the single entry
 * point for painting, mouse input, menu commands and timers) and the colour
 * cycling that a middle click switches. */
#pragma once
#include <windows.h>

enum : UINT_PTR { TIMER_COLOUR = 10005 };
enum { COLOUR_TIMER_PERIOD = 200, PANEL_WIDTH = 200, PANEL_HEIGHT = 200, TEXT_INSET = 8 };

extern const char PanelClassName[]; // "Wendrake Plugin - TuftlingPanel"

extern HWND PanelWindow;
extern bool ColourCycling;
extern double ColourPhase;

bool CreatePanelWindow(HWND parent);
/* Destroys PanelWindow if present and retires the class with it. */
void DestroyPanelWindow();
LRESULT CALLBACK PanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* Draws the current frame through the surface into dc. */
void PaintPanel(HDC dc);
