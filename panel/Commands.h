/* Menu command ids, the about box and the commands they run. */
#pragma once
#include <windows.h>
#include <stdint.h>

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

/* Runs one command; `window` owns the about box and the clipboard. */
void PanelCommand(UINT id, HWND window);

int32_t SizeCommandToPoints(UINT id);
void CopyFrameToClipboard(HWND owner);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void ShowCount(HWND dialog);
