/* The context menu, the commands it sends, the copy to the clipboard and the
 * about box. The menu is built afresh every time it is shown, so its check
 * marks always show the switches as they stand. */
#include "Commands.h"

#include "Anim.h"
#include "Frames.h"
#include "Lifecycle.h"
#include "MenuLabels.h"
#include "PanelWindow.h"
#include "Settings.h"
#include "Surface.h"
#include "resources/resource.h"

#include <string.h>

enum { CLIPBOARD_BLOCK_BYTES = 1024, ABOUT_TEXT_BYTES = 100 };
enum { VERSION_MAJOR = 1, VERSION_MINOR = 5 };

void ShowPanelMenu(HWND owner)
{
    HMENU menu = CreatePopupMenu();
    HMENU sizes = CreatePopupMenu();
    AppendMenuA(sizes, MF_STRING, IDM_SIZE_LARGE, LABEL_SIZE_LARGE);
    AppendMenuA(sizes, MF_STRING, IDM_SIZE_MEDIUM, LABEL_SIZE_MEDIUM);
    AppendMenuA(sizes, MF_STRING, IDM_SIZE_SMALL, LABEL_SIZE_SMALL);

    AppendMenuA(menu, MF_STRING, IDM_COPY, LABEL_COPY);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, (UINT_PTR)sizes, LABEL_SIZE);
    AppendMenuA(menu, MF_STRING, IDM_ALWAYS, LABEL_ALWAYS);
    AppendMenuA(menu, MF_STRING, IDM_NOHIDE, LABEL_NOHIDE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, LABEL_ABOUT);

    if (Always)
        CheckMenuItem(menu, IDM_ALWAYS, MF_BYCOMMAND | MF_CHECKED);
    if (Hide == 0)
        CheckMenuItem(menu, IDM_NOHIDE, MF_BYCOMMAND | MF_CHECKED);

    // The cursor, not the message's position: the keyboard road shows the
    // menu at the mouse as well.
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    DestroyMenu(menu); // the size submenu goes with it
}

int32_t SizeCommandToPoints(UINT id)
{
    if (id == IDM_SIZE_SMALL)
        return 7;
    if (id == IDM_SIZE_LARGE)
        return 12;
    return 10;
}

void PanelCommand(UINT id, HWND window)
{
    switch (id) {
    case IDM_ABOUT:
        DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDialogProc, 0);
        break;
    case IDM_ALWAYS:
        Always = Always == 0 ? 1 : 0;
        AnimEvent(IDM_ALWAYS);
        break;
    case IDM_NOHIDE:
        Hide = Hide == 0 ? 1 : 0;
        AnimEvent(IDM_NOHIDE);
        break;
    case IDM_COPY:
        CopyFrameToClipboard(window);
        break;
    case IDM_SIZE_SMALL:
    case IDM_SIZE_MEDIUM:
    case IDM_SIZE_LARGE:
        Size = SizeCommandToPoints(id);
        CreatePanelFont(Size);
        InvalidateRect(PanelWindow, nullptr, FALSE);
        break;
    default:
        break;
    }
}

void CopyFrameToClipboard(HWND owner)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, CLIPBOARD_BLOCK_BYTES);
    if (!block)
        return;
    if (char *text = (char *)GlobalLock(block)) {
        // At most 1023 bytes: the zeroed rest keeps the text terminated.
        strncpy(text, CurrentFrameText(), CLIPBOARD_BLOCK_BYTES - 1);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block); // once handed over, the block is the clipboard's
    CloseClipboard();
}

void ShowCount(HWND dialog)
{
    char text[ABOUT_TEXT_BYTES];
    wsprintfA(text, "Count: %d", Count);
    SetDlgItemTextA(dialog, IDC_COUNT, text);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        AboutWindow = dialog;
        char text[ABOUT_TEXT_BYTES];
        wsprintfA(text, "TuftlingPanel  %d.%d", VERSION_MAJOR, VERSION_MINOR);
        SetDlgItemTextA(dialog, IDC_VERSION, text);
        ShowCount(dialog);
        return TRUE;
    }
    case WM_COMMAND: {
        WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            AboutWindow = nullptr;
            EndDialog(dialog, id);
        }
        return FALSE;
    }
    case WM_COUNT_CHANGED:
        ShowCount(dialog);
        return TRUE;
    case WM_DESTROY:
        // The box also goes when its owner, the panel window, is destroyed
        // while it is open; a later dance must not post to a dead handle.
        if (AboutWindow == dialog)
            AboutWindow = nullptr;
        return FALSE;
    }
    return FALSE;
}
