/* The panel child window, Panel.Window (PanelState.h): its class, its window
 * procedure (the single entry point for painting, mouse input, menu commands
 * and timers) and the colour cycling that a middle click switches. */
#pragma once
#include "PanelState.h"

enum : UINT_PTR { TIMER_COLOUR = 10005 };
enum { COLOUR_TIMER_PERIOD = 200, PANEL_WIDTH = 200, PANEL_HEIGHT = 200 };

extern const char PanelClassName[]; // "Wendrake Plugin - TuftlingPanel"

/* Makes the panel window, a child of `parent`; destroys the one there was. */
bool CreatePanelWindow(HWND parent);
/* Destroys Panel.Window if present and retires the class with it. */
void DestroyPanelWindow();
LRESULT CALLBACK PanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
