/* The about box: the plug-in's version and the dance count, which follows
 * the dance while the box is open. Modal; its window is About.Window
 * (PanelState.h) while it stands. */
#pragma once
#include "PanelState.h"
#include "TuftlingVersion.h"

/* Shows the box, owned by the top-level window of `owner`, and returns when
 * it is closed. */
void ShowAbout(HWND owner);
/* Ends the box's loop if the box is open, and forgets it. */
void CloseAbout();
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
/* Shows Settings.Count in the box. */
void ShowCount(HWND dialog);
