/* The context menu and the commands it sends: copy, font size, the two
 * switches of the animation and the about box. */
#pragma once
#include "PanelState.h"

enum : UINT {
    IDM_ABOUT = 20001,
    IDM_ALWAYS = 20002,
    IDM_NOHIDE = 20003,
    IDM_COPY = 20004,
    IDM_SIZE_SMALL = 20005,
    IDM_SIZE_MEDIUM = 20006,
    IDM_SIZE_LARGE = 20007,
};

/* Builds the context menu afresh, tracks it at the cursor for `owner` and
 * destroys it; the choice reaches the owner as WM_COMMAND. */
void ShowPanelMenu(HWND owner);
/* Ends the menu's loop if the menu is open. */
void CloseMenu();

/* Runs one command; `window` owns the about box and the clipboard. */
void PanelCommand(UINT id, HWND window);

/* The points of a size command: 7, 12, or 10 for any other id. */
int32_t SizeCommandToPoints(UINT id);
/* Puts the frame on show on the clipboard as CF_TEXT. */
void CopyFrameToClipboard(HWND owner);
